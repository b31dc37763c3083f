#pragma once
// The rows of the export dialog: one per note of the note list as it was when the
// dialog refreshed, each with its check box, and the header check box. A row keeps
// the note it was made for: a note removed meanwhile leaves an empty row that is
// skipped, so later rows never shift onto other notes. Index strings are made from
// the checked notes' positions in the list as it is when they are needed.
#include <cstddef>
#include <string>
#include <vector>

namespace vn {

class Jotlet;

class ExportRows {
public:
    // RefreshNoteList: one unchecked row per note. The header check box stays.
    void Refresh(const std::vector<Jotlet*>& notes);

    size_t Count() const noexcept { return rows_.size(); }
    // The row's note, or null once that note has gone.
    Jotlet* NoteAt(size_t row) const;
    bool Checked(size_t row) const;
    // A row's check box clicked or toggled with the space bar; an empty row has none.
    void Toggle(size_t row);
    // UpdateButtonStates: Export and Delete are enabled exactly when this is true.
    bool AnyChecked() const;
    // The note's window went: its row becomes empty and unchecked.
    void NoteRemoved(const Jotlet* note);

    bool HeaderChecked() const noexcept { return headerChecked_; }
    // A mouse button released over the header of the check column
    // (VTJotletsHeaderMouseUp): a left click on the box toggles it first; then every
    // row with a check box takes the header's state.
    void HeaderMouseUp(bool leftClickOnBox);

    // The positions in `notes` (the list now) of the checked rows' notes, ascending,
    // joined by "|" (0|2|5); empty when none is checked.
    std::u16string CheckedIndexString(const std::vector<Jotlet*>& notes) const;

private:
    struct Row {
        Jotlet* note;
        bool checked;
    };
    std::vector<Row> rows_;
    bool headerChecked_ = false;
};

} // namespace vn
