#pragma once
// The program's one view of the file system, for the store and the archive.
// Paths are UTF-16, absolute or relative; "\" and "/" both separate components.
// Failures raise vn::FileError (errors.h) with a text naming the path and the
// cause as far as the system tells it.
//
// Implementations: the platform's own (PlatformFileSystem: file_system_win.cpp
// in the program, file_system_posix.cpp natively); tests bring in-memory ones.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace vn {

#ifdef _WIN32
constexpr char16_t kPathSeparator = u'\\';
#else
constexpr char16_t kPathSeparator = u'/';
#endif

// Last-write time of a file as a local calendar time.
struct LocalFileTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Which file an open handle refers to, whatever path led to it (links, case,
// short names): how packing recognises its own archive among the sources.
struct FileIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

class SourceFile {
public:
    virtual ~SourceFile() = default;
    virtual uint64_t Size() const = 0;
    virtual LocalFileTime LastWriteTime() const = 0;
    virtual FileIdentity Identity() const = 0;
    // Reads up to `count` bytes at `offset`; fewer only at the end of the file or
    // on a read error.
    virtual size_t ReadAt(uint64_t offset, void* buffer, size_t count) = 0;
};

class TargetFile {
public:
    virtual ~TargetFile() = default;
    virtual FileIdentity Identity() const = 0;
    // Writes `count` bytes at `offset`; returns fewer only on a write error.
    virtual size_t WriteAt(uint64_t offset, const void* data, size_t count) = 0;
    // Cuts the file at `size`; false on failure.
    virtual bool Truncate(uint64_t size) = 0;
};

struct ListedFile {
    std::u16string path; // full path, as the file system knows it
    std::u16string name; // relative to the listed folder, "/" between components
};

enum class PathKind { Missing, File, Folder, Other };

// Whether a written file is on the disk itself when the write returns
// (FlushFileBuffers), or may still sit in the system's cache, to be lost in a
// power cut.
enum class Durability { Cached, Flushed };

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // What is at `path`, without following a link there (a link is Other).
    virtual PathKind Kind(const std::u16string& path) = 0;
    // True for an existing file, folder or anything else.
    bool Exists(const std::u16string& path) { return Kind(path) != PathKind::Missing; }

    // --- Whole files, as the store reads and writes them ---

    // The whole file. Others may read it meanwhile but not write it.
    // Failure: Cannot open file "<path>". <reason>
    virtual std::string ReadFile(const std::u16string& path) = 0;
    // Creates or replaces the file with exactly these bytes; the folder must exist.
    // Failure: Cannot create file "<path>". <reason>
    virtual void WriteFile(const std::u16string& path, std::string_view bytes, Durability durability) = 0;
    void WriteFile(const std::u16string& path, std::string_view bytes) { WriteFile(path, bytes, Durability::Cached); }
    // Deletes a file; a missing file is no error.
    // Failure: Cannot delete file "<path>". <reason>
    virtual void RemoveFile(const std::u16string& path) = 0;
    // Moves a file or folder to a new name in an existing folder. A file replaces
    // an existing file; a folder never replaces anything (that fails). Flushed
    // (write-through) renames are on the disk when this returns, and with them
    // every change of names made before (the file system logs them in order);
    // the data of files written Cached may still not be.
    virtual void Rename(const std::u16string& from, const std::u16string& to, Durability durability) = 0;
    void Rename(const std::u16string& from, const std::u16string& to) { Rename(from, to, Durability::Flushed); }
    // Deletes the folder and everything below it for good. Reports nothing: a
    // missing folder is no error, and whatever cannot be deleted stays.
    virtual void DeleteDirectory(const std::u16string& path) = 0;
    // Names (not paths) of the files and folders directly inside a folder.
    virtual std::vector<std::u16string> List(const std::u16string& folder) = 0;

    // --- Open files and trees, as the archive reads and writes them ---

    // Others may read and write the file meanwhile. Raises "Cannot open file "%s". %s".
    virtual std::unique_ptr<SourceFile> OpenRead(const std::u16string& path) = 0;
    // Creates or replaces a file. Raises "Cannot create file "%s". %s".
    virtual std::unique_ptr<TargetFile> Create(const std::u16string& path) = 0;
    // Every regular file below `folder`, hidden and system files included, entering
    // subfolders where the listing meets them. Links and special files are left out:
    // packing never follows a link out of the folder.
    virtual std::vector<ListedFile> ListFiles(const std::u16string& folder) = 0;
    // Creates one folder whose parent exists. Raises "Cannot create file "%s". %s".
    virtual void CreateFolder(const std::u16string& path) = 0;
    // Creates `path` and every missing folder above it; an existing folder is fine.
    virtual void CreateFolders(const std::u16string& path) = 0;
};

// The file system of the platform the program runs on.
FileSystem& PlatformFileSystem();

// Folder part of a path: everything before its last separator.
std::u16string ParentPath(std::u16string_view path);

// `path` made absolute against the current folder; as given when that fails.
std::u16string AbsolutePath(const std::u16string& path);

// The failure texts of file access; `path` is shown expanded (absolute).
[[noreturn]] void RaiseCannotOpenFile(const std::u16string& path, const std::string& systemMessage,
                                      FileFault fault = FileFault::Unknown);
[[noreturn]] void RaiseCannotCreateFile(const std::u16string& path, const std::string& systemMessage,
                                        FileFault fault = FileFault::Unknown);

} // namespace vn
