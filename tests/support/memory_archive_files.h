#pragma once
// An in-memory file system for the archive code: fast enough for 65,536 files
// and for fuzzing, and it sees every path the code asks to write. Paths are
// POSIX-style ("/" only, letter case counts).
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vn::test {

class MemoryArchiveFiles : public FileSystem {
public:
    struct File {
        std::string bytes;
        uint64_t id = 0;
        bool failReads = false;  // reads stop halfway, as on a failing disk
    };

    void AddFile(const std::u16string& path, std::string bytes);
    void AddFolder(const std::u16string& path);
    const File* Find(const std::u16string& path) const;

    std::map<std::u16string, File> files;
    std::set<std::u16string> folders;
    std::vector<std::u16string> created;  // every path handed to Create or CreateFolder(s)
    LocalFileTime time{2024, 5, 17, 13, 45, 30};

    std::string ReadFile(const std::u16string& path) override;
    using FileSystem::WriteFile;
    void WriteFile(const std::u16string& path, std::string_view bytes, Durability) override;
    void RemoveFile(const std::u16string& path) override;
    using FileSystem::Rename;
    void Rename(const std::u16string& from, const std::u16string& to, Durability durability) override;
    void DeleteDirectory(const std::u16string& path) override;
    std::vector<std::u16string> List(const std::u16string& folder) override;
    std::unique_ptr<SourceFile> OpenRead(const std::u16string& path) override;
    std::unique_ptr<TargetFile> Create(const std::u16string& path) override;
    std::vector<ListedFile> ListFiles(const std::u16string& folder) override;
    PathKind Kind(const std::u16string& path) override;
    void CreateFolder(const std::u16string& path) override;
    void CreateFolders(const std::u16string& path) override;

private:
    uint64_t nextId_ = 1;
};

} // namespace vn::test
