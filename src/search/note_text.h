#pragma once
// The text a note shows, read from its body file's bytes without a rich-text
// control: what search looks through, and what the All Notes list and preview show
// before the note's control has read its body. An RTF body ("{\rtf" or "{\urtf")
// gives its text as rtf_text.h reads it; anything else, and RTF the control would
// refuse, is plain text by its byte-order mark, else the system's ANSI code page
// (`codePage`), as the control loads a body file. Lines are separated by u'\n' (CR LF, CR and LF each one break).
// Never throws, whatever the bytes; safe to call from a worker thread as long as
// `codePage` is.
#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace vn {

std::u16string NoteTextFromBody(std::string_view body, const CodePage& codePage);

} // namespace vn
