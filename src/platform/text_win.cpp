#include "platform/text_win.h"

#include "platform/errors.h"

namespace vn {

std::string Utf8(const std::u16string& s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, W(s), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, W(s), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::u16string FromUtf8(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::u16string out(static_cast<size_t>(n), u'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), W(out.data()), n);
    return out;
}

std::u16string ControlText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) return {};
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    const int n = GetWindowTextW(control, buffer.data(), length + 1);
    return U16(buffer.data(), static_cast<size_t>(n > 0 ? n : 0));
}

std::u16string SystemErrorMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text = n ? U16(buffer, n) : std::u16string();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
    return text;
}

void RaiseLastOSError() {
    DWORD code = GetLastError();
    throw OSError(code, Utf8(SystemErrorMessage(code)));
}

} // namespace vn
