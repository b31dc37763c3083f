// The controller's side of the exchange: the tray menu's "Export Notes" and
// "Import Notes" (also the note's Save and Import buttons) open the export and
// import dialogs, which are created once at start and reused. Until those dialogs
// exist, the commands do nothing.
#include "app/main_form_win.h"

namespace vn {

void TFMain::ExportJotlets() {}

void TFMain::ImportStickyNote() {}

} // namespace vn
