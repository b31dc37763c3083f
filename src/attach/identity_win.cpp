#include "attach/identity_win.h"

#include <tlhelp32.h>

#include <vector>

#include "attach/identity.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
#include "platform/window_win.h"

namespace vn {

std::u16string GetWindowExeName(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0) return {};  // not a window: no process can match
    UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return {};
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);  // 568 on x64; the 32-bit layout is 556
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == processId) {
            entry.szExeFile[std::size(entry.szExeFile) - 1] = L'\0';
            return U16(entry.szExeFile);
        }
    }
    return {};
}

std::u16string ReadWindowText(HWND window) {
    std::wstring buffer(256, L'\0');
    for (;;) {
        const int n = InternalGetWindowText(window, buffer.data(), static_cast<int>(buffer.size()));
        if (n < static_cast<int>(buffer.size()) - 1) return U16(buffer.data(), static_cast<size_t>(n > 0 ? n : 0));
        buffer.resize(buffer.size() * 2);  // perhaps cut short: ask again with room to spare
    }
}

std::u16string GetWindowCaption(HWND window) {
    if (!window) return {};
    return TrimCaption(ReadWindowText(window));
}

bool IsOwnWindow(HWND window) {
    if (!window) return false;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId == GetCurrentProcessId() && Window::IsOwnNativeWindow(window);
}

std::u16string GetLocalComputerName() {
    // The name the system runs under changes only with a restart: read once, as
    // every note made or loaded asks for it.
    static const std::u16string name = [] {
        wchar_t buffer[256] = {};
        DWORD size = 256;
        if (!GetComputerNameW(buffer, &size)) return std::u16string();
        buffer[255] = L'\0';
        return U16(buffer);
    }();
    return name;
}

std::u16string GetOwnExeFileName() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return FileNamePart(U16(buffer.data(), n));
        buffer.resize(buffer.size() * 2);  // long paths are truncated silently: grow and ask again
    }
}

} // namespace vn
