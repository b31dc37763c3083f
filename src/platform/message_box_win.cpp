#include "platform/message_box_win.h"

#include <commctrl.h>

#include "platform/text_win.h"

namespace vn {

void ShowInformationBox(HWND owner, const std::u16string& caption, const std::u16string& text) {
    MessageBoxW(owner, W(text), W(caption), MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

void ShowErrorCloseBox(HWND owner, const std::u16string& caption, const std::u16string& text) {
    // TaskDialogIndirect lives only in version 6 of the common controls; look it up
    // so that a program without the manifest still starts.
    using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    auto taskDialog = controls ? reinterpret_cast<TaskDialogIndirectFn>(
                                     reinterpret_cast<void*>(GetProcAddress(controls, "TaskDialogIndirect")))
                               : nullptr;
    if (taskDialog) {
        TASKDIALOGCONFIG config{};
        config.cbSize = sizeof(config);
        config.hwndParent = owner;
        config.dwCommonButtons = TDCBF_CLOSE_BUTTON;
        config.pszWindowTitle = W(caption);
        config.pszMainIcon = TD_ERROR_ICON;
        config.pszContent = W(text);
        if (SUCCEEDED(taskDialog(&config, nullptr, nullptr, nullptr))) return;
    }
    MessageBoxW(owner, W(text), W(caption), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

} // namespace vn
