// The file system on POSIX systems (the native build and its tests and tools).
// "\" in a path is taken as a separator, so the store's Windows-style paths work
// unchanged. The Windows build has its own in file_system_win.cpp.
#ifndef _WIN32

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/scope_exit.h"
#include "platform/text_codec.h"

namespace vn {

namespace {

std::string Native(std::u16string path) {
    for (char16_t& c : path)
        if (c == u'\\') c = u'/';
    return EncodeUtf8(path);
}

// Makes the names in the folder of `path` durable; best effort, as some file
// systems refuse to sync a folder.
void SyncFolderOf(const std::string& path) {
    size_t cut = path.find_last_of('/');
    const std::string folder = cut == std::string::npos ? "." : cut == 0 ? "/" : path.substr(0, cut);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// What an errno says about the cause, for the person to act on.
FileFault FaultOf(int error) {
    switch (error) {
    case EBUSY:
    case ETXTBSY: return FileFault::InUse;
    case ENOSPC:
    case EDQUOT: return FileFault::DiskFull;
    case EROFS:
    case EACCES:
    case EPERM: return FileFault::ReadOnly;
    default: return FileFault::Unknown;
    }
}

[[noreturn]] void Fail(const char* what, const std::u16string& path, const std::string& reason,
                       FileFault fault = FileFault::Unknown) {
    throw FileError(std::string(what) + " \"" + EncodeUtf8(path) + "\". " + reason, fault);
}

[[noreturn]] void Fail(const char* what, const std::u16string& path, int error) {
    Fail(what, path, std::strerror(error), FaultOf(error));
}

[[noreturn]] void FailOpen(const std::u16string& path, int error) {
    RaiseCannotOpenFile(path, std::strerror(error), FaultOf(error));
}

[[noreturn]] void FailCreate(const std::u16string& path, int error) {
    RaiseCannotCreateFile(path, std::strerror(error), FaultOf(error));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

FileIdentity IdentityOf(const struct stat& st) {
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

class PosixSourceFile : public SourceFile {
public:
    PosixSourceFile(int fd, const struct stat& st) : fd_(fd), st_(st) {}
    uint64_t Size() const override { return static_cast<uint64_t>(st_.st_size); }
    LocalFileTime LastWriteTime() const override {
        struct tm local = {};
        time_t t = st_.st_mtime;
        if (!localtime_r(&t, &local)) return {};
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    }
    FileIdentity Identity() const override { return IdentityOf(st_); }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
        size_t done = 0;
        while (done < count) {
            ssize_t n = pread(fd_.Get(), static_cast<char*>(buffer) + done, count - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        return done;
    }

private:
    Descriptor fd_;
    struct stat st_;
};

class PosixTargetFile : public TargetFile {
public:
    PosixTargetFile(int fd, const struct stat& st) : fd_(fd), st_(st) {}
    FileIdentity Identity() const override { return IdentityOf(st_); }
    size_t WriteAt(uint64_t offset, const void* data, size_t count) override {
        size_t done = 0;
        while (done < count) {
            ssize_t n = pwrite(fd_.Get(), static_cast<const char*>(data) + done, count - done,
                               static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        return done;
    }
    bool Truncate(uint64_t size) override { return ftruncate(fd_.Get(), static_cast<off_t>(size)) == 0; }

private:
    Descriptor fd_;
    struct stat st_;
};

void ListInto(const std::string& folder, const std::u16string& prefix, std::vector<ListedFile>& files) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) FailOpen(DecodeUtf8(folder), errno);
    const auto closer = OnScopeExit([dir] { closedir(dir); });
    while (struct dirent* item = readdir(dir)) {
        const std::string name = item->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "/" + name;
        // The listing's own type saves a stat per file; some file systems leave it open.
        unsigned char type = item->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (lstat(path.c_str(), &st) != 0) continue;  // vanished meanwhile
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_LNK;
        }
        const std::u16string relative = prefix + DecodeUtf8(name);
        if (type == DT_DIR) {
            ListInto(path, relative + u"/", files);
        } else if (type == DT_REG) {
            files.push_back({DecodeUtf8(path), relative});
        }
    }
}

class PosixFileSystem : public FileSystem {
public:
    std::string ReadFile(const std::u16string& path) override {
        Descriptor fd(open(Native(path).c_str(), O_RDONLY | O_CLOEXEC));
        if (fd.Get() < 0) FailOpen(path, errno);
        std::string data;
        char buffer[64 * 1024];
        for (;;) {
            ssize_t n = read(fd.Get(), buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) FailOpen(path, errno);
            if (n == 0) break;
            data.append(buffer, static_cast<size_t>(n));
        }
        return data;
    }

    using FileSystem::WriteFile;
    void WriteFile(const std::u16string& path, std::string_view bytes, Durability durability) override {
        const std::string native = Native(path);
        Descriptor fd(open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
        if (fd.Get() < 0) FailCreate(path, errno);
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = write(fd.Get(), bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            // A write that takes nothing has found no room.
            if (n <= 0) FailCreate(path, n == 0 ? ENOSPC : errno);
            done += static_cast<size_t>(n);
        }
        // The folder's entry of a new file becomes durable with the next rename in
        // that folder, which syncs the folder (the store names its index last).
        if (durability == Durability::Flushed && fsync(fd.Get()) != 0)
            FailCreate(path, errno);
    }

    void RemoveFile(const std::u16string& path) override {
        if (Kind(path) == PathKind::Folder) Fail("Cannot delete file", path, "It is a folder.");
        if (unlink(Native(path).c_str()) != 0 && errno != ENOENT) Fail("Cannot delete file", path, errno);
    }

    using FileSystem::Rename;
    void Rename(const std::u16string& from, const std::u16string& to, Durability durability) override {
        // POSIX would let a folder replace an empty folder; Windows never does.
        if (Kind(from) == PathKind::Folder && Exists(to)) Fail("Cannot rename", from, "The target exists.");
        const std::string source = Native(from), target = Native(to);
        if (rename(source.c_str(), target.c_str()) != 0) Fail("Cannot rename", from, errno);
        if (durability == Durability::Cached) return;
        SyncFolderOf(target);
        if (ParentPath(from) != ParentPath(to)) SyncFolderOf(source);
    }

    void DeleteDirectory(const std::u16string& path) override {
        std::error_code ec;
        std::filesystem::remove_all(std::filesystem::path(Native(path)), ec);
    }

    std::vector<std::u16string> List(const std::u16string& folder) override {
        std::vector<std::u16string> names;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(std::filesystem::path(Native(folder)), ec), end; !ec && it != end;
             it.increment(ec))
            names.push_back(DecodeUtf8(it->path().filename().string()));
        if (ec) Fail("Cannot open folder", folder, ec.message(), FaultOf(ec.value()));
        return names;
    }

    std::unique_ptr<SourceFile> OpenRead(const std::u16string& path) override {
        int fd = open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) FailOpen(path, errno);
        struct stat st;
        int error = fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : !S_ISREG(st.st_mode) ? EINVAL : 0;
        if (error != 0) {
            close(fd);
            FailOpen(path, error);
        }
        return std::make_unique<PosixSourceFile>(fd, st);
    }

    std::unique_ptr<TargetFile> Create(const std::u16string& path) override {
        // O_NOFOLLOW: a link planted at the target name is refused, not written through.
        int fd = open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) FailCreate(path, errno);
        struct stat st;
        if (fstat(fd, &st) != 0) {
            int error = errno;
            close(fd);
            FailCreate(path, error);
        }
        return std::make_unique<PosixTargetFile>(fd, st);
    }

    std::vector<ListedFile> ListFiles(const std::u16string& folder) override {
        std::vector<ListedFile> files;
        std::string root = Native(folder);
        while (root.size() > 1 && root.back() == '/') root.pop_back();
        ListInto(root, u"", files);
        return files;
    }

    PathKind Kind(const std::u16string& path) override {
        struct stat st;
        if (lstat(Native(path).c_str(), &st) != 0) return errno == ENOENT ? PathKind::Missing : PathKind::Other;
        if (S_ISREG(st.st_mode)) return PathKind::File;
        if (S_ISDIR(st.st_mode)) return PathKind::Folder;
        return PathKind::Other;
    }

    void CreateFolder(const std::u16string& path) override {
        if (mkdir(Native(path).c_str(), 0777) == 0) return;
        int error = errno;
        if (!(error == EEXIST && Kind(path) == PathKind::Folder)) FailCreate(path, error);
    }

    void CreateFolders(const std::u16string& path) override {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(Native(path)), ec);
        if (ec) RaiseCannotCreateFile(path, ec.message(), FaultOf(ec.value()));
    }
};

} // namespace

FileSystem& PlatformFileSystem() {
    static PosixFileSystem files;
    return files;
}

} // namespace vn

#endif // _WIN32
