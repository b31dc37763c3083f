#include "store/record_line.h"

#include <algorithm>

#include "platform/one_line.h"
#include "store/store_names.h"

namespace vn {

namespace {

bool SameFolderName(std::u16string_view text, std::u16string_view name) {
    if (text.size() != name.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t a = text[i], b = name[i];
        if (a >= u'A' && a <= u'Z') a = static_cast<char16_t>(a - u'A' + u'a');
        if (b >= u'A' && b <= u'Z') b = static_cast<char16_t>(b - u'A' + u'a');
        if (a != b) return false;
    }
    return true;
}

// "<folder>\<n>.txt" as the store and the selection save write it.
bool IsWrittenBodyPath(std::u16string_view field) {
    size_t sep = field.find(u'\\');
    if (sep == std::u16string_view::npos) return false;
    std::u16string_view folder = field.substr(0, sep), name = field.substr(sep + 1);
    if (!SameFolderName(folder, kStoreFolderName) && !SameFolderName(folder, kTempExportFolderName)) return false;
    constexpr std::u16string_view ext = u".txt";
    if (name.size() <= ext.size() || !SameFolderName(name.substr(name.size() - ext.size()), ext)) return false;
    std::u16string_view digits = name.substr(0, name.size() - ext.size());
    if (digits.size() > 1 && digits[0] == u'0') return false;
    return std::all_of(digits.begin(), digits.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

bool IsCheckStates(std::u16string_view field) {
    return std::all_of(field.begin(), field.end(), [](char16_t c) { return c == u'0' || c == u'1'; });
}

// The last three fields of the writer's shape, "time|body|checks", read from the
// right of `text`; on success `text` is left with what comes before the time label.
bool ReadWrittenTail(std::u16string_view& text, size_t base, std::vector<FieldSpan>& tail) {
    size_t bars[3];
    size_t end = text.size();
    for (size_t& bar : bars) {
        bar = end == 0 ? std::u16string_view::npos : text.rfind(u'|', end - 1);
        if (bar == std::u16string_view::npos) return false;
        end = bar;
    }
    std::u16string_view checks = text.substr(bars[0] + 1), body = text.substr(bars[1] + 1, bars[0] - bars[1] - 1);
    if (!IsCheckStates(checks) || !IsWrittenBodyPath(body)) return false;
    tail = {{base + bars[2] + 1, bars[1] - bars[2] - 1},
            {base + bars[1] + 1, body.size()},
            {base + bars[0] + 1, checks.size()}};
    text = text.substr(0, bars[2]);
    return true;
}

} // namespace

RecordParts SplitRecordLine(std::u16string_view line) {
    size_t eq = line.find(u'=');
    if (eq == std::u16string_view::npos) return {};
    return {line.substr(0, eq), line.substr(eq + 1)};
}

std::vector<std::u16string> SplitNamePart(std::u16string_view namePart) {
    std::vector<std::u16string> items;
    size_t start = 0;
    while (start < namePart.size()) {
        size_t bar = namePart.find(u'|', start);
        if (bar == std::u16string_view::npos) {
            items.emplace_back(namePart.substr(start));
            break;
        }
        items.emplace_back(namePart.substr(start, bar - start));
        start = bar + 1;
    }
    return items;
}

std::vector<FieldSpan> SplitFieldSpans(std::u16string_view value) {
    std::vector<FieldSpan> fields;
    const size_t n = value.size();
    size_t pos = 0;
    while (pos < n) {
        while (pos < n && (value[pos] == u'\r' || value[pos] == u'\n')) ++pos;
        size_t head = pos;
        char16_t quote = 0;
        while (pos < n) {
            char16_t c = value[pos];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'|' || c == u'\r' || c == u'\n') {
                break;
            }
            ++pos;
        }
        if (pos > head) fields.push_back({head, pos - head});
        ++pos; // past the character that ended the field
    }
    return fields;
}

std::vector<std::u16string> SplitFields(std::u16string_view valuePart) {
    std::vector<std::u16string> items;
    for (const FieldSpan& f : SplitFieldSpans(valuePart)) items.emplace_back(valuePart.substr(f.offset, f.length));
    return items;
}

RecordFields ReadRecordLine(std::u16string_view line) {
    std::u16string_view head = line;
    std::vector<FieldSpan> tail;
    if (ReadWrittenTail(head, 0, tail)) {
        size_t exeEnd = head.find(u'|');
        size_t eq = head.rfind(u'=');
        if (exeEnd != std::u16string_view::npos && eq != std::u16string_view::npos && eq > exeEnd + 1 &&
            head.find(u'|', eq) == std::u16string_view::npos) {
            RecordFields read;
            read.names = {std::u16string(head.substr(0, exeEnd)),
                          std::u16string(head.substr(exeEnd + 1, eq - exeEnd - 1))};
            read.fields.push_back({eq + 1, head.size() - eq - 1});
            read.fields.insert(read.fields.end(), tail.begin(), tail.end());
            read.valueOffset = eq + 1;
            return read;
        }
    }
    RecordParts parts = SplitRecordLine(line);
    RecordFields read{SplitNamePart(parts.namePart), SplitFieldSpans(parts.valuePart), std::nullopt};
    const size_t eq = line.find(u'=');
    if (eq != std::u16string_view::npos) read.valueOffset = eq + 1;
    for (FieldSpan& f : read.fields) f.offset += read.valueOffset.value_or(0);
    return read;
}

std::vector<FieldSpan> ReadValuePart(std::u16string_view valuePart) {
    std::u16string_view head = valuePart;
    std::vector<FieldSpan> tail;
    if (ReadWrittenTail(head, 0, tail) && head.find(u'|') == std::u16string_view::npos) {
        std::vector<FieldSpan> fields{{0, head.size()}};
        fields.insert(fields.end(), tail.begin(), tail.end());
        return fields;
    }
    return SplitFieldSpans(valuePart);
}

std::u16string CheckStatesForRecord(std::u16string_view states) {
    std::u16string out(states);
    for (char16_t& c : out)
        if (c != u'1') c = u'0';
    return out;
}

std::u16string ComposeRecordLine(std::u16string_view exeName, std::u16string_view caption,
                                 std::u16string_view ownerLabel, std::u16string_view timeLabel,
                                 std::u16string_view bodyFile, std::u16string_view checkStates) {
    std::u16string line;
    line.reserve(exeName.size() + caption.size() + ownerLabel.size() + timeLabel.size() + bodyFile.size() +
                 checkStates.size() + 5);
    line.append(exeName).append(u"|").append(CaptionOnOneLine(caption)).append(u"=");
    line.append(CaptionOnOneLine(ownerLabel)).append(u"|").append(CaptionOnOneLine(timeLabel)).append(u"|");
    line.append(bodyFile).append(u"|").append(checkStates);
    return line;
}

} // namespace vn
