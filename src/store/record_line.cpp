#include "store/record_line.h"

namespace vn {

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

std::u16string ComposeRecordLine(std::u16string_view exeName, std::u16string_view caption,
                                 std::u16string_view ownerLabel, std::u16string_view timeLabel,
                                 std::u16string_view bodyFile, std::u16string_view checkStates) {
    std::u16string line;
    line.reserve(exeName.size() + caption.size() + ownerLabel.size() + timeLabel.size() + bodyFile.size() +
                 checkStates.size() + 5);
    line.append(exeName).append(u"|").append(caption).append(u"=");
    line.append(ownerLabel).append(u"|").append(timeLabel).append(u"|");
    line.append(bodyFile).append(u"|").append(checkStates);
    return line;
}

} // namespace vn
