#include "exchange/import_rows.h"

#include "store/body_path.h"
#include "store/record_line.h"
#include "store/store_names.h"

namespace vn {

std::vector<ImportRow> ImportRowsOf(const std::vector<std::u16string>& lines) {
    std::vector<ImportRow> rows;
    rows.reserve(lines.size());
    for (const std::u16string& line : lines) {
        // The record reader of the store: a caption with "=" or "|" stays whole.
        RecordFields read = ReadRecordLine(line);
        auto field = [&](size_t i) {
            return read.fields.size() > i ? line.substr(read.fields[i].offset, read.fields[i].length) : std::u16string();
        };
        ImportRow row;
        if (read.valueOffset) {
            row.title = line.substr(0, *read.valueOffset - 1);
            row.valuePart = line.substr(*read.valueOffset);
        }
        row.owner = field(kOwnerField);
        row.time = field(kTimeField);
        row.canStick = read.fields.size() > kBodyFileField &&
                       BodyFileInFolder(field(kBodyFileField), kTempExportFolderName).has_value();
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace vn
