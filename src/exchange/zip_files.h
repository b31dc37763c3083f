#pragma once
// What the archive code needs of the file system. The platform implementations
// are small (POSIX natively, Win32 in the Windows build); tests and the fuzzer
// can substitute their own.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vn {

#ifdef _WIN32
constexpr char16_t kZipPathSeparator = u'\\';
#else
constexpr char16_t kZipPathSeparator = u'/';
#endif

// Last-write time of a file as a local calendar time.
struct ZipLocalTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Which file an open handle refers to, whatever path led to it (links, case,
// short names): how packing recognises its own archive among the sources.
struct ZipFileIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const ZipFileIdentity&) const = default;
};

class ZipSourceFile {
public:
    virtual ~ZipSourceFile() = default;
    virtual uint64_t Size() const = 0;
    virtual ZipLocalTime LastWriteTime() const = 0;
    virtual ZipFileIdentity Identity() const = 0;
    // Reads up to `count` bytes at `offset`; fewer only at the end of the file or
    // on a read error.
    virtual size_t ReadAt(uint64_t offset, void* buffer, size_t count) = 0;
};

class ZipTargetFile {
public:
    virtual ~ZipTargetFile() = default;
    virtual ZipFileIdentity Identity() const = 0;
    // Writes `count` bytes at `offset`; returns fewer only on a write error.
    virtual size_t WriteAt(uint64_t offset, const void* data, size_t count) = 0;
    // Cuts the file at `size`; false on failure.
    virtual bool Truncate(uint64_t size) = 0;
};

struct ZipListedFile {
    std::u16string path;  // full path, as the file system knows it
    std::u16string name;  // relative to the listed folder, "/" between components
};

enum class ZipPathKind { Missing, File, Folder, Other };

class ZipFileSystem {
public:
    virtual ~ZipFileSystem() = default;
    // Raises "Cannot open file "%s". %s".
    virtual std::unique_ptr<ZipSourceFile> OpenRead(const std::u16string& path) = 0;
    // Creates or replaces a file. Raises "Cannot create file "%s". %s".
    virtual std::unique_ptr<ZipTargetFile> Create(const std::u16string& path) = 0;
    // Every regular file below `folder`, hidden and system files included, entering
    // subfolders where the listing meets them. Links and special files are left out:
    // packing never follows a link out of the folder.
    virtual std::vector<ZipListedFile> ListFiles(const std::u16string& folder) = 0;
    // What is at `path`, without following a link there (a link is Other).
    virtual ZipPathKind Kind(const std::u16string& path) = 0;
    // Creates one folder whose parent exists. Raises "Cannot create file "%s". %s".
    virtual void CreateFolder(const std::u16string& path) = 0;
    // Creates `path` and every missing folder above it.
    virtual void CreateFolders(const std::u16string& path) = 0;
};

// The file system of the platform the program runs on.
ZipFileSystem& PlatformZipFileSystem();

// The failure texts of file access; `path` is shown expanded (absolute).
[[noreturn]] void RaiseCannotOpenFile(const std::u16string& path, const std::string& systemMessage);
[[noreturn]] void RaiseCannotCreateFile(const std::u16string& path, const std::string& systemMessage);

} // namespace vn
