#include "memory_archive_files.h"

#include "platform/errors.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <cstring>

namespace vn::test {

namespace {

std::u16string ParentOf(const std::u16string& path) {
    size_t cut = path.find_last_of(u'/');
    return cut == std::u16string::npos || cut == 0 ? std::u16string(u"/") : path.substr(0, cut);
}

class MemorySource : public SourceFile {
public:
    MemorySource(const MemoryArchiveFiles::File& file, LocalFileTime time) : file_(file), time_(time) {}
    uint64_t Size() const override { return file_.bytes.size(); }
    LocalFileTime LastWriteTime() const override { return time_; }
    FileIdentity Identity() const override { return {1, file_.id}; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
        uint64_t size = file_.failReads ? file_.bytes.size() / 2 : file_.bytes.size();
        if (offset >= size) return 0;
        size_t n = static_cast<size_t>(std::min<uint64_t>(count, size - offset));
        std::memcpy(buffer, file_.bytes.data() + offset, n);
        return n;
    }

private:
    const MemoryArchiveFiles::File& file_;
    LocalFileTime time_;
};

class MemoryTarget : public TargetFile {
public:
    explicit MemoryTarget(MemoryArchiveFiles::File& file) : file_(file) {}
    FileIdentity Identity() const override { return {1, file_.id}; }
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
    MemoryArchiveFiles::File& file_;
};

} // namespace

void MemoryArchiveFiles::AddFile(const std::u16string& path, std::string bytes) {
    CreateFolders(ParentOf(path));
    File& file = files[path];
    file.bytes = std::move(bytes);
    file.id = nextId_++;
}

void MemoryArchiveFiles::AddFolder(const std::u16string& path) { CreateFolders(path); }

const MemoryArchiveFiles::File* MemoryArchiveFiles::Find(const std::u16string& path) const {
    auto it = files.find(path);
    return it == files.end() ? nullptr : &it->second;
}

std::string MemoryArchiveFiles::ReadFile(const std::u16string& path) {
    auto it = files.find(path);
    if (it == files.end()) RaiseCannotOpenFile(path, "No such file or directory");
    return it->second.bytes;
}

void MemoryArchiveFiles::WriteFile(const std::u16string& path, std::string_view bytes, Durability) {
    Create(path)->WriteAt(0, bytes.data(), bytes.size());
}

void MemoryArchiveFiles::RemoveFile(const std::u16string& path) { files.erase(path); }

void MemoryArchiveFiles::Rename(const std::u16string& from, const std::u16string& to, Durability) {
    auto it = files.find(from);
    if (it == files.end() || folders.count(to) || !folders.count(ParentOf(to)))
        throw Error("Cannot rename \"" + EncodeUtf8(from) + "\".");
    File moved = std::move(it->second);
    files.erase(it);
    files[to] = std::move(moved);
}

void MemoryArchiveFiles::DeleteDirectory(const std::u16string& path) {
    const std::u16string prefix = path + u"/";
    std::erase_if(files, [&](const auto& f) { return f.first.starts_with(prefix); });
    std::erase_if(folders, [&](const auto& f) { return f == path || f.starts_with(prefix); });
}

std::vector<std::u16string> MemoryArchiveFiles::List(const std::u16string& folder) {
    if (!folders.count(folder)) RaiseCannotOpenFile(folder, "No such file or directory");
    const std::u16string prefix = folder == u"/" ? folder : folder + u"/";
    std::vector<std::u16string> names;
    auto direct = [&](const std::u16string& path) {
        if (path.starts_with(prefix) && path.size() > prefix.size() &&
            path.find(u'/', prefix.size()) == std::u16string::npos)
            names.push_back(path.substr(prefix.size()));
    };
    for (const auto& [path, file] : files) direct(path);
    for (const auto& path : folders) direct(path);
    return names;
}

std::unique_ptr<SourceFile> MemoryArchiveFiles::OpenRead(const std::u16string& path) {
    auto it = files.find(path);
    if (it == files.end()) RaiseCannotOpenFile(path, "No such file or directory");
    return std::make_unique<MemorySource>(it->second, time);
}

std::unique_ptr<TargetFile> MemoryArchiveFiles::Create(const std::u16string& path) {
    created.push_back(path);
    if (!folders.count(ParentOf(path)) || folders.count(path)) RaiseCannotCreateFile(path, "No such file or directory");
    File& file = files[path];
    file.bytes.clear();
    if (file.id == 0) file.id = nextId_++;
    return std::make_unique<MemoryTarget>(file);
}

std::vector<ListedFile> MemoryArchiveFiles::ListFiles(const std::u16string& folder) {
    if (!folders.count(folder)) RaiseCannotOpenFile(folder, "No such file or directory");
    std::vector<ListedFile> listed;
    const std::u16string prefix = folder == u"/" ? folder : folder + u"/";
    for (const auto& [path, file] : files)
        if (path.starts_with(prefix)) listed.push_back({path, path.substr(prefix.size())});
    return listed;
}

PathKind MemoryArchiveFiles::Kind(const std::u16string& path) {
    if (files.count(path)) return PathKind::File;
    if (folders.count(path)) return PathKind::Folder;
    return PathKind::Missing;
}

void MemoryArchiveFiles::CreateFolder(const std::u16string& path) {
    created.push_back(path);
    if (!folders.count(ParentOf(path)) || files.count(path)) RaiseCannotCreateFile(path, "No such file or directory");
    folders.insert(path);
}

void MemoryArchiveFiles::CreateFolders(const std::u16string& path) {
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
