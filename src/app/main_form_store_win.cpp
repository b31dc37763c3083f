// The controller's side of the note store: saving, loading and deleting notes.
// The store engine (store/) does the formats and the file work; until it is wired
// here, these operations change nothing on disk.
#include "app/main_form_win.h"

namespace vn {

void TFMain::SaveToFile(const std::u16string& FileName, const std::u16string& IndexString) {
    (void)FileName;
    (void)IndexString;
}

void TFMain::DeleteJotlets(const std::u16string& IndexString) { (void)IndexString; }

// Creates one unbound note per stored record, lists it and registers for its
// removal notice (AddJotlet); each shows itself once its target window is found.
void TFMain::LoadNotes() {}

} // namespace vn
