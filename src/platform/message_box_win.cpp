#include "platform/message_box_win.h"

#include <commctrl.h>

#include "platform/text_win.h"

namespace vn {

void ShowInformationBox(HWND owner, const std::u16string& caption, const std::u16string& text) {
    MessageBoxW(owner, W(text), W(caption), MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

namespace {
using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// TaskDialogIndirect lives only in version 6 of the common controls; look it up so
// that a program without the manifest still starts.
TaskDialogIndirectFn TaskDialogFunction() {
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    return controls ? reinterpret_cast<TaskDialogIndirectFn>(
                          reinterpret_cast<void*>(GetProcAddress(controls, "TaskDialogIndirect")))
                    : nullptr;
}
} // namespace

RetryChoice ShowRetryChoiceBox(HWND owner, const std::u16string& caption, const std::u16string& text,
                               const std::u16string& goOnLabel) {
    if (auto taskDialog = TaskDialogFunction()) {
        const TASKDIALOG_BUTTON buttons[] = {{IDRETRY, L"Retry"}, {IDCONTINUE, W(goOnLabel)}};
        TASKDIALOGCONFIG config{};
        config.cbSize = sizeof(config);
        config.hwndParent = owner;
        config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
        config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
        config.pButtons = buttons;
        config.cButtons = ARRAYSIZE(buttons);
        config.nDefaultButton = IDRETRY;
        config.pszWindowTitle = W(caption);
        config.pszMainIcon = TD_WARNING_ICON;
        config.pszContent = W(text);
        int pressed = IDCANCEL;
        if (SUCCEEDED(taskDialog(&config, &pressed, nullptr, nullptr)))
            return pressed == IDRETRY ? RetryChoice::Retry : pressed == IDCONTINUE ? RetryChoice::GoOn : RetryChoice::Cancel;
    }
    switch (MessageBoxW(owner, W(text), W(caption),
                        MB_CANCELTRYCONTINUE | MB_DEFBUTTON2 | MB_ICONWARNING | MB_SETFOREGROUND)) {
    case IDTRYAGAIN: return RetryChoice::Retry;
    case IDCONTINUE: return RetryChoice::GoOn;
    default: return RetryChoice::Cancel;
    }
}

void ShowErrorCloseBox(HWND owner, const std::u16string& caption, const std::u16string& text) {
    if (auto taskDialog = TaskDialogFunction()) {
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
