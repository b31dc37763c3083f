// The use case "add a note to a picked window": picking starts from the tray menu
// or the import dialog, the picking session reports how it ends, and the capture
// makes, places, fills and shows the note here.
#include "app/main_form_win.h"

#include "app/app_texts.h"

#include <utility>

#include "attach/note_placement.h"
#include "attach/window_system_win.h"
#include "note/handle_budget.h"
#include "note/sticky_note_win.h"

namespace vn {

void TFMain::SelectWindowToAddStickyNote(bool ABalloonHintMessage, const std::u16string& ANewInfoString) {
    StartPicking(ABalloonHintMessage, ReadImportValuePart(ANewInfoString));
}

void TFMain::StartPicking(bool balloonHintMessage, ImportRecord record) {
    stickingNote_ = nullptr;
    if (Picking_.Start(balloonHintMessage, std::move(record)) == PickPrompt::TrayBalloon)
        ShowPromptBalloon(kBalloonPickPrompt);
}

// 100 ms after picking ended with a pick. A refused note (access denied) stops the
// capture: nothing is filled or shown, the import dialog stays where it is, and the
// exception goes on to the error balloon.
void TFMain::CaptureWindowTimerTimer() {
    // Stick to Window: the picked window takes the note from All Notes, nothing is made.
    if (Jotlet* sticking = std::exchange(stickingNote_, nullptr)) {
        if (std::optional<PickedForNote> picked = Picking_.Capture()) {
            sticking->StickTo(picked->target);
            NoteTextChanged(*sticking);
            SetSaveChangePending();
        }
        return;
    }
    if (std::optional<PickedForNote> picked = Picking_.Capture()) {
        TFStickyNote& note = AddStickyNoteToWindow(ToHwnd(picked->target));
        if (picked->record) {
            try {
                TempExport().FillStickyNote(note.Stored(), *picked->record);
            } catch (...) {
                // No empty note is left on the window for a record that cannot fill it.
                note.Close();
                throw;
            }
            Picking_.NoteMade();
        }
        // A note the handle budget had no room for shows from its tracking tick later.
        if (note.HasHandle()) note.Show();
    }
    BringImportDialogToFrontIfShowing();
}

TFStickyNote& TFMain::AddStickyNoteToWindow(HWND AParentWnd) {
    auto made = std::make_unique<TFStickyNote>(*this, AParentWnd);
    TFStickyNote& note = *made;
    AddJotlet(std::move(made));
    // A target that refuses the note gets none: the note is discarded there.
    try {
        PlaceNoteOnPickedWindow(TheWindowSystem(), ToWindowId(AParentWnd), note.AsNewWindow());
    } catch (const note::NoRoomForWindow&) {
        // Near the process's limit of windows: the note is listed (and so saved, filled
        // from an imported record too) without a window for now, and the person who
        // picked the window hears why nothing shows.
        if (Budget_.ShortageToTell()) ShowBalloon(kBalloonWarning, kNoRoomBalloonText);
    }
    return note;
}

void TFMain::BringImportDialogToFrontIfShowing() {
    if (TDlgImport* dialog = Exchange_.ImportDialog()) dialog->BringToFront();
}

} // namespace vn
