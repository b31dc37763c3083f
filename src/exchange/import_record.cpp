#include "exchange/import_record.h"

#include <vector>

#include "store/body_path.h"
#include "store/record_line.h"
#include "store/store_names.h"

namespace vn {

namespace {

// `fields` are ranges of `text`; the value part starts at `valueOffset` of it.
ImportRecord RecordOf(std::u16string_view text, std::optional<size_t> valueOffset,
                      const std::vector<FieldSpan>& fields) {
    auto field = [&](size_t i) {
        return fields.size() > i ? std::u16string(text.substr(fields[i].offset, fields[i].length)) : std::u16string();
    };
    ImportRecord record;
    if (valueOffset) record.valuePart = std::u16string(text.substr(*valueOffset));
    record.ownerLabel = field(kOwnerField);
    record.timeLabel = field(kTimeField);
    if (fields.size() > kBodyFileField) record.bodyField = field(kBodyFileField);
    record.checkStates = field(kCheckStatesField);
    return record;
}

} // namespace

ImportRecord ReadImportLine(std::u16string_view line) {
    const RecordFields read = ReadRecordLine(line);
    return RecordOf(line, read.valueOffset, read.fields);
}

ImportRecord ReadImportValuePart(std::u16string_view valuePart) {
    return RecordOf(valuePart, 0, ReadValuePart(valuePart));
}

std::optional<std::u16string> ImportBodyFile(const ImportRecord& record) {
    if (!record.bodyField) return std::nullopt;
    return BodyFileInFolder(*record.bodyField, kTempExportFolderName);
}

} // namespace vn
