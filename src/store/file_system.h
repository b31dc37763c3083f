#pragma once
// What the store needs of the file system. Paths are UTF-16, absolute or
// relative, with "\" between components (the data folder ends in one); "/" is
// accepted as well. Failures raise vn::Error with a text naming the path.
//
// Implementations: MemoryFileSystem (tests: fault injection, kill simulation),
// RealFileSystem (std::filesystem; native tools and tests) and
// WindowsFileSystem (the program).
#include <string>
#include <string_view>
#include <vector>

namespace vn {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True for an existing file or folder.
    virtual bool Exists(const std::u16string& path) = 0;

    // The whole file. Others may read it meanwhile but not write it.
    // Failure: Cannot open file "<path>". <reason>
    virtual std::string ReadFile(const std::u16string& path) = 0;

    // Creates or replaces the file with exactly these bytes; the folder must exist.
    // Failure: Cannot create file "<path>". <reason>
    virtual void WriteFile(const std::u16string& path, std::string_view bytes) = 0;

    // Deletes a file; a missing file is no error.
    // Failure: Cannot delete file "<path>". <reason>
    virtual void RemoveFile(const std::u16string& path) = 0;

    // Creates the folder and every missing level above it; an existing folder is fine.
    virtual void CreateDirectories(const std::u16string& path) = 0;

    // Deletes the folder and everything below it for good. Reports nothing: a
    // missing folder is no error, and whatever cannot be deleted stays.
    virtual void DeleteDirectory(const std::u16string& path) = 0;

    // Moves a file or folder to a new name in an existing folder. A file replaces
    // an existing file; a folder never replaces anything (that fails).
    virtual void Rename(const std::u16string& from, const std::u16string& to) = 0;

    // Names (not paths) of the files and folders directly inside a folder.
    virtual std::vector<std::u16string> List(const std::u16string& folder) = 0;
};

// Folder part of a path: everything before its last separator.
std::u16string ParentPath(std::u16string_view path);

} // namespace vn
