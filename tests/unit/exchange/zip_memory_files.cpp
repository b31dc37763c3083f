#include "zip_memory_files.h"

#include <algorithm>
#include <cstring>

namespace vn::test {

namespace {

std::u16string ParentOf(const std::u16string& path) {
    size_t cut = path.find_last_of(u'/');
    return cut == std::u16string::npos || cut == 0 ? std::u16string(u"/") : path.substr(0, cut);
}

class MemorySource : public ZipSourceFile {
public:
    MemorySource(const MemoryZipFileSystem::File& file, ZipLocalTime time) : file_(file), time_(time) {}
    uint64_t Size() const override { return file_.bytes.size(); }
    ZipLocalTime LastWriteTime() const override { return time_; }
    ZipFileIdentity Identity() const override { return {1, file_.id}; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
        uint64_t size = file_.failReads ? file_.bytes.size() / 2 : file_.bytes.size();
        if (offset >= size) return 0;
        size_t n = static_cast<size_t>(std::min<uint64_t>(count, size - offset));
        std::memcpy(buffer, file_.bytes.data() + offset, n);
        return n;
    }

private:
    const MemoryZipFileSystem::File& file_;
    ZipLocalTime time_;
};

class MemoryTarget : public ZipTargetFile {
public:
    explicit MemoryTarget(MemoryZipFileSystem::File& file) : file_(file) {}
    ZipFileIdentity Identity() const override { return {1, file_.id}; }
    size_t WriteAt(uint64_t offset, const void* data, size_t count) override {
        if (offset + count > file_.bytes.size()) file_.bytes.resize(static_cast<size_t>(offset + count));
        std::memcpy(file_.bytes.data() + offset, data, count);
        return count;
    }
    bool Truncate(uint64_t size) override {
        file_.bytes.resize(static_cast<size_t>(size));
        return true;
    }

private:
    MemoryZipFileSystem::File& file_;
};

} // namespace

void MemoryZipFileSystem::AddFile(const std::u16string& path, std::string bytes) {
    CreateFolders(ParentOf(path));
    File& file = files[path];
    file.bytes = std::move(bytes);
    file.id = nextId_++;
}

void MemoryZipFileSystem::AddFolder(const std::u16string& path) { CreateFolders(path); }

const MemoryZipFileSystem::File* MemoryZipFileSystem::Find(const std::u16string& path) const {
    auto it = files.find(path);
    return it == files.end() ? nullptr : &it->second;
}

std::unique_ptr<ZipSourceFile> MemoryZipFileSystem::OpenRead(const std::u16string& path) {
    auto it = files.find(path);
    if (it == files.end()) RaiseCannotOpenFile(path, "No such file or directory");
    return std::make_unique<MemorySource>(it->second, time);
}

std::unique_ptr<ZipTargetFile> MemoryZipFileSystem::Create(const std::u16string& path) {
    created.push_back(path);
    if (!folders.count(ParentOf(path)) || folders.count(path)) RaiseCannotCreateFile(path, "No such file or directory");
    File& file = files[path];
    file.bytes.clear();
    if (file.id == 0) file.id = nextId_++;
    return std::make_unique<MemoryTarget>(file);
}

std::vector<ZipListedFile> MemoryZipFileSystem::ListFiles(const std::u16string& folder) {
    if (!folders.count(folder)) RaiseCannotOpenFile(folder, "No such file or directory");
    std::vector<ZipListedFile> listed;
    const std::u16string prefix = folder == u"/" ? folder : folder + u"/";
    for (const auto& [path, file] : files)
        if (path.starts_with(prefix)) listed.push_back({path, path.substr(prefix.size())});
    return listed;
}

ZipPathKind MemoryZipFileSystem::Kind(const std::u16string& path) {
    if (files.count(path)) return ZipPathKind::File;
    if (folders.count(path)) return ZipPathKind::Folder;
    return ZipPathKind::Missing;
}

void MemoryZipFileSystem::CreateFolder(const std::u16string& path) {
    created.push_back(path);
    if (!folders.count(ParentOf(path)) || files.count(path)) RaiseCannotCreateFile(path, "No such file or directory");
    folders.insert(path);
}

void MemoryZipFileSystem::CreateFolders(const std::u16string& path) {
    created.push_back(path);
    for (size_t cut = 0; cut != std::u16string::npos;) {
        cut = path.find(u'/', cut + 1);
        std::u16string level = cut == std::u16string::npos ? path : path.substr(0, cut);
        if (files.count(level)) RaiseCannotCreateFile(level, "Not a directory");
        folders.insert(level);
    }
    folders.insert(u"/");
}

} // namespace vn::test
