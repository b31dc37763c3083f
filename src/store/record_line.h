#pragma once
// The note record line of the index file:
//
//   exe|caption=owner|time|body file|check states
//
// Nothing is escaped or quoted by the writer. Readers first read a line by the
// writer's own shape (ReadRecordLine), which gives back every line the writer
// composes whatever the executable name and caption hold ("=", "|", quotes) and
// whatever quotes or emptiness the labels have. Other lines are cut by the
// traditional rules: the name part is the text before the first "=", the value
// part the text after it, cut by the field-splitting rule.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vn {

struct RecordParts {
    std::u16string_view namePart;  // before the first "="
    std::u16string_view valuePart; // after it
};

// A line without "=" has an empty name part and an empty value part.
RecordParts SplitRecordLine(std::u16string_view line);

// Plain cut at every "|": adjacent bars give an empty item, a bar at the end adds
// no empty last item, an empty text gives no items. A record is usable only when
// its name part gives exactly two items (executable name, caption). Index
// strings are cut the same way.
std::vector<std::u16string> SplitNamePart(std::u16string_view namePart);

// One field of the value part, as a range of it.
struct FieldSpan {
    size_t offset;
    size_t length;
};

// The field-splitting rule of the value part: CR and LF are skipped at the start
// of a field; "|", CR, LF or the end ends it; a double quote or an apostrophe
// opens quoted mode up to the same character again (or the end), in which "|"
// belongs to the field; quotes stay in the text; empty fields vanish, so later
// fields move up. Items: 0 owner label, 1 time label, 2 body file, 3 check states.
std::vector<FieldSpan> SplitFieldSpans(std::u16string_view valuePart);
std::vector<std::u16string> SplitFields(std::u16string_view valuePart);

// A record line as a reader takes it: the name part's items (usable when
// exactly two) and the value part's fields as ranges of the line.
struct RecordFields {
    std::vector<std::u16string> names;
    std::vector<FieldSpan> fields;
    std::optional<size_t> valueOffset; // where the value part starts: after the "=" that ends the name part
};

// The writer's shape, read from the right, where the fields have a known form:
// "|" check states (only "0" and "1") at the end, before them "|" and a body
// file path as the writer makes it (<folder>\<n>.txt), before that "|" and the
// time label, and the owner label after the last "=" before that; the
// executable name ends at the first "|" (file names never hold one), and the
// caption is everything between. Labels must hold no "|", the owner label no
// "=". A line not of that shape is cut by SplitRecordLine, SplitNamePart and
// SplitFieldSpans.
RecordFields ReadRecordLine(std::u16string_view line);
// The same for a value part on its own (an imported record's InfoString).
std::vector<FieldSpan> ReadValuePart(std::u16string_view valuePart);

// The check-state string as the writer puts it in a line: every character that
// is not "1" (which no reader ticks) becomes "0".
std::u16string CheckStatesForRecord(std::u16string_view states);

// Positions of the items in the value part.
enum RecordField : size_t { kOwnerField = 0, kTimeField = 1, kBodyFileField = 2, kCheckStatesField = 3 };

// The one writer: plain concatenation, no escaping. A CR or LF in the caption
// or a label would end the line and cut the record in two: each is written as a
// space (CaptionOnOneLine, platform/one_line.h), the form in which a window's
// caption is compared with the stored one.
std::u16string ComposeRecordLine(std::u16string_view exeName, std::u16string_view caption,
                                 std::u16string_view ownerLabel, std::u16string_view timeLabel,
                                 std::u16string_view bodyFile, std::u16string_view checkStates);

} // namespace vn
