#include "note/note_time_win.h"

#include "platform/text_win.h"

namespace vn {
namespace {

template <class Format>
std::u16string AskFormat(Format format) {
    int n = format(nullptr, 0);
    if (n <= 0) RaiseLastOSError();
    std::wstring buffer(static_cast<size_t>(n), L'\0');
    n = format(buffer.data(), n);
    if (n <= 0) RaiseLastOSError();
    return U16(buffer.c_str());
}

} // namespace

std::u16string FormatNoteTime(const SYSTEMTIME& time) {
    std::u16string text = AskFormat([&](wchar_t* out, int size) {
        return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, out, size, nullptr);
    });
    const bool midnight = time.wHour == 0 && time.wMinute == 0 && time.wSecond == 0 && time.wMilliseconds == 0;
    if (!midnight) {
        text += u' ';
        text += AskFormat([&](wchar_t* out, int size) {
            return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, out, size);
        });
    }
    return text;
}

std::u16string NoteTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FormatNoteTime(now);
}

} // namespace vn
