// The archive code's file access on Windows: wide paths throughout, hidden and
// system files listed like any other, last-write times in local time.
#include <windows.h>

#include "exchange/zip_archive.h"
#include "exchange/zip_files.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"

#include <algorithm>

namespace vn {

namespace {

std::string LastErrorText(DWORD code) { return Utf8(SystemErrorMessage(code)); }

ZipFileIdentity IdentityOf(HANDLE file) {
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

class WinSourceFile : public ZipSourceFile {
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
    ZipLocalTime LastWriteTime() const override { return time_; }
    ZipFileIdentity Identity() const override { return identity_; }
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
    ZipFileIdentity identity_;
    ZipLocalTime time_;
};

class WinTargetFile : public ZipTargetFile {
public:
    explicit WinTargetFile(HANDLE h) : file_(h), identity_(IdentityOf(h)) {}
    ZipFileIdentity Identity() const override { return identity_; }
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
    ZipFileIdentity identity_;
};

// Junctions and symbolic links are reparse points with these tags: packing does
// not follow them (other reparse points, such as deduplicated files, are data).
bool IsLink(const WIN32_FIND_DATAW& item) {
    return (item.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (item.dwReserved0 == IO_REPARSE_TAG_SYMLINK || item.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

void ListInto(const std::u16string& folder, const std::u16string& prefix, std::vector<ZipListedFile>& files) {
    const std::u16string pattern = folder + u"\\*";
    WIN32_FIND_DATAW item = {};
    UniqueFind find(FindFirstFileExW(W(pattern), FindExInfoBasic, &item, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return;  // an empty drive root
        RaiseCannotOpenFile(folder, LastErrorText(error));
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

class WinFileSystem : public ZipFileSystem {
public:
    std::unique_ptr<ZipSourceFile> OpenRead(const std::u16string& path) override {
        HANDLE h = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE) RaiseCannotOpenFile(path, LastErrorText(GetLastError()));
        return std::make_unique<WinSourceFile>(h);
    }

    std::unique_ptr<ZipTargetFile> Create(const std::u16string& path) override {
        HANDLE h = CreateFileW(W(path), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) RaiseCannotCreateFile(path, LastErrorText(GetLastError()));
        return std::make_unique<WinTargetFile>(h);
    }

    std::vector<ZipListedFile> ListFiles(const std::u16string& folder) override {
        std::u16string root = folder;
        while (root.size() > 3 && (root.back() == u'\\' || root.back() == u'/')) root.pop_back();
        std::vector<ZipListedFile> files;
        ListInto(root, u"", files);
        return files;
    }

    ZipPathKind Kind(const std::u16string& path) override {
        DWORD attributes = GetFileAttributesW(W(path));
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ZipPathKind::Missing
                                                                                   : ZipPathKind::Other;
        }
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return ZipPathKind::Other;
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? ZipPathKind::Folder : ZipPathKind::File;
    }

    void CreateFolder(const std::u16string& path) override {
        if (CreateDirectoryW(W(path), nullptr)) return;
        DWORD error = GetLastError();
        if (!(error == ERROR_ALREADY_EXISTS && Kind(path) == ZipPathKind::Folder))
            RaiseCannotCreateFile(path, LastErrorText(error));
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

ZipFileSystem& PlatformZipFileSystem() {
    static WinFileSystem files;
    return files;
}

void ZipDirectoryContents(const std::u16string& ZipFileName, const std::u16string& Path, int Compression) {
    ZipDirectoryContents(ZipFileName, Path, Compression, PlatformZipFileSystem());
}

void ExtractZipFile(const std::u16string& ZipFileName, const std::u16string& Path) {
    ExtractZipFile(ZipFileName, Path, PlatformZipFileSystem());
}

} // namespace vn
