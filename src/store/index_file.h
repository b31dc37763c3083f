#pragma once
// The index file "Jotlets.txt": one record line per note, no header, no trailer.
//
// Written in the system's ANSI code page with CR LF after every line, the last
// one included; an empty list is a file of zero bytes. When the code page is
// UTF-8 the byte-order mark EF BB BF comes first. When some line holds a
// character the code page cannot represent (a caption in another script), the
// whole file is written as UTF-8 with its byte-order mark instead, which every
// reader accepts, so that the note still finds its window after a restart. The
// same goes for a file whose first bytes in the code page would read as a
// byte-order mark.
//
// Read with byte-order-mark detection (UTF-8, UTF-16LE, UTF-16BE, else ANSI),
// cut at CR LF, lone CR and lone LF; a break at the very end adds no empty line.
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_codec.h"

namespace vn {

std::string EncodeIndexFile(const std::vector<std::u16string>& lines, const CodePage& codePage);
std::vector<std::u16string> DecodeIndexFile(std::string_view bytes, const CodePage& codePage);

std::vector<std::u16string> SplitLines(std::u16string_view text);

} // namespace vn
