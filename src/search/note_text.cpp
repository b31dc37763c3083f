#include "search/note_text.h"

#include "search/rtf_text.h"

namespace vn {

namespace {

std::u16string OneLineBreak(std::u16string text) {
    size_t out = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            text[out++] = u'\n';
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else {
            text[out++] = text[i];
        }
    }
    text.resize(out);
    return text;
}

} // namespace

std::u16string NoteTextFromBody(std::string_view body, const CodePage& codePage) {
    // The control reads exactly these two openings as RTF (store/body_file.h), and
    // what it refuses as RTF as plain text.
    if (body.starts_with("{\\rtf") || body.starts_with("{\\urtf")) {
        if (std::optional<std::u16string> text = RtfText(body, codePage)) return std::move(*text);
    }
    return OneLineBreak(DecodeTextFile(body, codePage));
}

} // namespace vn
