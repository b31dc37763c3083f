// High contrast on the note's chrome. Wine reports high contrast off and cannot
// switch it, so the tests pin the program's flag and send the setting's change as
// the system would; the system colours are set to ones no normal part uses.
#include <gtest/gtest.h>

#include <vector>

#include "note_test_fixture_win.h"
#include "platform/high_contrast_win.h"
#include "platform/scope_exit.h"
#include "screen_picture_win.h"

namespace vn::test {
namespace {

// A high-contrast scheme of distinct colours, each different from every colour the
// normal face uses.
constexpr int kIndexes[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE,  COLOR_BTNTEXT,
                            COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT};
constexpr COLORREF kScheme[] = {RGB(0, 0, 32),  RGB(255, 255, 0), RGB(16, 16, 64), RGB(0, 255, 255),
                                RGB(0, 160, 0), RGB(250, 0, 250), RGB(128, 64, 0)};

std::vector<COLORREF> AllPixels(HWND note) {
    const FaceShot face(note);
    RECT r{};
    GetClientRect(note, &r);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x) pixels.push_back(face.At(x, y));
    return pixels;
}

void SwitchHighContrast(HWND to, bool on) {
    PinHighContrastForTests(on);
    SendMessageW(to, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
}

bool WaitsForPaint(HWND h) { return GetUpdateRect(h, nullptr, FALSE) != FALSE; }

// The system's black high-contrast scheme, for the user guide's picture.
constexpr COLORREF kBlackScheme[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),  RGB(255, 255, 255),
                                     RGB(26, 235, 255), RGB(0, 0, 0),       RGB(63, 242, 63)};

// With VN_CONTRAST_PICTURE set (docs/make_test_pictures.sh), the note as the
// screen shows it, body and boxes included, in the black high-contrast scheme, as a
// 24-bit BMP file of that name. Returns false when the file cannot be written.
bool KeepPictureIfAsked(HWND note) {
    const char* path = PictureAskedFor("VN_CONTRAST_PICTURE");
    if (!path) return true;
    SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, kBlackScheme);
    SendMessageW(note, WM_SYSCOLORCHANGE, 0, 0);
    // Above the other note of the test for the moment of the picture.
    SetWindowPos(note, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    auto back = OnScopeExit([&] {
        SetWindowPos(note, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, kScheme);
        SendMessageW(note, WM_SYSCOLORCHANGE, 0, 0);
        PumpMessagesFor(50);
    });
    RedrawWindow(note, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessagesFor(300);
    RECT r{};
    GetWindowRect(note, &r);
    return KeepScreenPicture(path, r);
}

TEST_F(NoteWindowTest, HighContrastPaintsTheChromeInSystemColoursOnEveryNoteAndSwitchingBackRestoresEveryPixel) {
    COLORREF saved[std::size(kIndexes)];
    for (size_t i = 0; i < std::size(kIndexes); ++i) saved[i] = GetSysColor(kIndexes[i]);
    SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, kScheme);
    auto restore = OnScopeExit([&] {
        PinHighContrastForTests(std::nullopt);
        ReadHighContrast();
        SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, saved);
    });

    TargetProcess targets({u"Vn contrast target", u"Vn contrast second"});
    NotePtr note = NoteOn(targets.Window(0));
    NotePtr second = NoteOn(targets.Window(1));
    const HWND h = note->Handle();
    note->Editor().LoadBody(
        std::string("{\\rtf1{\\colortbl;\\red200\\green0\\blue0;}\\cf1 Call the plumber\\par\\cf0 Buy stamps\\par}"));
    const std::string body = note->Editor().SaveRtf();
    const int saves = host.saves;
    Mouse(h, WM_MOUSEMOVE, 12, 150);  // no button under the mouse
    PumpMessagesFor(50);
    const std::vector<COLORREF> normal = AllPixels(h);
    const std::vector<COLORREF> secondNormal = AllPixels(second->Handle());

    SwitchHighContrast(h, true);
    EXPECT_TRUE(WaitsForPaint(h));
    EXPECT_TRUE(WaitsForPaint(second->Handle())) << "one change repaints every note";
    PumpMessagesFor(50);
    const struct {
        const char* part;
        int x, y;
        int index;  // the system colour
    } parts[] = {
        {"background", 12, 150, COLOR_WINDOW},
        {"outline, left edge", 1, 137, COLOR_WINDOWTEXT},
        {"outline, bottom edge", 225, 273, COLOR_WINDOWTEXT},
        {"separator", 200, 113, COLOR_GRAYTEXT},
        {"button outline", 60, 80, COLOR_BTNTEXT},
        {"button top", 40, 81, COLOR_BTNFACE},
        {"button bottom", 40, 102, COLOR_BTNFACE},
        {"outside a button corner", 24, 80, COLOR_WINDOW},
        {"grip", 409, 219, COLOR_BTNFACE},
        {"grip frame", 407, 225, COLOR_BTNTEXT},
    };
    {
        const FaceShot face(h);
        for (const auto& p : parts)
            EXPECT_EQ(face.At(p.x, p.y), GetSysColor(p.index)) << p.part << ": " << std::hex << face.At(p.x, p.y);
    }
    Mouse(h, WM_MOUSEMOVE, 130, 90);
    EXPECT_EQ(FaceShot(h).At(107, 81), GetSysColor(COLOR_HIGHLIGHT)) << "the button under the mouse";
    EXPECT_EQ(FaceShot(h).At(107, 102), GetSysColor(COLOR_HIGHLIGHT));
    Mouse(h, WM_MOUSEMOVE, 12, 150);
    EXPECT_EQ(FaceShot(second->Handle()).At(12, 150), GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(KeepPictureIfAsked(h));

    // The system colours change while high contrast is on: the chrome follows.
    const int window = COLOR_WINDOW;
    const COLORREF other = RGB(40, 0, 0);
    SetSysColors(1, &window, &other);
    SendMessageW(h, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(FaceShot(h).At(12, 150), other);
    SetSysColors(1, &window, &kScheme[0]);
    SendMessageW(h, WM_SYSCOLORCHANGE, 0, 0);

    SwitchHighContrast(h, false);
    EXPECT_TRUE(WaitsForPaint(second->Handle()));
    PumpMessagesFor(50);
    EXPECT_TRUE(AllPixels(h) == normal) << "switching back gives exactly the old pixels";
    EXPECT_TRUE(AllPixels(second->Handle()) == secondNormal);

    // The body is the person's: not touched, not saved again.
    EXPECT_EQ(note->Editor().SaveRtf(), body);
    EXPECT_EQ(host.saves, saves);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

} // namespace
} // namespace vn::test
