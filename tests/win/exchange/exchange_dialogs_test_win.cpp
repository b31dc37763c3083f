// The export and import dialogs with the real list view under Wine: the cells, the
// header check box, ticking with the keyboard, rows of notes that went meanwhile,
// the button rules, and how long the dialogs take to open with 1,000 notes
// (the child role "exchange-dialog-timing", used by bench/exchange_bench.sh).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/information_window_win.h"
#include "child_roles_win.h"
#include "dpi_support_win.h"
#include "exchange/export_dialog_win.h"
#include "exchange/import_dialog_win.h"
#include "note/jotlet.h"
#include "platform/gdi_win.h"
#include "platform/guarded.h"
#include "platform/high_contrast_win.h"
#include "platform/scope_exit.h"
#include "platform/text_codec.h"
#include "platform/theme_win.h"
#include "store/store_note.h"
#include "windowless_jotlet.h"

namespace vn::test {
namespace {

// A listed note as the export dialog reads it.
class ListedNote final : public WindowlessJotlet, public StoreNote {
public:
    explicit ListedNote(int n) : n_(n) {}
    std::u16string ExeName() const override { return u"notepad.exe"; }
    std::u16string Caption() const override { return u"n" + DecodeUtf8(std::to_string(n_)) + u".txt - Notepad"; }
    std::u16string OwnerLabel() const override { return u"PC-" + DecodeUtf8(std::to_string(n_)); }
    std::u16string TimeLabel() const override { return u"1/2/2024"; }
    void SetOwnerLabel(const std::u16string&) override {}
    void SetTimeLabel(const std::u16string&) override {}
    std::string SaveBody() override { return {}; }
    void LoadBody(const BodyFile&) override {}
    std::u16string CheckStateString() const override { return {}; }
    void SetPendingCheckStates(const std::u16string&) override {}
    void RestoreLayoutAfterFill() override {}
    void SetRemovalNotice(RemovalNotice) override {}
    bool HandlerRunning() const noexcept override { return false; }
    void Hide() override {}
    void Close() override {}
    StoreNote& Stored() noexcept override { return *this; }

private:
    int n_;
};

std::vector<std::unique_ptr<ListedNote>> MakeNotes(int count, std::vector<Jotlet*>& list) {
    std::vector<std::unique_ptr<ListedNote>> notes;
    for (int i = 0; i < count; ++i) {
        notes.push_back(std::make_unique<ListedNote>(i));
        list.push_back(notes.back().get());
    }
    return notes;
}

// Runs `steps` once the modal dialog shows (a thread timer fires inside its loop),
// then closes it with the frame's close box.
void WhileShowing(HWND dialog, std::function<void()> steps) {
    static std::function<void()> pending;
    static HWND target;
    pending = std::move(steps);
    target = dialog;
    SetTimer(nullptr, 0, USER_TIMER_MINIMUM, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        Guarded([] { pending(); });
        PostMessageW(target, WM_CLOSE, 0, 0);
    });
}

std::wstring CellText(HWND list, int row, int column) {
    wchar_t text[256] = {};
    ListView_GetItemText(list, row, column, text, 256);
    return text;
}

bool Enabled(HWND dialog, const wchar_t* caption) {
    return IsWindowEnabled(FindWindowExW(dialog, nullptr, L"Button", caption)) != FALSE;
}

void HeaderRelease(HWND list, UINT down, UINT up, int x) {
    HWND header = ListView_GetHeader(list);
    RECT r{};
    Header_GetItemRect(header, 0, &r);
    LPARAM at = MAKELPARAM(r.left + x, (r.top + r.bottom) / 2);
    SendMessageW(header, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, at);
    SendMessageW(header, up, 0, at);
}

TEST(ZipExchangeDialogs, TheExportListReadsTheNotesAndFollowsTheHeaderAndTheSpaceBar) {
    std::vector<Jotlet*> list;
    auto notes = MakeNotes(4, list);
    std::vector<std::u16string> deleted;
    TDlgExport dialog({[&]() -> const std::vector<Jotlet*>& { return list; },
                       [&](const std::u16string& index) { deleted.push_back(index); },
                       [](const std::u16string&, const std::u16string&) {}, u"C:\\data\\"});
    HWND view = dialog.List();
    bool ran = false;
    WhileShowing(dialog.Handle(), [&] {
        ran = true;
        EXPECT_EQ(ListView_GetItemCount(view), 4);
        EXPECT_EQ(CellText(view, 2, 1), L"notepad.exe - n2.txt - Notepad");
        EXPECT_EQ(CellText(view, 2, 2), L"PC-2");
        EXPECT_EQ(CellText(view, 2, 3), L"1/2/2024");
        EXPECT_EQ(CellText(view, 2, 0), L"");
        int order[4] = {};
        ListView_GetColumnOrderArray(view, 4, order);
        EXPECT_EQ(order[3], 0) << "the check column shows last";
        RECT header{};
        GetWindowRect(ListView_GetHeader(view), &header);
        EXPECT_EQ(header.bottom - header.top, 30);
        EXPECT_FALSE(Enabled(dialog.Handle(), L"Export"));
        EXPECT_FALSE(Enabled(dialog.Handle(), L"Delete"));

        // The space bar on the focused row ticks it, as a click on its box does.
        SetFocus(view);
        ListView_SetItemState(view, 1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        SendMessageW(view, WM_KEYDOWN, VK_SPACE, 0);
        SendMessageW(view, WM_KEYUP, VK_SPACE, 0);
        EXPECT_TRUE(dialog.Rows().Checked(1));
        EXPECT_EQ(ListView_GetItemState(view, 1, LVIS_STATEIMAGEMASK) >> 12, 2u);
        EXPECT_TRUE(Enabled(dialog.Handle(), L"Export"));
        EXPECT_TRUE(Enabled(dialog.Handle(), L"Delete"));

        // A right release over the check column copies the unticked header box.
        HeaderRelease(view, WM_RBUTTONDOWN, WM_RBUTTONUP, 18);
        EXPECT_FALSE(dialog.Rows().AnyChecked());
        EXPECT_FALSE(Enabled(dialog.Handle(), L"Export"));
        // A left click on the box ticks it and every row; beside the box it only copies.
        HeaderRelease(view, WM_LBUTTONDOWN, WM_LBUTTONUP, 18);
        EXPECT_TRUE(dialog.Rows().HeaderChecked());
        EXPECT_EQ(dialog.Rows().CheckedIndexString(list), u"0|1|2|3");
        HeaderRelease(view, WM_LBUTTONDOWN, WM_LBUTTONUP, 2);
        EXPECT_TRUE(dialog.Rows().HeaderChecked());

        // A note that goes meanwhile leaves an empty, unticked row; positions follow the list.
        list.erase(list.begin() + 1);
        dialog.NoteRemoved(notes[1].get());
        EXPECT_EQ(CellText(view, 1, 1), L"");
        EXPECT_EQ(ListView_GetItemState(view, 1, LVIS_STATEIMAGEMASK) >> 12, 1u);
        EXPECT_EQ(dialog.Rows().CheckedIndexString(list), u"0|1|2");
    });
    dialog.Execute();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(IsWindowVisible(dialog.Handle())) << "the close box ends the dialog";
    EXPECT_TRUE(deleted.empty());

    // The next showing unticks every row but keeps the header box.
    list.insert(list.begin() + 1, notes[1].get());
    WhileShowing(dialog.Handle(), [&] {
        EXPECT_FALSE(dialog.Rows().AnyChecked());
        EXPECT_TRUE(dialog.Rows().HeaderChecked());
        EXPECT_EQ(CellText(view, 1, 1), L"notepad.exe - n1.txt - Notepad");
    });
    dialog.Execute();
}

TEST(ZipExchangeDialogs, TheImportListShowsTheIndexLinesAndStickToWindowNeedsOneSelectedRow) {
    std::vector<std::u16string> stuck;
    TDlgImport dialog({[](const std::u16string&) {
                           return std::vector<std::u16string>{
                               u"notepad.exe|b.txt - Notepad=PC-1|3/4/2024|Temp Export\\1.txt|10",
                               u"notepad.exe|a.txt - Notepad=PC-1|1/2/2024|..\\..\\secret.txt|1"};
                       },
                       [&](const ImportRecord& record) { stuck.push_back(record.valuePart); }});
    HWND view = dialog.List();
    WhileShowing(dialog.Handle(), [&] {
        EXPECT_EQ(ListView_GetItemCount(view), 2);
        EXPECT_EQ(CellText(view, 0, 0), L"notepad.exe|b.txt - Notepad");
        EXPECT_EQ(CellText(view, 0, 1), L"PC-1");
        EXPECT_EQ(CellText(view, 0, 2), L"3/4/2024");
        EXPECT_FALSE(Enabled(dialog.Handle(), L"Stick to Window"));
        for (int row : {0, 1}) {
            ListView_SetItemState(view, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
            EXPECT_TRUE(Enabled(dialog.Handle(), L"Stick to Window"));
            SendMessageW(dialog.Handle(), WM_COMMAND, MAKEWPARAM(101, BN_CLICKED),
                         reinterpret_cast<LPARAM>(FindWindowExW(dialog.Handle(), nullptr, L"Button", L"Stick to Window")));
        }
        ListView_SetItemState(view, -1, 0, LVIS_SELECTED);
        EXPECT_FALSE(Enabled(dialog.Handle(), L"Stick to Window"));
    });
    dialog.OpenJotletsImportFile(u"C:\\any.vnx");
    // The row whose body lies outside Temp Export started no picking.
    EXPECT_EQ(stuck, (std::vector<std::u16string>{u"PC-1|3/4/2024|Temp Export\\1.txt|10"}));
}

TEST(ZipExchangeDialogs, AtAnotherScaleTheDialogsScaleTheirLayoutFontsAndColumnsAndFollowAMoveToAnotherScale) {
    auto unpin = OnScopeExit([] { PinDpiForTests(std::nullopt); });
    PinDpiForTests(144);
    std::vector<Jotlet*> list;
    auto notes = MakeNotes(3, list);
    TDlgExport exportDialog({[&]() -> const std::vector<Jotlet*>& { return list; }, [](const std::u16string&) {},
                             [](const std::u16string&, const std::u16string&) {}, u"C:\\data\\"});
    TDlgImport importDialog({[](const std::u16string&) { return std::vector<std::u16string>{}; },
                             [](const ImportRecord&) {}});
    struct Control {
        const wchar_t* caption;  // a button's, or null for the list
        RECT at96;
    };
    const struct {
        HWND dialog, list;
        std::vector<Control> controls;
        std::vector<int> columns96;
    } dialogs[] = {
        {exportDialog.Handle(), exportDialog.List(),
         {{L"Close", {770, 422, 845, 447}}, {L"Export", {681, 422, 756, 447}}, {L"Delete", {384, 422, 459, 447}},
          {nullptr, {24, 48, 845, 401}}},
         {37, 480, 150, 150}},
        {importDialog.Handle(), importDialog.List(),
         {{L"Close", {770, 422, 845, 447}}, {L"Stick to Window", {657, 422, 757, 447}}, {nullptr, {24, 48, 845, 401}}},
         {500, 150, 150}},
    };
    std::vector<LONG> fontAt96;
    // Made at 150 %, moved to 200 % and back to 100 %, where everything is as it always was.
    for (int dpi : {144, 192, 96}) {
        if (dpi != 144)
            for (const auto& d : dialogs) MoveToDpi(d.dialog, dpi);
        const auto s = [dpi](LONG v) { return static_cast<LONG>(ScaleForDpi(static_cast<int>(v), dpi)); };
        for (const auto& d : dialogs) {
            SCOPED_TRACE(testing::Message() << dpi << " DPI, " << (d.dialog == exportDialog.Handle() ? "export" : "import"));
            RECT client{};
            GetClientRect(d.dialog, &client);
            EXPECT_EQ(Edges(client), (std::vector<LONG>{0, 0, s(873), s(468)}));
            for (const Control& c : d.controls) {
                HWND control = c.caption ? FindWindowExW(d.dialog, nullptr, L"Button", c.caption) : d.list;
                EXPECT_EQ(Edges(ChildRect(control)),
                          (std::vector<LONG>{s(c.at96.left), s(c.at96.top), s(c.at96.right), s(c.at96.bottom)}))
                    << (c.caption ? "" : "the list");
            }
            for (size_t i = 0; i < d.columns96.size(); ++i)
                EXPECT_EQ(ListView_GetColumnWidth(d.list, static_cast<int>(i)), s(d.columns96[i])) << "column " << i;
            EXPECT_EQ(Edges(ChildRect(ListView_GetHeader(d.list))).at(3), s(30)) << "the header's height";
            if (dpi == 96) fontAt96.push_back(FontHeight(d.list));
        }
    }
    // The fonts were made for each scale: at 150 % half as high again as at 100 %.
    MoveToDpi(exportDialog.Handle(), 144);
    ASSERT_FALSE(fontAt96.empty());
    EXPECT_EQ(FontHeight(exportDialog.List()), MulDiv(fontAt96.front(), 144, 96));
    EXPECT_EQ(FontHeight(FindWindowExW(exportDialog.Handle(), nullptr, L"Button", L"Close")),
              MulDiv(fontAt96.front(), 144, 96));

    // The header's box is hit at its scaled size: at 150 % the 56-px column holds a
    // 20-px box at 18 with 3 px of slack, so 16 ticks (a 13-px box would not be hit
    // there), and 3 and 42 are beside it.
    bool ran = false;
    WhileShowing(exportDialog.Handle(), [&] {
        ran = true;
        const HWND view = exportDialog.List();
        for (int beside : {3, 42}) {
            HeaderRelease(view, WM_LBUTTONDOWN, WM_LBUTTONUP, beside);
            EXPECT_FALSE(exportDialog.Rows().HeaderChecked()) << beside;
        }
        HeaderRelease(view, WM_LBUTTONDOWN, WM_LBUTTONUP, 16);
        EXPECT_TRUE(exportDialog.Rows().HeaderChecked());
        EXPECT_EQ(exportDialog.Rows().CheckedIndexString(list), u"0|1|2");
    });
    exportDialog.Execute();
    EXPECT_TRUE(ran);
}

TEST(ZipExchangeDialogs, ThePromptScalesItsMarginsIconAndFontAndFollowsAMoveToAnotherScale) {
    auto unpin = OnScopeExit([] { PinDpiForTests(std::nullopt); });
    std::vector<LONG> fontHeights;
    auto expectAt = [&](const InformationWindow& prompt, int dpi) {
        SCOPED_TRACE(dpi);
        const int margin = ScaleForDpi(12, dpi), icon = MulDiv(GetSystemMetrics(SM_CXICON), dpi, 96);
        EXPECT_EQ(Edges(ChildRect(prompt.Icon())), (std::vector<LONG>{margin, margin, margin + icon, margin + icon}));
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(prompt.Icon(), STM_GETICON, 0, 0)), &info));
        BITMAP picture{};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(picture), &picture);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        EXPECT_EQ(picture.bmWidth, icon) << "the icon is drawn at its size, not stretched";
        const RECT label = ChildRect(prompt.Label());
        EXPECT_EQ(label.left, margin + icon + margin);
        RECT client{};
        GetClientRect(prompt.Handle(), &client);
        EXPECT_EQ(client.right, label.right + margin);
        EXPECT_EQ(client.bottom, margin + std::max<LONG>(icon, label.bottom - label.top) + margin + ScaleForDpi(8, dpi));
        fontHeights.push_back(FontHeight(prompt.Label()));
    };
    PinDpiForTests(144);
    InformationWindow prompt(nullptr, u"Vantory Note", u"Click on the window to stick the note to");
    expectAt(prompt, 144);
    MoveToDpi(prompt.Handle(), 96);
    expectAt(prompt, 96);
    ASSERT_EQ(fontHeights.size(), 2u);
    EXPECT_EQ(fontHeights[0], MulDiv(fontHeights[1], 144, 96));
}

// The colours a dialog hands out: its background, and the text and background of
// a label (WM_CTLCOLORSTATIC), read back from a memory device context.
struct DialogColours {
    COLORREF erased, labelText, labelBack;
    bool operator==(const DialogColours&) const = default;
};

DialogColours ColoursOf(HWND window) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const WindowDc screen(nullptr);  // a memory DC's own bitmap would be monochrome
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), 4, 4));
    ScopedSelectObject selected(dc.get(), bitmap.get());
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    DialogColours c{GetPixel(dc.get(), 1, 1), 0, 0};
    SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), 0);
    c.labelText = GetTextColor(dc.get());
    c.labelBack = GetBkColor(dc.get());
    return c;
}

TEST(ZipExchangeDialogs, HighContrastGivesTheDialogsAndThePromptTheSystemColoursAndSwitchingBackTheTheme) {
    // A theme of colours the system does not use, so the switch shows.
    Theme theme;
    for (size_t i = 0; i < theme.colors.size(); ++i) theme.colors[i] = Rgb{200, static_cast<std::uint8_t>(10 * i), 90};
    theme.fontName = u"Tahoma";
    UseTheme(theme);
    auto restore = OnScopeExit([] {
        PinHighContrastForTests(std::nullopt);
        ReadHighContrast();
        UseTheme(std::nullopt);
    });
    const auto themed = [&](ThemeRole role) { return ToColorRef(theme.Color(role)); };

    TDlgImport dialog({[](const std::u16string&) { return std::vector<std::u16string>{}; },
                       [](const ImportRecord&) {}});
    InformationWindow prompt(nullptr, u"Vantory Note", u"Some information");
    const HWND view = dialog.List();
    WhileShowing(dialog.Handle(), [&] {
        const DialogColours themeLook{themed(ThemeRole::Window), themed(ThemeRole::WindowText),
                                      themed(ThemeRole::Window)};
        const DialogColours systemLook{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT),
                                       GetSysColor(COLOR_BTNFACE)};
        for (bool on : {true, false}) {
            SCOPED_TRACE(on ? "on" : "off");
            UpdateWindow(prompt.Handle());
            PinHighContrastForTests(on);
            SendMessageW(dialog.Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
            EXPECT_TRUE(GetUpdateRect(prompt.Handle(), nullptr, FALSE)) << "one change repaints every window";
            for (HWND window : {dialog.Handle(), prompt.Handle()}) {
                const DialogColours c = ColoursOf(window);
                EXPECT_TRUE(c == (on ? systemLook : themeLook))
                    << std::hex << c.erased << " " << c.labelText << " " << c.labelBack;
            }
            EXPECT_EQ(ListView_GetBkColor(view), on ? GetSysColor(COLOR_WINDOW) : themed(ThemeRole::Edit));
            EXPECT_EQ(ListView_GetTextColor(view), on ? GetSysColor(COLOR_WINDOWTEXT) : themed(ThemeRole::EditText));
        }
    });
    dialog.OpenJotletsImportFile(u"C:\\any.vnx");
}

// vn_win_tests.exe --child exchange-dialog-timing [NOTES] [SHOWINGS]: milliseconds
// from showing each dialog to its first painted state, the first showing (a fresh
// process: classes, fonts) and the median of the later ones, as JSON.
int DialogTiming(int argc, wchar_t** argv) {
    const int count = argc > 0 ? _wtoi(argv[0]) : 1000;
    const int showings = argc > 1 ? std::max(2, _wtoi(argv[1])) : 6;
    std::vector<Jotlet*> list;
    auto notes = MakeNotes(count, list);
    std::vector<std::u16string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(u"notepad.exe|n" + DecodeUtf8(std::to_string(i)) + u".txt - Notepad=PC-1|1/2/2024|Temp Export\\" +
                        DecodeUtf8(std::to_string(i)) + u".txt|10");
    using Clock = std::chrono::steady_clock;
    // Timer messages come after the paint messages: the first tick finds the dialog drawn.
    auto time = [](HWND dialog, const std::function<void()>& show) {
        const auto start = Clock::now();
        double ms = 0;
        WhileShowing(dialog, [&] { ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count(); });
        show();
        return ms;
    };
    auto summary = [](std::vector<double> ms) {
        const double first = ms.front();
        ms.erase(ms.begin());
        std::sort(ms.begin(), ms.end());
        char text[96];
        std::snprintf(text, sizeof(text), "{\"first\": %.1f, \"median_later\": %.1f}", first, ms[ms.size() / 2]);
        return std::string(text);
    };
    TDlgExport exportDialog({[&]() -> const std::vector<Jotlet*>& { return list; }, [](const std::u16string&) {},
                             [](const std::u16string&, const std::u16string&) {}, u"C:\\data\\"});
    TDlgImport importDialog({[&](const std::u16string&) { return lines; }, [](const ImportRecord&) {}});
    std::vector<double> exportMs, importMs;
    for (int i = 0; i < showings; ++i) {
        exportMs.push_back(time(exportDialog.Handle(), [&] { exportDialog.Execute(); }));
        importMs.push_back(time(importDialog.Handle(), [&] { importDialog.OpenJotletsImportFile(u"C:\\any.vnx"); }));
    }
    std::printf("{\"notes\": %d, \"export_dialog_ms\": %s, \"import_dialog_ms\": %s}\n", count,
                summary(exportMs).c_str(), summary(importMs).c_str());
    std::fflush(stdout);
    return 0;
}

const bool registered = RegisterChildRole(L"exchange-dialog-timing", DialogTiming);

} // namespace
} // namespace vn::test
