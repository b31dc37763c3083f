#pragma once
// Target identity: a note names its target window by the executable file name of
// the window's process and by the window's trimmed caption. These are the text
// rules of that identity; the window queries that produce the texts live in
// identity_win.h (and behind the WindowSystem seam for the portable logic).
#include <string>
#include <string_view>

#include "platform/one_line.h"

namespace vn {

// Identity text comparison: equal when both are empty, or when they have the same
// length and are equal code unit by code unit after mapping a..z to A..Z and CR
// and LF to a space (a caption is stored on one line: CaptionOnOneLine). No other
// case folding, no locale, no normalisation, no trimming: an accented, Greek or
// Cyrillic letter in another case makes the texts differ.
bool IdentityTextEquals(std::u16string_view a, std::u16string_view b) noexcept;

// A caption as a record line holds it is CaptionOnOneLine (platform/one_line.h).

// A window text as a caption: every leading and trailing code unit of value 32 or
// below (blanks, tabs, line breaks, NULs) removed; the inside stays as it is.
std::u16string TrimCaption(std::u16string_view text);

// The file name part of a path: what follows the last '\', '/' or ':'.
std::u16string FileNamePart(std::u16string_view path);

} // namespace vn
