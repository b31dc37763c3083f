#include "app/all_notes_rows.h"

#include <algorithm>
#include <tuple>

namespace vn {

std::u16string_view NoteStateLabel(NoteState state) {
    switch (state) {
    case NoteState::OnScreen: return u"On screen";
    case NoteState::Tile: return u"Tile";
    case NoteState::Waiting: return u"Waiting for its window";
    }
    return {};
}

namespace {

// A text as the list sorts it: letter case does not count (Latin-1 letters included).
std::u16string SortText(std::u16string_view text) {
    std::u16string folded(text);
    for (char16_t& c : folded)
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) c = static_cast<char16_t>(c + 0x20);
    return folded;
}

} // namespace

std::u16string_view FirstNonEmptyLine(std::u16string_view text) {
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find(u'\n', begin);
        if (end == std::u16string_view::npos) end = text.size();
        const std::u16string_view line = text.substr(begin, end - begin);
        if (line.find_first_not_of(u" \t\u00A0\u3000") != std::u16string_view::npos) return line;
        begin = end + 1;
    }
    return {};
}

void AllNotesRows::SetRows(std::vector<NoteRow> rows, const SearchIndex* index) {
    all_ = std::move(rows);
    index_ = index;
    keys_.clear();
    keys_.reserve(all_.size());
    for (const NoteRow& row : all_) keys_.push_back(KeyOf(row));
    Sort();
}

void AllNotesRows::Update(NoteRow row) {
    auto at = std::find_if(all_.begin(), all_.end(), [&](const NoteRow& r) { return r.key == row.key; });
    if (at == all_.end()) {
        keys_.push_back(KeyOf(row));
        all_.push_back(std::move(row));
    } else {
        keys_[static_cast<size_t>(at - all_.begin())] = KeyOf(row);
        *at = std::move(row);
    }
    Sort();
}

void AllNotesRows::Remove(uint64_t key) {
    auto at = std::find_if(all_.begin(), all_.end(), [&](const NoteRow& r) { return r.key == key; });
    if (at == all_.end()) return;
    keys_.erase(keys_.begin() + (at - all_.begin()));
    all_.erase(at);
    Sort();
}

bool AllNotesRows::UpdateStates(const std::function<NoteState(uint64_t key)>& stateOf) {
    bool changed = false;
    for (NoteRow& row : all_) {
        const NoteState state = stateOf(row.key);
        changed = changed || state != row.state;
        row.state = state;
    }
    if (changed && sortColumn_ == RowColumn::State) SetRows(std::move(all_), index_);
    return changed;
}

void AllNotesRows::SetQuery(std::u16string_view typed) {
    query_ = SearchQuery(typed);
    Refilter();
}

void AllNotesRows::SortBy(RowColumn column) {
    ascending_ = column == sortColumn_ ? !ascending_ : true;
    sortColumn_ = column;
    SetRows(std::move(all_), index_);
}

std::optional<size_t> AllNotesRows::PositionOf(uint64_t key) const {
    for (size_t i = 0; i < shown_.size(); ++i)
        if (all_[shown_[i]].key == key) return i;
    return std::nullopt;
}

std::u16string AllNotesRows::Cell(size_t position, RowColumn column) const {
    const NoteRow& row = (*this)[position];
    switch (column) {
    case RowColumn::Title: return row.caption;
    case RowColumn::Text: {
        std::u16string_view line = query_.Empty() ? std::u16string_view() : query_.FirstMatchingLine(row.Text());
        if (line.empty()) line = FirstNonEmptyLine(row.Text());
        return std::u16string(line);
    }
    case RowColumn::State: return std::u16string(NoteStateLabel(row.state));
    case RowColumn::Owner: return row.owner;
    case RowColumn::Created: return row.timeLabel;
    case RowColumn::Deleted: return row.deletedLabel;
    }
    return {};
}

bool AllNotesRows::MatchesQuery(const NoteRow& row) const {
    return query_.Matches({row.caption, row.owner, row.Text()});
}

void AllNotesRows::Refilter() {
    shown_.clear();
    shown_.reserve(order_.size());
    if (query_.Empty()) {
        shown_ = order_;
    } else if (index_) {
        std::vector<uint64_t> keys = index_->Filter(query_);
        std::sort(keys.begin(), keys.end());
        for (size_t i : order_)
            if (std::binary_search(keys.begin(), keys.end(), all_[i].key)) shown_.push_back(i);
    } else {
        for (size_t i : order_)
            if (MatchesQuery(all_[i])) shown_.push_back(i);
    }
}

AllNotesRows::SortKey AllNotesRows::KeyOf(const NoteRow& row) const {
    switch (sortColumn_) {
    case RowColumn::Title: return {0, 0, SortText(row.caption), row.caption};
    case RowColumn::Text: {
        const std::u16string_view line = FirstNonEmptyLine(row.Text());
        return {0, 0, SortText(line), std::u16string(line)};
    }
    case RowColumn::State: return {0, static_cast<std::int64_t>(row.state), {}, {}};
    case RowColumn::Owner: return {0, 0, SortText(row.owner), row.owner};
    case RowColumn::Created:
    case RowColumn::Deleted: {
        const std::u16string& label = sortColumn_ == RowColumn::Created ? row.timeLabel : row.deletedLabel;
        // A label that does not read as a time sorts as text after those that do.
        if (const auto time = ParseTimeLabel(label, timeFormat_)) return {0, *time, {}, {}};
        return {1, 0, SortText(label), label};
    }
    }
    return {};
}

void AllNotesRows::Sort() {
    order_.resize(all_.size());
    for (size_t i = 0; i < order_.size(); ++i) order_[i] = i;
    std::stable_sort(order_.begin(), order_.end(), [&](size_t x, size_t y) {
        const SortKey& a = keys_[x];
        const SortKey& b = keys_[y];
        if (a.group != b.group) return a.group < b.group;
        auto tie = [](const SortKey& k) { return std::tie(k.number, k.folded, k.raw); };
        return ascending_ ? tie(a) < tie(b) : tie(b) < tie(a);
    });
    Refilter();
}

} // namespace vn
