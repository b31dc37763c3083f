#pragma once
// The common file-open and file-save dialogs, kept as objects with their settings
// so that a dialog is set up once and shown many times.
#include <windows.h>

#include <string>

namespace vn {

class FileDialog {
public:
    std::u16string Title;
    std::u16string Filter;      // "Description|*.ext|..." pairs
    std::u16string DefaultExt;  // without the dot
    std::u16string FileName;    // in: the proposed name; out: the chosen path
    DWORD Options = 0;          // OFN_* flags besides OFN_EXPLORER

    // Shows the dialog modally; true when the user chose a file (then in FileName).
    // False for Cancel; a dialog failure raises vn::OSError with the dialog's code.
    bool ExecuteOpen(HWND owner);
    bool ExecuteSave(HWND owner);
    // While the dialog is up (from a message handled inside its modal loop): brings
    // it to the front, as a second request for the same choice should.
    void BringToFront() const;

private:
    bool Execute(HWND owner, bool save);

    // The owner of the dialog on screen; null while none is.
    HWND showingOwner_ = nullptr;
};

} // namespace vn
