#pragma once
// The one place where the program's UTF-16 text meets the API's wchar_t.
#include <windows.h>

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 code units");

namespace vn {

inline const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
inline wchar_t* W(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }

inline std::u16string U16(const wchar_t* s) {
    return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}
inline std::u16string U16(const wchar_t* s, size_t n) {
    return std::u16string(reinterpret_cast<const char16_t*>(s), n);
}
inline std::u16string U16(std::wstring_view s) { return U16(s.data(), s.size()); }

// UTF-8 for exception texts and logs.
std::string Utf8(const std::u16string& s);
std::u16string FromUtf8(const std::string& s);

// A control's text as it answers WM_GETTEXT (an edit control's content, which the
// window's title as the system keeps it is not).
std::u16string ControlText(HWND control);

// The system's text for an error code, without the trailing line break.
std::u16string SystemErrorMessage(DWORD code);

// Raises OSError for GetLastError() (captured first).
[[noreturn]] void RaiseLastOSError();

} // namespace vn
