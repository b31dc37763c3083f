#pragma once
// The creation time shown on a new note, in the user's regional format.
#include <windows.h>

#include <string>

namespace vn {

// The short date, then, unless the time of day is exactly 00:00:00.000, a blank and
// the long time (the user's formats, as GetDateFormatEx and GetTimeFormatEx give them).
std::u16string FormatNoteTime(const SYSTEMTIME& time);

// FormatNoteTime of the current local time.
std::u16string NoteTimeNow();

} // namespace vn
