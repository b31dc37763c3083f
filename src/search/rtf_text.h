#pragma once
// The text of an RTF stream as the rich-text control shows it: the characters of the
// document's body, without the font and colour tables, the document information,
// pictures, the instructions of fields and the other hidden destinations, and
// without hidden text (\v). Paragraphs, line breaks (\line), sections, pages and
// table rows end a line (u'\n'); \tab and a table cell's end are tabs. \u with its
// \uc fallback, \'xx in the code page of the font in use (its \fcharset or \cpg)
// or of the document (\ansicpg; code page 1252 when it names none, as the control
// reads it), literal bytes in the same code page, and the named characters (\emdash,
// \bullet, \lquote ...) become their characters; an optional hyphen (\-) is left
// out. Reading stops where the outermost group closes, and the paragraph mark just
// before that is the control's own closing one, not a line break of the text.
// Nothing when the outer group never closes: the control refuses such a stream as
// RTF. Never throws on broken input; the text only grows with the input.
#include <optional>
#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace vn {

std::optional<std::u16string> RtfText(std::string_view rtf, const CodePage& codePage);

} // namespace vn
