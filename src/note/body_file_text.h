#pragma once
// Reading a note body file: the bytes are the rich-text control's RTF stream, or, when
// a file holds plain text instead, text in one of the encodings a byte-order mark names.
#include <functional>
#include <string>
#include <string_view>

namespace vn {

// True when the bytes begin an RTF stream, the only data the control reads as RTF.
bool LooksLikeRtf(std::string_view bytes);

// Converts bytes in the system's ANSI code page (supplied by the platform layer).
using AnsiDecoder = std::function<std::u16string(std::string_view)>;

// Plain-text body: FF FE is UTF-16LE, FE FF UTF-16BE, EF BB BF UTF-8, anything else the
// ANSI code page. A lone CR, a lone LF and CR LF each become one "\r", the control's
// own line break. Bytes that do not decode become U+FFFD; the rest of the text stays.
std::u16string DecodePlainBody(std::string_view bytes, const AnsiDecoder& ansi);

// The load order of a body: as RTF when the bytes look like RTF, then, if the control
// refused that, as plain text. Each stream function answers whether the control took
// the data. Raises Error("Failed to Load Stream") when it took neither.
void LoadBodyBytes(std::string_view bytes, const std::function<bool(std::string_view rtf)>& streamRtf,
                   const std::function<bool(const std::u16string& text)>& streamText, const AnsiDecoder& ansi);

} // namespace vn
