#include "platform/file_dialog_win.h"

#include <commdlg.h>

#include <vector>

#include "platform/errors.h"
#include "platform/file_filter.h"
#include "platform/text_win.h"

namespace vn {

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
