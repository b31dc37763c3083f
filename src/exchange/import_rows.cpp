#include "exchange/import_rows.h"

namespace vn {

std::vector<ImportRow> ImportRowsOf(const std::vector<std::u16string>& lines) {
    std::vector<ImportRow> rows;
    rows.reserve(lines.size());
    for (const std::u16string& line : lines) {
        ImportRow row;
        row.record = ReadImportLine(line);
        // The name part is what precedes the value part and the "=" before it.
        if (line.find(u'=') != std::u16string::npos)
            row.title = line.substr(0, line.size() - row.record.valuePart.size() - 1);
        row.canStick = ImportBodyFile(row.record).has_value();
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace vn
