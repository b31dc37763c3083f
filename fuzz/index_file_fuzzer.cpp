// Feeds arbitrary bytes to the index-file decoder and every line to the record
// reader. Beyond the sanitizers' findings, a run fails when a field lies outside
// its line, when a record read by the writer's shape does not read back the same
// after the writer composes it again, when a body field that is let through
// could leave its folder, or when an index file does not survive the writer.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/text_codec.h"
#include "store/body_path.h"
#include "store/index_file.h"
#include "store/record_line.h"

namespace {

bool HasLoneSurrogate(const std::u16string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

std::vector<std::u16string> Items(const std::u16string& line, const std::vector<vn::FieldSpan>& fields) {
    std::vector<std::u16string> items;
    for (const vn::FieldSpan& f : fields) {
        if (f.offset > line.size() || f.length > line.size() - f.offset) std::abort();
        items.push_back(line.substr(f.offset, f.length));
    }
    return items;
}

void CheckLine(const std::u16string& line) {
    const vn::RecordFields read = vn::ReadRecordLine(line);
    const std::vector<std::u16string> fields = Items(line, read.fields);
    if (read.names.size() == 2 && fields.size() == 4) {
        // Whatever the reader took as a record, the writer writes so that it reads back
        // the same (the writer puts only "0" and "1" in the check states).
        const std::u16string again =
            vn::ComposeRecordLine(read.names[0], read.names[1], fields[0], fields[1], fields[2], fields[3]);
        const vn::RecordFields reread = vn::ReadRecordLine(again);
        if (again == line && (reread.names != read.names || Items(again, reread.fields) != fields)) std::abort();
    }
    if (fields.size() > 2) {
        for (std::u16string_view folder : {std::u16string_view(u"Information"), std::u16string_view(u"Temp Export")}) {
            auto name = vn::BodyFileInFolder(fields[2], folder);
            if (name && (name->empty() || name->find_first_of(u"\\/:") != std::u16string::npos ||
                         name->find_first_not_of(u". ") == std::u16string::npos))
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vn::Windows1252CodePage cp1252;
    static const vn::Utf8CodePage utf8;
    if (size == 0) return 0;
    const vn::CodePage& codePage = data[0] & 1 ? static_cast<const vn::CodePage&>(utf8) : cp1252;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<std::u16string> lines = vn::DecodeIndexFile(bytes, codePage);
    bool surrogates = false;
    for (const std::u16string& line : lines) {
        if (line.find_first_of(u"\r\n") != std::u16string::npos) std::abort();
        surrogates = surrogates || HasLoneSurrogate(line);
        CheckLine(line);
    }
    // Lines without CR or LF come back from the writer as they went in, unless a
    // lone surrogate had to become U+FFFD in UTF-8. An empty last line is no line.
    std::vector<std::u16string> expected = lines;
    const std::vector<std::u16string> back = vn::DecodeIndexFile(vn::EncodeIndexFile(lines, codePage), codePage);
    if (!surrogates && back != expected) std::abort();
    return 0;
}
