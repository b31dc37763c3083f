#include "app/startup_win.h"

#include <windows.h>

#include "app/app_texts.h"
#include "platform/high_contrast_win.h"
#include "platform/message_box_win.h"
#include "platform/theme_win.h"

namespace vn {

void ReportAlreadyRunning() {
    MessageBeep(MB_OK);
    ShowInformationBox(nullptr, kApplicationTitle, kAlreadyRunningText);
}

void ApplyProgramTheme() {
    ReadHighContrast();  // the look of the program's windows follows the system's setting
    if (!ApplyTheme(kThemeName)) ShowErrorCloseBox(nullptr, kApplicationTitle, StyleNotFoundText(kThemeName));
}

} // namespace vn
