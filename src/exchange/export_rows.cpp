#include "exchange/export_rows.h"

#include <algorithm>

#include "store/index_string.h"

namespace vn {

void ExportRows::Refresh(const std::vector<Jotlet*>& notes) {
    rows_.clear();
    rows_.reserve(notes.size());
    for (Jotlet* note : notes) rows_.push_back({note, false});
}

Jotlet* ExportRows::NoteAt(size_t row) const { return row < rows_.size() ? rows_[row].note : nullptr; }

bool ExportRows::Checked(size_t row) const { return row < rows_.size() && rows_[row].checked; }

void ExportRows::Toggle(size_t row) {
    if (row < rows_.size() && rows_[row].note) rows_[row].checked = !rows_[row].checked;
}

bool ExportRows::AnyChecked() const {
    return std::any_of(rows_.begin(), rows_.end(), [](const Row& r) { return r.checked; });
}

void ExportRows::NoteRemoved(const Jotlet* note) {
    for (Row& r : rows_) {
        if (r.note == note) r = {nullptr, false};
    }
}

void ExportRows::HeaderMouseUp(bool leftClickOnBox) {
    if (leftClickOnBox) headerChecked_ = !headerChecked_;
    for (Row& r : rows_) {
        if (r.note) r.checked = headerChecked_;
    }
}

std::u16string ExportRows::CheckedIndexString(const std::vector<Jotlet*>& notes) const {
    std::vector<size_t> positions;
    for (const Row& r : rows_) {
        if (!r.checked) continue;
        auto it = std::find(notes.begin(), notes.end(), r.note);
        if (it != notes.end()) positions.push_back(static_cast<size_t>(it - notes.begin()));
    }
    std::sort(positions.begin(), positions.end());
    std::u16string text;
    for (size_t p : positions) {
        if (!text.empty()) text += u'|';
        text += DecimalText(p);
    }
    return text;
}

} // namespace vn
