#include "memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "platform/errors.h"
#include "platform/text_codec.h"

namespace vn {

namespace {

// Windows' own normalisation: either separator, no letter case, "." and ".."
// components resolved, no trailing separator.
std::u16string Key(std::u16string_view path) {
    std::vector<std::u16string> parts;
    std::u16string part;
    auto flush = [&] {
        if (part == u"..") {
            if (parts.size() > 1) parts.pop_back();
        } else if (part != u"." && !(part.empty() && !parts.empty())) {
            parts.push_back(part);
        }
        part.clear();
    };
    for (char16_t c : path) {
        if (c == u'/' || c == u'\\') {
            flush();
            continue;
        }
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        part += c;
    }
    flush();
    std::u16string key;
    for (size_t i = 0; i < parts.size(); ++i) key += (i ? u"\\" : u"") + parts[i];
    return key;
}

std::u16string ParentKey(const std::u16string& key) {
    size_t sep = key.rfind(u'\\');
    return sep == std::u16string::npos ? std::u16string() : key.substr(0, sep);
}

bool IsBelow(const std::u16string& key, const std::u16string& folder) {
    return key.size() > folder.size() && key.compare(0, folder.size(), folder) == 0 && key[folder.size()] == u'\\';
}

[[noreturn]] void Fail(const char* what, const std::u16string& path, const char* reason,
                       FileFault fault = FileFault::Unknown) {
    throw FileError(std::string(what) + " \"" + EncodeUtf8(path) + "\". " + reason, fault);
}

constexpr const char* kNoFile = "The system cannot find the file specified.";
constexpr const char* kNoPath = "The system cannot find the path specified.";
constexpr const char* kExists = "Cannot create a file when that file already exists.";
constexpr const char* kIoError = "The request could not be performed because of an I/O device error.";
constexpr const char* kInUse = "The process cannot access the file because it is being used by another process.";

const char* TextOf(FileFault fault) {
    switch (fault) {
    case FileFault::InUse: return kInUse;
    case FileFault::DiskFull: return "There is not enough space on the disk.";
    case FileFault::ReadOnly: return "Access is denied.";
    case FileFault::Unknown: break;
    }
    return kIoError;
}

} // namespace

void MemoryFileSystem::CheckAlive() const {
    if (killed_) throw ProcessKilled{};
}

MemoryFileSystem::StepResult MemoryFileSystem::BeginStep(const std::u16string& what) {
    CheckAlive();
    ++steps_;
    log_.push_back(what);
    if (steps_ == killAt_) {
        killed_ = true;
        return StepResult::Kill;
    }
    if (failAt_.count(steps_)) {
        log_.back() += u" (failed)";
        return StepResult::Fail;
    }
    return StepResult::Done;
}

void MemoryFileSystem::FailedStep(const char* what, const std::u16string& path) const {
    const FileFault cause = failAt_.at(steps_);
    Fail(what, path, TextOf(cause), cause);
}

std::optional<FileFault> MemoryFileSystem::Refusal(const std::u16string& key, bool entry) const {
    for (const std::u16string& held : held_) {
        if (held == key || (entry && IsBelow(held, key))) return FileFault::InUse;
    }
    for (const auto& [folder, below] : readOnly_) {
        if ((entry && key == folder) || (below && IsBelow(key, folder)) || (entry && ParentKey(key) == folder))
            return FileFault::ReadOnly;
    }
    return std::nullopt;
}

void MemoryFileSystem::CheckChange(const char* what, const std::u16string& path, const std::u16string& key,
                                   bool entry) const {
    if (auto fault = Refusal(key, entry)) Fail(what, path, TextOf(*fault), *fault);
}

void MemoryFileSystem::Hold(const std::u16string& path, bool held) {
    if (held) held_.insert(Key(path));
    else held_.erase(Key(path));
}

void MemoryFileSystem::ReadOnly(const std::u16string& folder, bool below) { readOnly_[Key(folder)] = below; }

void MemoryFileSystem::Writable(const std::u16string& folder) { readOnly_.erase(Key(folder)); }

bool MemoryFileSystem::FolderExists(const std::u16string& key) const {
    // A drive or the top of an absolute path always exists.
    if (key.find(u'\\') == std::u16string::npos) return true;
    auto it = nodes_.find(key);
    return it != nodes_.end() && it->second.folder;
}

PathKind MemoryFileSystem::Kind(const std::u16string& path) {
    CheckAlive();
    auto it = nodes_.find(Key(path));
    if (it == nodes_.end()) return PathKind::Missing;
    return it->second.folder ? PathKind::Folder : PathKind::File;
}

namespace {

class MemorySource final : public SourceFile {
public:
    explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
    uint64_t Size() const override { return bytes_.size(); }
    LocalFileTime LastWriteTime() const override { return {2024, 5, 17, 13, 45, 30}; }
    FileIdentity Identity() const override { return {}; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
        if (offset >= bytes_.size()) return 0;
        size_t n = static_cast<size_t>(std::min<uint64_t>(count, bytes_.size() - offset));
        std::memcpy(buffer, bytes_.data() + offset, n);
        return n;
    }

private:
    std::string bytes_; // as the file was when opened
};

// Writes go straight into the file's node, which outlives the handle only as long
// as the file system does.
class MemoryTarget final : public TargetFile {
public:
    MemoryTarget(std::string& bytes, uint64_t id) : bytes_(bytes), id_(id) {}
    FileIdentity Identity() const override { return {0, id_}; }
    size_t WriteAt(uint64_t offset, const void* data, size_t count) override {
        if (offset + count > bytes_.size()) bytes_.resize(static_cast<size_t>(offset + count));
        std::memcpy(bytes_.data() + offset, data, count);
        return count;
    }
    bool Truncate(uint64_t size) override {
        bytes_.resize(static_cast<size_t>(size));
        return true;
    }

private:
    std::string& bytes_;
    uint64_t id_;
};

} // namespace

std::unique_ptr<SourceFile> MemoryFileSystem::OpenRead(const std::u16string& path) {
    return std::make_unique<MemorySource>(ReadFile(path));
}

std::unique_ptr<TargetFile> MemoryFileSystem::Create(const std::u16string& path) {
    WriteFile(path, "");
    auto it = nodes_.find(Key(path));
    return std::make_unique<MemoryTarget>(it->second.data, std::hash<std::u16string>{}(it->first));
}

std::vector<ListedFile> MemoryFileSystem::ListFiles(const std::u16string& folder) {
    CheckAlive();
    std::u16string key = Key(folder);
    if (!FolderExists(key)) Fail("Cannot open file", folder, kNoPath);
    std::vector<ListedFile> files;
    for (const auto& [k, node] : nodes_) {
        if (node.folder || !IsBelow(k, key)) continue;
        std::u16string name = node.path.substr(node.path.size() - (k.size() - key.size() - 1));
        for (char16_t& c : name)
            if (c == u'\\') c = u'/';
        files.push_back({node.path, name});
    }
    return files;
}

void MemoryFileSystem::CreateFolder(const std::u16string& path) {
    CheckAlive();
    if (!FolderExists(ParentKey(Key(path)))) Fail("Cannot create file", path, kNoPath);
    CreateFolders(path);
}

std::string MemoryFileSystem::ReadFile(const std::u16string& path) {
    CheckAlive();
    std::u16string key = Key(path);
    auto it = nodes_.find(key);
    if (it == nodes_.end() || it->second.folder) Fail("Cannot open file", path, kNoFile);
    if (locked_.count(key) || held_.count(key)) Fail("Cannot open file", path, kInUse, FileFault::InUse);
    return it->second.data;
}

void MemoryFileSystem::Lock(const std::u16string& path, bool locked) {
    if (locked) locked_.insert(Key(path));
    else locked_.erase(Key(path));
}

void MemoryFileSystem::WriteFile(const std::u16string& path, std::string_view bytes, Durability durability) {
    CheckAlive();
    std::u16string key = Key(path);
    if (!FolderExists(ParentKey(key))) Fail("Cannot create file", path, kNoPath);
    auto it = nodes_.find(key);
    if (it != nodes_.end() && it->second.folder) Fail("Cannot create file", path, "Access is denied.");
    CheckChange("Cannot create file", path, key, it == nodes_.end());
    if (full_) Fail("Cannot create file", path, TextOf(FileFault::DiskFull), FileFault::DiskFull);
    StepResult step = BeginStep(u"write " + path);
    if (step == StepResult::Done) {
        nodes_[key] = Node{false, std::string(bytes), path, std::nullopt};
        if (durability == Durability::Flushed) {
            nodes_[key].flushed = nodes_[key].data;
            Commit();
        }
        return;
    }
    // Cut short: the file exists with only the first half of its bytes.
    nodes_[key] = Node{false, std::string(bytes.substr(0, bytes.size() / 2)), path, std::nullopt};
    if (step == StepResult::Kill) throw ProcessKilled{};
    FailedStep("Cannot create file", path);
}

void MemoryFileSystem::RemoveFile(const std::u16string& path) {
    CheckAlive();
    std::u16string key = Key(path);
    auto it = nodes_.find(key);
    if (it == nodes_.end()) return;
    if (it->second.folder) Fail("Cannot delete file", path, "Access is denied.");
    CheckChange("Cannot delete file", path, key, true);
    StepResult step = BeginStep(u"delete " + path);
    if (step == StepResult::Kill) throw ProcessKilled{};
    if (step == StepResult::Fail) FailedStep("Cannot delete file", path);
    nodes_.erase(it);
}

void MemoryFileSystem::CreateFolders(const std::u16string& path) {
    CheckAlive();
    std::u16string key = Key(path);
    std::vector<std::u16string> missing;
    for (std::u16string k = key; k.find(u'\\') != std::u16string::npos; k = ParentKey(k)) {
        auto it = nodes_.find(k);
        if (it != nodes_.end()) {
            if (!it->second.folder) Fail("Cannot create directory", path, kExists);
            break;
        }
        missing.push_back(k);
    }
    std::u16string shown = path;
    for (auto k = missing.rbegin(); k != missing.rend(); ++k) {
        CheckChange("Cannot create directory", path, *k, true);
        if (full_) Fail("Cannot create directory", path, TextOf(FileFault::DiskFull), FileFault::DiskFull);
        StepResult step = BeginStep(u"mkdir " + *k);
        if (step == StepResult::Kill) throw ProcessKilled{};
        if (step == StepResult::Fail) FailedStep("Cannot create directory", path);
        nodes_[*k] = Node{true, {}, shown.substr(0, std::min(shown.size(), k->size())), std::nullopt};
    }
}

void MemoryFileSystem::DeleteDirectory(const std::u16string& path) {
    CheckAlive();
    std::u16string key = Key(path);
    auto self = nodes_.find(key);
    if (self == nodes_.end() || !self->second.folder) return;
    std::vector<std::u16string> files, folders;
    for (const auto& [k, node] : nodes_) {
        if (k != key && !IsBelow(k, key)) continue;
        (node.folder ? folders : files).push_back(k);
    }
    // Files in name order (so the bodies go before the index), then folders from the deepest.
    std::sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    files.insert(files.end(), folders.begin(), folders.end());
    for (const auto& k : files) {
        auto it = nodes_.find(k);
        if (Refusal(k, true)) continue; // held, or in a read-only folder: it stays
        if (it->second.folder) {
            bool hasChildren = std::any_of(nodes_.begin(), nodes_.end(), [&](const auto& n) { return IsBelow(n.first, k); });
            if (hasChildren) continue; // something below it could not be deleted
        }
        StepResult step = BeginStep(u"delete " + it->second.path);
        if (step == StepResult::Kill) throw ProcessKilled{};
        if (step == StepResult::Done) nodes_.erase(it);
    }
}

void MemoryFileSystem::Rename(const std::u16string& from, const std::u16string& to, Durability durability) {
    CheckAlive();
    std::u16string fromKey = Key(from), toKey = Key(to);
    auto src = nodes_.find(fromKey);
    if (src == nodes_.end()) Fail("Cannot rename", from, kNoFile);
    if (!FolderExists(ParentKey(toKey))) Fail("Cannot rename", from, kNoPath);
    auto dst = nodes_.find(toKey);
    if (dst != nodes_.end() && (src->second.folder || dst->second.folder)) Fail("Cannot rename", from, kExists);
    if (IsBelow(toKey, fromKey)) Fail("Cannot rename", from, "The process cannot access the file.");
    CheckChange("Cannot rename", from, fromKey, true);
    CheckChange("Cannot rename", from, toKey, true);
    StepResult step = BeginStep(u"rename " + from + u" > " + to);
    if (step == StepResult::Kill) throw ProcessKilled{};
    if (step == StepResult::Fail) FailedStep("Cannot rename", from);

    std::vector<std::pair<std::u16string, Node>> moved;
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        if (it->first == fromKey || IsBelow(it->first, fromKey)) {
            std::u16string rest = it->first.substr(fromKey.size());
            Node node = std::move(it->second);
            node.path = to + node.path.substr(std::min(node.path.size(), from.size()));
            moved.emplace_back(toKey + rest, std::move(node));
            it = nodes_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& [k, node] : moved) nodes_[k] = std::move(node);
    if (durability == Durability::Flushed) Commit(); // write-through
}

std::vector<std::u16string> MemoryFileSystem::List(const std::u16string& folder) {
    CheckAlive();
    std::u16string key = Key(folder);
    if (!FolderExists(key)) Fail("Cannot open folder", folder, kNoPath);
    std::vector<std::u16string> names;
    for (const auto& [k, node] : nodes_) {
        if (IsBelow(k, key) && k.find(u'\\', key.size() + 1) == std::u16string::npos) {
            size_t sep = node.path.find_last_of(u"\\/");
            names.push_back(sep == std::u16string::npos ? node.path : node.path.substr(sep + 1));
        }
    }
    return names;
}

void MemoryFileSystem::Commit() {
    ++flushes_;
    if (!tracking_) return;
    durable_ = nodes_;
    for (auto& [k, node] : durable_) {
        if (!node.folder) node.data = node.flushed.value_or(std::string());
    }
}

void MemoryFileSystem::MakeDurable() {
    for (auto& [k, node] : nodes_)
        if (!node.folder) node.flushed = node.data;
    Commit();
}

MemoryFileSystem MemoryFileSystem::PowerCutSurvivor() const { return NextStart(durable_, true); }

MemoryFileSystem MemoryFileSystem::Survivor() const { return NextStart(nodes_, tracking_); }

MemoryFileSystem MemoryFileSystem::NextStart(const std::map<std::u16string, Node>& disk, bool tracking) const {
    MemoryFileSystem copy;
    copy.nodes_ = disk;
    copy.tracking_ = tracking;
    copy.durable_ = durable_;
    return copy;
}

std::vector<std::u16string> MemoryFileSystem::Files() const {
    std::vector<std::u16string> out;
    for (const auto& [k, node] : nodes_)
        if (!node.folder) out.push_back(node.path);
    return out;
}

} // namespace vn
