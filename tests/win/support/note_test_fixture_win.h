#pragma once
// Shared pieces of the note window tests: a recording controller, a tile picture in
// a folder of the test's own, steady cursor moves and mouse messages, and readers of
// the window's region and drawn face.
#include "note/sticky_note_win.h"

#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/note_list.h"
#include "attach/identity_win.h"
#include "attach/note_placement.h"
#include "attach/window_system_win.h"
#include "note/font_dialog_win.h"
#include "note/note_host.h"
#include "note/note_time_win.h"
#include "platform/errors.h"
#include "platform/gdi_win.h"
#include "platform/guarded.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"

#include "target_process_win.h"
#include "test_note_host_win.h"

namespace vn::test {

class RecordingHost : public TestNoteHost {
public:
    bool SelectingCaptureWindow() const override { return selecting; }
    void SetSaveChangePending() override { ++saves; }
    void ExportJotlets() override {
        ++exports;
        if (onExport) onExport();
    }
    void ImportStickyNote() override { ++imports; }

    bool selecting = false;
    int saves = 0;
    int exports = 0;
    int imports = 0;
    std::function<void()> onExport;
};

using NotePtr = std::unique_ptr<TFStickyNote>;

inline constexpr COLORREF kPictureColor = RGB(255, 0, 0);

// Writes a PNG of one colour, larger than the tile, with GDI+'s own encoder.
inline void WritePng(const std::filesystem::path& file, int width, int height) {
    using namespace Gdiplus;
    static ULONG_PTR token = [] {
        ULONG_PTR t = 0;
        GdiplusStartupInput input;
        GdiplusStartup(&t, &input, nullptr);
        return t;
    }();
    (void)token;
    GpBitmap* bitmap = nullptr;
    ASSERT_EQ(DllExports::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap), Ok);
    GpGraphics* graphics = nullptr;
    DllExports::GdipGetImageGraphicsContext(bitmap, &graphics);
    DllExports::GdipGraphicsClear(graphics, 0xFFFF0000);
    DllExports::GdipDeleteGraphics(graphics);
    const CLSID png{0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    EXPECT_EQ(DllExports::GdipSaveImageToFile(bitmap, file.wstring().c_str(), &png, nullptr), Ok);
    DllExports::GdipDisposeImage(bitmap);
}

// Every test runs in a folder of its own holding a tile picture.
class TileFolder {
public:
    explicit TileFolder(const char* name, bool withPicture = true)
        : saved_(std::filesystem::current_path()), dir_(std::filesystem::temp_directory_path() / name) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        if (withPicture) WritePng(dir_ / "hig.png", 120, 140);
        std::filesystem::current_path(dir_);
    }
    ~TileFolder() { std::filesystem::current_path(saved_); }
    const std::filesystem::path& Path() const { return dir_; }

private:
    std::filesystem::path saved_;
    std::filesystem::path dir_;
};

// Puts the cursor at (x, y) and keeps it there until the next call or the end of the
// test. Under Wine a cursor move reaches the display asynchronously, and Wine takes
// the display's reports of earlier moves whenever it next reads the display's events,
// also in the middle of a later message: on a loaded machine the report of an earlier
// point came in after the cursor had been put elsewhere and moved it back, and a drag
// read that old point (37 px instead of 38). Confined to the one point, the cursor
// takes every late report there.
inline void PutCursor(int x, int y) {
    const RECT point{x, y, x + 1, y + 1};
    ClipCursor(&point);
    SetCursorPos(x, y);
    POINT p{};
    GetCursorPos(&p);
    if (p.x != x || p.y != y) ADD_FAILURE() << "the cursor is not at " << x << "," << y;
}

// A target caption no earlier test (or earlier repeat) used: the window of a target
// program that has just ended may linger a moment under its title.
inline std::u16string UniqueCaption(const std::u16string& base) {
    static int next = 0;
    const std::string n = std::to_string(++next);
    return base + u" " + std::u16string(n.begin(), n.end());
}

inline bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class NoteWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetApplicationExceptionHandler([this](std::exception_ptr e) {
            try {
                std::rethrow_exception(e);
            } catch (const std::exception& x) {
                errors.push_back(x.what());
            } catch (...) {
                errors.push_back("?");
            }
        });
    }
    void TearDown() override {
        ClipCursor(nullptr);  // PutCursor's point
        SetApplicationExceptionHandler({});
    }

    TileFolder folder{"vn-note-window-test"};

    // A note on `target` as the controller makes one for a picked window.
    NotePtr NoteOn(HWND target) {
        auto note = std::make_unique<TFStickyNote>(host, target);
        PlaceNoteOnPickedWindow(TheWindowSystem(), ToWindowId(target), note->AsNewWindow());
        note->Show();
        PumpMessagesFor(50);
        return note;
    }
    // The same note handed to a note list, as the controller keeps it: a closed note
    // asks the list to free it, and `removed` records the notes that asked.
    TFStickyNote& ListedNoteOn(HWND target) {
        NotePtr note = NoteOn(target);
        TFStickyNote& listed = *note;
        notes.Add(std::move(note));
        return listed;
    }

    RecordingHost host;
    std::vector<std::string> errors;
    std::vector<const Jotlet*> removed;
    NoteList notes{[this](Jotlet& note) { removed.push_back(&note); }};
};

inline RECT WindowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

// The window region is the rounded rectangle (0, 0, W + 2, H + 2) with e x e corners
// (W + 3, H + 3 at 150 %: `oversize`).
inline bool RegionIs(HWND h, int width, int height, int e, int oversize = 2) {
    HRGN expected = CreateRoundRectRgn(0, 0, width + oversize, height + oversize, e, e);
    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    // Compared by area: the system may split the same region into other rectangles.
    HRGN difference = CreateRectRgn(0, 0, 0, 0);
    const bool same = GetWindowRgn(h, actual) != ERROR &&
                      CombineRgn(difference, expected, actual, RGN_XOR) == NULLREGION;
    DeleteObject(difference);
    DeleteObject(actual);
    DeleteObject(expected);
    return same;
}
inline bool RegionIs(HWND h, int width, int height) {
    return RegionIs(h, width, height, note::RegionEllipse({width, height}));
}

inline bool RegionContains(HWND h, int x, int y) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool inside = GetWindowRgn(h, region) != ERROR && PtInRegion(region, x, y);
    DeleteObject(region);
    return inside;
}

inline bool Layered(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

inline HWND Child(HWND parent, const wchar_t* cls) { return FindWindowExW(parent, nullptr, cls, nullptr); }

// A mouse message at a point of the note's client area. For a press or a move the
// cursor is put there first: the note reads the cursor itself for dragging and
// resizing. A release leaves the cursor where it is, since moving it would drag.
inline void Mouse(HWND note, UINT message, int x, int y) {
    const bool release = message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
    if (!release) {
        POINT p{x, y};
        ClientToScreen(note, &p);
        PutCursor(p.x, p.y);
    }
    WPARAM keys = message == WM_RBUTTONDOWN ? MK_RBUTTON : message == WM_MBUTTONDOWN ? MK_MBUTTON : MK_LBUTTON;
    if (release) keys = 0;
    SendMessageW(note, message, keys, MAKELPARAM(x, y));
}

inline void MoveCursorTo(HWND note, int x, int y) { Mouse(note, WM_MOUSEMOVE, x, y); }

// The face as the note draws it, read back from a memory bitmap.
class FaceShot {
public:
    explicit FaceShot(HWND note) : bitmap_(Bitmap(note)), selected_(dc_.get(), bitmap_.get()) {
        SendMessageW(note, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.get()), PRF_CLIENT);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }

private:
    static HBITMAP Bitmap(HWND note) {
        RECT r;
        GetClientRect(note, &r);
        const WindowDc screen(nullptr);
        return CreateCompatibleBitmap(screen.Get(), r.right, r.bottom);
    }

    UniqueMemoryDc dc_{CreateCompatibleDC(nullptr)};
    UniqueBitmap bitmap_;
    ScopedSelectObject selected_;
};

// Runs `action` with the font dialog once it is open, from inside its modal loop.
class WhileFontDialogOpen {
public:
    explicit WhileFontDialogOpen(std::function<void(HWND dialog)> action) {
        action_ = std::move(action);
        timer_ = SetTimer(nullptr, 0, 20, &Tick);
    }
    ~WhileFontDialogOpen() {
        KillTimer(nullptr, timer_);
        action_ = nullptr;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = OpenFontDialog();
        if (!dialog || !action_ || !IsWindowVisible(dialog)) return;
        auto action = std::move(action_);
        action_ = nullptr;
        action(dialog);
    }
    static inline std::function<void(HWND)> action_;
    UINT_PTR timer_ = 0;
};

} // namespace vn::test
