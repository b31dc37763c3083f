// Feeds arbitrary bytes to the extraction of a note's text from its body, as RTF
// (the harness puts "{\rtf1" in front of every other input) and as plain text,
// and searches the text it gives. Beyond the sanitizers' findings, a run fails when
// the text holds a line break other than u'\n' or is longer than the bytes allow,
// or when a word cut from the text is not found in it again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text_codec.h"
#include "search/note_text.h"
#include "search/search_query.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vn::Windows1252CodePage cp1252;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size > 0 && (data[0] & 1)) bytes.insert(0, "{\\rtf1");
    const std::u16string text = vn::NoteTextFromBody(bytes, cp1252);
    if (text.find(u'\r') != std::u16string::npos) std::abort();
    // One unit at most per byte, as RTF or as plain text.
    if (text.size() > bytes.size()) std::abort();
    // What the text holds, search finds: a piece of its first line, typed back.
    const std::u16string_view line = vn::SearchQuery(u"").FirstMatchingLine(text);
    const std::u16string piece(line.substr(line.size() / 3, 6));
    // A piece that begins with a mark the text's letter before it swallows, or that
    // cuts a surrogate pair, is no longer in the text as typed.
    for (char16_t c : piece) {
        if ((c >= 0xD800 && c <= 0xDFFF) || (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
            (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F))
            return 0;
    }
    const vn::SearchQuery query(piece);
    if (!query.Matches({u"", u"", text})) std::abort();
    if (!query.Empty() && query.Highlights(text).empty()) std::abort();
    return 0;
}
