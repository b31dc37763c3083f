#include "exchange/import_rows.h"

#include <algorithm>
#include <array>

#include "store/record_line.h"
#include "store/store_names.h"

namespace vn {

std::vector<ImportRow> ImportRowsOf(const std::vector<std::u16string>& lines) {
    std::vector<ImportRow> rows;
    rows.reserve(lines.size());
    for (const std::u16string& line : lines) {
        RecordParts parts = SplitRecordLine(line);
        std::vector<std::u16string> fields = SplitFields(parts.valuePart);
        ImportRow row;
        row.title = std::u16string(parts.namePart);
        if (fields.size() > kOwnerField) row.owner = fields[kOwnerField];
        if (fields.size() > kTimeField) row.time = fields[kTimeField];
        row.valuePart = std::u16string(parts.valuePart);
        row.canStick =
            fields.size() > kBodyFileField && IsConfinedBodyPath(fields[kBodyFileField], kTempExportFolderName);
        rows.push_back(std::move(row));
    }
    return rows;
}

namespace {
char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return AsciiUpper(x) == AsciiUpper(y); });
}

// CON, NUL, COM1 ... name devices in every folder, also with an extension.
bool IsDeviceName(std::u16string_view name) {
    std::u16string_view base = name.substr(0, name.find(u'.'));
    while (!base.empty() && base.back() == u' ') base.remove_suffix(1);
    static constexpr std::array<std::u16string_view, 4> kPlain{u"CON", u"PRN", u"AUX", u"NUL"};
    for (auto device : kPlain)
        if (EqualsIgnoringAsciiCase(base, device)) return true;
    if (base.size() == 4 && base[3] >= u'1' && base[3] <= u'9')
        return EqualsIgnoringAsciiCase(base.substr(0, 3), u"COM") || EqualsIgnoringAsciiCase(base.substr(0, 3), u"LPT");
    return false;
}
} // namespace

bool IsConfinedBodyPath(std::u16string_view bodyPath, std::u16string_view folder) {
    if (bodyPath.size() <= folder.size() + 1) return false;
    if (!EqualsIgnoringAsciiCase(bodyPath.substr(0, folder.size()), folder)) return false;
    if (bodyPath[folder.size()] != u'\\') return false;
    std::u16string_view name = bodyPath.substr(folder.size() + 1);
    if (name == u"." || name == u".." || IsDeviceName(name)) return false;
    // Windows drops trailing dots and spaces from names: "a.txt." would be "a.txt",
    // and ". " would be the folder itself.
    if (name.back() == u'.' || name.back() == u' ') return false;
    for (char16_t c : name) {
        if (c < 0x20) return false;
        switch (c) {
        case u'\\': case u'/': case u':': case u'*': case u'?': case u'"': case u'<': case u'>': case u'|':
            return false;
        default: break;
        }
    }
    return true;
}

} // namespace vn
