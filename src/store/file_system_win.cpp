#include "store/file_system_win.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/errors.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"

namespace vn {

namespace {

[[noreturn]] void FailLast(const char* what, const std::u16string& path) {
    DWORD code = GetLastError();
    throw Error(std::string(what) + " \"" + Utf8(path) + "\". " + Utf8(SystemErrorMessage(code)));
}

// Keeps each call well inside the DWORD that ReadFile and WriteFile take.
constexpr DWORD kChunk = 1u << 30;

} // namespace

void DeleteDirectory(const std::u16string& path) {
    std::u16string from = path;
    from.push_back(u'\0'); // a list of one path ends with a second NUL
    SHFILEOPSTRUCTW op;
    ZeroMemory(&op, sizeof op);
    op.hwnd = nullptr;
    op.wFunc = FO_DELETE;
    op.pFrom = W(from);
    op.pTo = nullptr;
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI; // 0x0414
    SHFileOperationW(&op);
}

bool WindowsFileSystem::Exists(const std::u16string& path) {
    return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES;
}

std::string WindowsFileSystem::ReadFile(const std::u16string& path) {
    HANDLE raw = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) FailLast("Cannot open file", path);
    UniqueFileHandle file(raw);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(raw, &size)) FailLast("Cannot open file", path);
    std::string data(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < data.size()) {
        DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - done, kChunk)), got = 0;
        if (!::ReadFile(raw, data.data() + done, want, &got, nullptr)) FailLast("Cannot open file", path);
        if (got == 0) break;
        done += got;
    }
    data.resize(done);
    return data;
}

void WindowsFileSystem::WriteFile(const std::u16string& path, std::string_view bytes) {
    HANDLE raw = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) FailLast("Cannot create file", path);
    UniqueFileHandle file(raw);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kChunk)), put = 0;
        if (!::WriteFile(raw, bytes.data() + done, want, &put, nullptr)) FailLast("Cannot create file", path);
        done += put;
    }
    if (!CloseHandle(file.release())) FailLast("Cannot create file", path);
}

void WindowsFileSystem::RemoveFile(const std::u16string& path) {
    if (!::DeleteFileW(W(path))) {
        DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return;
        SetLastError(code);
        FailLast("Cannot delete file", path);
    }
}

void WindowsFileSystem::Rename(const std::u16string& from, const std::u16string& to) {
    // A file replaces a file; MoveFileExW never lets a folder replace anything.
    if (!MoveFileExW(W(from), W(to), MOVEFILE_REPLACE_EXISTING)) FailLast("Cannot rename", from);
}

} // namespace vn
