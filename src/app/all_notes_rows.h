#pragma once
// The rows of the All Notes window: every stored note, or every note in the recycle
// bin, filtered by what the person typed and sorted by the column they chose. The
// window asks for the cells of the rows it draws (an owner-data list), so nothing
// here builds text for rows nobody sees.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/time_label.h"
#include "search/search_index.h"
#include "search/search_query.h"

namespace vn {

enum class NoteState { OnScreen, Tile, Waiting };
std::u16string_view NoteStateLabel(NoteState state);

// The text of a note, shared between the search texts and the rows that show it:
// listing thousands of notes copies none of their texts.
using SharedText = std::shared_ptr<const std::u16string>;

// One note as the window lists it. `key` names it to the controller.
struct NoteRow {
    uint64_t key = 0;
    std::u16string caption, owner, timeLabel;
    SharedText text;  // null while it has not been read
    std::u16string deletedLabel;
    NoteState state = NoteState::Waiting;

    std::u16string_view Text() const { return text ? std::u16string_view(*text) : std::u16string_view(); }
};

enum class RowColumn { Title, Text, State, Owner, Created, Deleted };

// The first line of `text` that holds something other than blanks; empty if none.
std::u16string_view FirstNonEmptyLine(std::u16string_view text);

class AllNotesRows {
public:
    explicit AllNotesRows(TimeLabelFormat timeFormat) : timeFormat_(std::move(timeFormat)) {}

    // Every row of the mode. `index`, when given, holds the rows' search text by key
    // and answers the filter (the store's notes); without it each row is matched
    // on its own (the bin's few entries).
    void SetRows(std::vector<NoteRow> rows, const SearchIndex* index);
    // One row changed or came: shown if it matches, in its sorted place.
    void Update(NoteRow row);
    void Remove(uint64_t key);
    // Each row's state as `stateOf` tells it now; true when one of them changed.
    bool UpdateStates(const std::function<NoteState(uint64_t key)>& stateOf);
    void SetQuery(std::u16string_view typed);
    // Sorts by `column`; the same column again turns the order round.
    void SortBy(RowColumn column);
    RowColumn SortColumn() const noexcept { return sortColumn_; }
    bool SortAscending() const noexcept { return ascending_; }

    // The rows that match, in order.
    size_t size() const noexcept { return shown_.size(); }
    const NoteRow& operator[](size_t position) const { return all_[shown_[position]]; }
    std::optional<size_t> PositionOf(uint64_t key) const;
    // A cell as the list shows it: the Text column holds the first line that matches
    // the search, or the first line that is not empty.
    std::u16string Cell(size_t position, RowColumn column) const;
    const SearchQuery& Query() const noexcept { return query_; }
    size_t TotalRows() const noexcept { return all_.size(); }

private:
    struct SortKey {
        int group = 0;  // labels that read as times first
        std::int64_t number = 0;
        std::u16string folded, raw;
    };
    SortKey KeyOf(const NoteRow& row) const;
    bool MatchesQuery(const NoteRow& row) const;
    // The order of every row by the sort column: kept, so that a keystroke only
    // picks the matching rows out of it.
    void Sort();
    void Refilter();

    TimeLabelFormat timeFormat_;
    std::vector<NoteRow> all_;
    std::vector<SortKey> keys_;  // all_'s sort keys, made once per row and column
    std::vector<size_t> order_;  // every index into all_, sorted
    std::vector<size_t> shown_;  // the matching ones, in order
    const SearchIndex* index_ = nullptr;
    SearchQuery query_{u""};
    RowColumn sortColumn_ = RowColumn::Created;
    bool ascending_ = true;
};

} // namespace vn
