#pragma once
// An in-memory file system for the archive code: fast enough for 65,536 files
// and for fuzzing, and it sees every path the code asks to write.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "exchange/zip_files.h"

namespace vn::test {

class MemoryZipFileSystem : public ZipFileSystem {
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
    ZipLocalTime time{2024, 5, 17, 13, 45, 30};

    std::unique_ptr<ZipSourceFile> OpenRead(const std::u16string& path) override;
    std::unique_ptr<ZipTargetFile> Create(const std::u16string& path) override;
    std::vector<ZipListedFile> ListFiles(const std::u16string& folder) override;
    ZipPathKind Kind(const std::u16string& path) override;
    void CreateFolder(const std::u16string& path) override;
    void CreateFolders(const std::u16string& path) override;

private:
    uint64_t nextId_ = 1;
};

} // namespace vn::test
