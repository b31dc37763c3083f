#include "note/font_dialog_win.h"

#include <commdlg.h>

#include "note/editor_rules.h"
#include "platform/gdi_win.h"
#include "platform/guarded.h"
#include "platform/text_win.h"

namespace vn {
namespace {

// The program runs one font dialog at a time: a second Font button would otherwise
// open a dialog inside the first one's modal loop, and the first answer would be
// applied only after the second.
bool dialogRunning = false;
HWND openDialog = nullptr;

constexpr int kFaceBox = 0x470;  // cmb1, the dialog's list of faces

struct DialogState {
    HWND active;  // the window whose monitor the dialog goes on
    std::u16string shownFace;  // the face the dialog showed when it opened
};

void Place(HWND dialog, HWND active) {
    HMONITOR monitor = MonitorFromWindow(active ? active : dialog, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    RECT r{};
    if (!monitor || !GetMonitorInfoW(monitor, &info) || !GetWindowRect(dialog, &r)) return;
    const RECT& work = info.rcWork;
    const note::Point at = note::FontDialogPosition({work.left, work.top, work.right - work.left, work.bottom - work.top},
                                                    {r.right - r.left, r.bottom - r.top});
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT_PTR CALLBACK Hook(HWND dialog, UINT message, WPARAM, LPARAM lParam) noexcept {
    if (message != WM_INITDIALOG) return 0;
    Guarded([&] {
        openDialog = dialog;
        const auto* cf = reinterpret_cast<const CHOOSEFONTW*>(lParam);
        auto* state = reinterpret_cast<DialogState*>(cf->lCustData);
        wchar_t face[LF_FACESIZE] = {};
        GetDlgItemTextW(dialog, kFaceBox, face, LF_FACESIZE);
        state->shownFace = U16(face);
        Place(dialog, state->active);
    });
    return TRUE;
}

} // namespace

HWND OpenFontDialog() noexcept { return openDialog; }

std::optional<FontChoice> ChooseFontDialog(HWND owner, const FontChoice& initial) {
    if (dialogRunning) {
        if (openDialog) SetForegroundWindow(openDialog);
        return std::nullopt;
    }
    DialogState state{GetForegroundWindow(), {}};

    LOGFONTW lf{};
    const int dpi = ScreenPixelsPerInchY();
    lf.lfHeight = -MulDiv(initial.sizePoints, dpi, 72);
    lf.lfWeight = initial.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = initial.italic;
    lf.lfUnderline = initial.underline;
    lf.lfStrikeOut = initial.strikeOut;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, W(initial.name), LF_FACESIZE);

    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.iPointSize = initial.sizePoints * 10;
    cf.rgbColors = initial.color;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;
    cf.lpfnHook = &Hook;
    cf.lCustData = reinterpret_cast<LPARAM>(&state);

    dialogRunning = true;
    const BOOL confirmed = ChooseFontW(&cf);
    dialogRunning = false;
    openDialog = nullptr;
    // A quit posted while the dialog ran ends its loop; the quit must still end the
    // program's loop, and the dialog's answer counts as a cancel.
    MSG quit;
    if (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return std::nullopt;
    if (!confirmed) return std::nullopt;

    FontChoice chosen;
    chosen.name = U16(lf.lfFaceName);
    // A face the system does not list (the editor's Tahoma where it is missing) is
    // shown as another one; unless the person picked a face, the text keeps its own.
    if (chosen.name == state.shownFace && state.shownFace != initial.name) chosen.name = initial.name;
    chosen.sizePoints = cf.iPointSize > 0 ? cf.iPointSize / 10 : MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, 72, dpi);
    chosen.color = cf.rgbColors;
    chosen.bold = lf.lfWeight >= FW_BOLD;
    chosen.italic = lf.lfItalic != 0;
    chosen.underline = lf.lfUnderline != 0;
    chosen.strikeOut = lf.lfStrikeOut != 0;
    return chosen;
}

} // namespace vn
