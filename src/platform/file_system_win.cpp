// The file system on Windows: wide paths throughout, the share modes the store
// relies on, renames through MoveFileExW, the folder deletion through the shell,
// hidden and system files listed like any other, last-write times in local time.
#include <windows.h>
#include <shellapi.h>

#include "platform/errors.h"
#include "platform/file_fault.h"
#include "platform/file_system.h"
#include "platform/file_system_win.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"

#include <algorithm>
#include <string>

namespace vn {

namespace {

std::string LastErrorText(DWORD code) { return Utf8(SystemErrorMessage(code)); }

// What an open made only to look says: closed at once when it was made.
ProbeOpen ProbeResult(HANDLE h) {
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return ProbeOpen::Opened;
    }
    switch (GetLastError()) {
    case ERROR_FILE_EXISTS: return ProbeOpen::Opened; // a probe file of the same name: allowed
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return ProbeOpen::Shared;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return ProbeOpen::Denied;
    default: return ProbeOpen::Missing;
    }
}

// Opens a file or folder for `access`, sharing everything, only to see whether
// the system would let a change through.
ProbeOpen TryOpen(const std::u16string& path, DWORD access) {
    return ProbeResult(CreateFileW(W(path), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// Whether a new file may be made in `folder`: one is made, and goes when it is
// closed. Opening the folder itself says too little: Wine lets a folder be opened
// for any change and refuses only the change (an immutable folder, say).
ProbeOpen TryCreateIn(const std::u16string& folder) {
    const std::wstring name = L"\\~vn-probe-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetCurrentThreadId()) + L".tmp";
    return ProbeResult(CreateFileW(W(folder + U16(name)), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                   nullptr));
}

// Why the change of `path` was refused with ERROR_ACCESS_DENIED. A folder's
// read-only attribute is left out: Windows does not enforce it (Explorer marks
// customised folders with it).
FileFault FaultOfDenial(const std::u16string& path) {
    AccessProbe probe;
    const DWORD attributes = GetFileAttributesW(W(path));
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        probe.readOnlyAttribute = (attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        // A file is asked for its data too: Wine opens an immutable file for
        // deletion and refuses only the deletion, but refuses to open it for writing.
        probe.target = TryOpen(path, (attributes & FILE_ATTRIBUTE_DIRECTORY) ? DELETE : DELETE | FILE_WRITE_DATA);
    }
    const std::u16string folder = ParentPath(path);
    if (!folder.empty()) {
        probe.folder = TryOpen(folder, FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_DELETE_CHILD);
        if (probe.folder == ProbeOpen::Opened) probe.folder = TryCreateIn(folder);
    }
    return FaultOfAccessDenied(probe);
}

// Not in every SDK's headers.
constexpr DWORD kDiskQuotaExceeded = 1295; // ERROR_DISK_QUOTA_EXCEEDED

FileFault FaultOf(DWORD code, const std::u16string& path) {
    switch (code) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return FileFault::InUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kDiskQuotaExceeded: return FileFault::DiskFull;
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_READ_ONLY: return FileFault::ReadOnly;
    case ERROR_ACCESS_DENIED: return FaultOfDenial(path);
    default: return FileFault::Unknown;
    }
}

// The graver of two causes, for a refusal that may lie with either of two paths.
FileFault Graver(FileFault a, FileFault b) {
    auto rank = [](FileFault f) { return f == FileFault::ReadOnly ? 2 : f == FileFault::Unknown ? 0 : 1; };
    return rank(b) > rank(a) ? b : a;
}

[[noreturn]] void Raise(const char* what, const std::u16string& path, DWORD code, FileFault fault) {
    throw FileError(std::string(what) + " \"" + Utf8(path) + "\". " + LastErrorText(code), fault);
}

// Raises for the last error, which must be the refusal of a change of `path`.
[[noreturn]] void FailLast(const char* what, const std::u16string& path) {
    const DWORD code = GetLastError();
    Raise(what, path, code, FaultOf(code, path));
}

// Keeps each call well inside the DWORD that ReadFile and WriteFile take.
constexpr DWORD kChunk = 1u << 30;

FileIdentity IdentityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(file, &info)) return {};
    return {info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

OVERLAPPED At(uint64_t offset) {
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

class WinSourceFile : public SourceFile {
public:
    explicit WinSourceFile(HANDLE h) : file_(h) {
        BY_HANDLE_FILE_INFORMATION info = {};
        GetFileInformationByHandle(h, &info);
        size_ = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
        identity_ = {info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
        // The DOS time of an entry is the local time of the file's last write, with
        // the daylight-saving rule of that date (FileTimeToLocalFileTime would apply
        // today's, an hour off for half the year).
        SYSTEMTIME utc = {};
        SYSTEMTIME t = {};
        if (FileTimeToSystemTime(&info.ftLastWriteTime, &utc) && SystemTimeToTzSpecificLocalTime(nullptr, &utc, &t))
            time_ = {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }
    uint64_t Size() const override { return size_; }
    LocalFileTime LastWriteTime() const override { return time_; }
    FileIdentity Identity() const override { return identity_; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
        size_t done = 0;
        while (done < count) {
            OVERLAPPED at = At(offset + done);
            DWORD n = 0;
            DWORD want = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
            if (!ReadFile(file_.get(), static_cast<char*>(buffer) + done, want, &n, &at) || n == 0) break;
            done += n;
        }
        return done;
    }

private:
    UniqueFileHandle file_;
    uint64_t size_ = 0;
    FileIdentity identity_;
    LocalFileTime time_;
};

class WinTargetFile : public TargetFile {
public:
    explicit WinTargetFile(HANDLE h) : file_(h), identity_(IdentityOf(h)) {}
    FileIdentity Identity() const override { return identity_; }
    size_t WriteAt(uint64_t offset, const void* data, size_t count) override {
        size_t done = 0;
        while (done < count) {
            OVERLAPPED at = At(offset + done);
            DWORD n = 0;
            DWORD want = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
            if (!WriteFile(file_.get(), static_cast<const char*>(data) + done, want, &n, &at) || n == 0) break;
            done += n;
        }
        return done;
    }
    bool Truncate(uint64_t size) override {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(size);
        return SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN) && SetEndOfFile(file_.get());
    }

private:
    UniqueFileHandle file_;
    FileIdentity identity_;
};

// Junctions and symbolic links are reparse points with these tags: packing does
// not follow them (other reparse points, such as deduplicated files, are data).
bool IsLink(const WIN32_FIND_DATAW& item) {
    return (item.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (item.dwReserved0 == IO_REPARSE_TAG_SYMLINK || item.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

void ListInto(const std::u16string& folder, const std::u16string& prefix, std::vector<ListedFile>& files) {
    const std::u16string pattern = folder + u"\\*";
    WIN32_FIND_DATAW item = {};
    UniqueFind find(FindFirstFileExW(W(pattern), FindExInfoBasic, &item, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return;  // an empty drive root
        RaiseCannotOpenFile(folder, LastErrorText(error), FaultOf(error, folder));
    }
    do {
        const std::u16string name = U16(item.cFileName);
        if (name == u"." || name == u".." || IsLink(item)) continue;
        if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ListInto(folder + u"\\" + name, prefix + name + u"/", files);
        } else {
            files.push_back({folder + u"\\" + name, prefix + name});
        }
    } while (FindNextFileW(find.get(), &item));
}

class WinFileSystem : public FileSystem {
public:
    std::string ReadFile(const std::u16string& path) override {
        HANDLE raw = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
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

    using FileSystem::WriteFile;
    void WriteFile(const std::u16string& path, std::string_view bytes, Durability durability) override {
        HANDLE raw = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (raw == INVALID_HANDLE_VALUE) FailLast("Cannot create file", path);
        UniqueFileHandle file(raw);
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kChunk)), put = 0;
            if (!::WriteFile(raw, bytes.data() + done, want, &put, nullptr)) FailLast("Cannot create file", path);
            done += put;
        }
        if (durability == Durability::Flushed && !FlushFileBuffers(raw)) FailLast("Cannot create file", path);
        if (!CloseHandle(file.release())) FailLast("Cannot create file", path);
    }

    void RemoveFile(const std::u16string& path) override {
        if (::DeleteFileW(W(path))) return;
        DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return;
        SetLastError(code);
        FailLast("Cannot delete file", path);
    }

    using FileSystem::Rename;
    void Rename(const std::u16string& from, const std::u16string& to, Durability durability) override {
        // A file replaces a file; MoveFileExW never lets a folder replace anything.
        // Write-through: the call returns once the new name is on the disk.
        DWORD flags = MOVEFILE_REPLACE_EXISTING;
        if (durability == Durability::Flushed) flags |= MOVEFILE_WRITE_THROUGH;
        if (MoveFileExW(W(from), W(to), flags)) return;
        // A refusal may lie with the name to replace as well as with the one to move.
        const DWORD code = GetLastError();
        FileFault fault = FaultOf(code, from);
        if (code == ERROR_ACCESS_DENIED && GetFileAttributesW(W(to)) != INVALID_FILE_ATTRIBUTES)
            fault = Graver(fault, FaultOfDenial(to));
        Raise("Cannot rename", from, code, fault);
    }

    void DeleteDirectory(const std::u16string& path) override { vn::DeleteDirectory(path); }

    std::vector<std::u16string> List(const std::u16string& folder) override {
        std::vector<std::u16string> names;
        WIN32_FIND_DATAW item = {};
        UniqueFind find(FindFirstFileExW(W(folder + u"\\*"), FindExInfoBasic, &item, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH));
        if (!find) {
            if (GetLastError() == ERROR_FILE_NOT_FOUND) return names; // an empty drive root
            FailLast("Cannot open folder", folder);
        }
        do {
            std::u16string name = U16(item.cFileName);
            if (name != u"." && name != u"..") names.push_back(std::move(name));
        } while (FindNextFileW(find.get(), &item));
        return names;
    }

    std::unique_ptr<SourceFile> OpenRead(const std::u16string& path) override {
        HANDLE h = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            RaiseCannotOpenFile(path, LastErrorText(error), FaultOf(error, path));
        }
        return std::make_unique<WinSourceFile>(h);
    }

    std::unique_ptr<TargetFile> Create(const std::u16string& path) override {
        HANDLE h = CreateFileW(W(path), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            RaiseCannotCreateFile(path, LastErrorText(error), FaultOf(error, path));
        }
        return std::make_unique<WinTargetFile>(h);
    }

    std::vector<ListedFile> ListFiles(const std::u16string& folder) override {
        std::u16string root = folder;
        while (root.size() > 3 && (root.back() == u'\\' || root.back() == u'/')) root.pop_back();
        std::vector<ListedFile> files;
        ListInto(root, u"", files);
        return files;
    }

    PathKind Kind(const std::u16string& path) override {
        DWORD attributes = GetFileAttributesW(W(path));
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathKind::Missing
                                                                                   : PathKind::Other;
        }
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return PathKind::Other;
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::Folder : PathKind::File;
    }

    void CreateFolder(const std::u16string& path) override {
        if (CreateDirectoryW(W(path), nullptr)) return;
        DWORD error = GetLastError();
        if (!(error == ERROR_ALREADY_EXISTS && Kind(path) == PathKind::Folder))
            RaiseCannotCreateFile(path, LastErrorText(error), FaultOf(error, path));
    }

    void CreateFolders(const std::u16string& path) override {
        std::u16string folder = path;
        while (folder.size() > 3 && (folder.back() == u'\\' || folder.back() == u'/')) folder.pop_back();
        DWORD attributes = GetFileAttributesW(W(folder));
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
        size_t cut = folder.find_last_of(u"\\/");
        if (cut != std::u16string::npos && cut > 0 && folder[cut - 1] != u':' && folder[cut - 1] != u'\\')
            CreateFolders(folder.substr(0, cut));
        CreateFolder(folder);
    }
};

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

FileSystem& PlatformFileSystem() {
    static WinFileSystem files;
    return files;
}

} // namespace vn
