#include "platform/file_dialog_win.h"

#include <commdlg.h>

#include <cwchar>
#include <vector>

#include "platform/errors.h"
#include "platform/file_filter.h"
#include "platform/guarded.h"
#include "platform/scope_exit.h"
#include "platform/text_win.h"

namespace vn {

namespace {
struct OwnedDialog {
    HWND owner;
    HWND found = nullptr;
};

// The common dialog is a top-level window of this thread owned by the window it
// was given: "#32770", the class of every dialog box.
BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM param) {
    return Guarded(FALSE, [&] {
        auto& search = *reinterpret_cast<OwnedDialog*>(param);
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == search.owner &&
            std::wcscmp(className, L"#32770") == 0) {
            search.found = window;
            return FALSE;
        }
        return TRUE;
    });
}
} // namespace

void FileDialog::BringToFront() const {
    if (!showingOwner_) return;
    OwnedDialog search{showingOwner_};
    EnumThreadWindows(GetCurrentThreadId(), &FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) SetForegroundWindow(search.found);
}

bool FileDialog::ExecuteOpen(HWND owner) { return Execute(owner, false); }
bool FileDialog::ExecuteSave(HWND owner) { return Execute(owner, true); }

bool FileDialog::Execute(HWND owner, bool save) {
    std::u16string filter = FileDialogFilterList(Filter);
    std::vector<wchar_t> name(32768, L'\0');  // long paths fit
    FileName.copy(reinterpret_cast<char16_t*>(name.data()), std::min(FileName.size(), name.size() - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = Filter.empty() ? nullptr : W(filter);
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrTitle = Title.empty() ? nullptr : W(Title);
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : W(DefaultExt);
    ofn.Flags = Options | OFN_EXPLORER;

    showingOwner_ = owner;
    const auto shown = OnScopeExit([this]() noexcept { showingOwner_ = nullptr; });
    BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) {
        DWORD code = CommDlgExtendedError();
        if (code != 0) throw OSError(code, "The file dialog failed");
        return false;
    }
    FileName = U16(name.data());
    return true;
}

} // namespace vn
