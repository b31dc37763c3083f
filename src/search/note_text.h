#pragma once
// The text a note shows, read from its body file's bytes: what the search looks at.
#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace vn {

// The note's text from the bytes of its body file (the rich-text control's RTF, or
// plain text), lines separated by u'\n'. Never throws on any input.
std::u16string NoteTextFromBody(std::string_view body, const CodePage& codePage);

} // namespace vn
