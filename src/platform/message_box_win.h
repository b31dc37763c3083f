#pragma once
// The program's message boxes.
#include <windows.h>

#include <string>

namespace vn {

// Information icon, one OK button; returns when the user closes it.
void ShowInformationBox(HWND owner, const std::u16string& caption, const std::u16string& text);

// Error icon and one button labelled "Close" (a task dialog, which message boxes
// cannot do); where task dialogs are missing, a message box with OK.
void ShowErrorCloseBox(HWND owner, const std::u16string& caption, const std::u16string& text);

// A question after a failure: warning icon and three buttons, "Retry" (the
// default), one labelled `goOnLabel` and "Cancel". Where task dialogs are missing, a
// message box with Try Again, Continue and Cancel. Closing it answers Cancel.
enum class RetryChoice { Retry, GoOn, Cancel };
RetryChoice ShowRetryChoiceBox(HWND owner, const std::u16string& caption, const std::u16string& text,
                               const std::u16string& goOnLabel);

} // namespace vn
