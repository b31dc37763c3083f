// The archive code's file access on POSIX systems (the native build). The
// Windows build has its own in zip_files_win.cpp.
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

#include "exchange/zip_archive.h"
#include "exchange/zip_files.h"
#include "exchange/zip_text.h"
#include "platform/errors.h"

namespace vn {

namespace {

std::string Native(const std::u16string& path) { return ZipUtf8(path); }

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

ZipFileIdentity IdentityOf(const struct stat& st) {
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

class PosixSourceFile : public ZipSourceFile {
public:
    PosixSourceFile(int fd, const struct stat& st) : fd_(fd), st_(st) {}
    uint64_t Size() const override { return static_cast<uint64_t>(st_.st_size); }
    ZipLocalTime LastWriteTime() const override {
        struct tm local = {};
        time_t t = st_.st_mtime;
        if (!localtime_r(&t, &local)) return {};
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    }
    ZipFileIdentity Identity() const override { return IdentityOf(st_); }
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

class PosixTargetFile : public ZipTargetFile {
public:
    PosixTargetFile(int fd, const struct stat& st) : fd_(fd), st_(st) {}
    ZipFileIdentity Identity() const override { return IdentityOf(st_); }
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

void ListInto(const std::string& folder, const std::u16string& prefix, std::vector<ZipListedFile>& files) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) RaiseCannotOpenFile(ZipFromUtf8(folder), std::strerror(errno));
    struct Closer {
        DIR* d;
        ~Closer() { closedir(d); }
    } closer{dir};
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
        const std::u16string relative = prefix + ZipFromUtf8(name);
        if (type == DT_DIR) {
            ListInto(path, relative + u"/", files);
        } else if (type == DT_REG) {
            files.push_back({ZipFromUtf8(path), relative});
        }
    }
}

class PosixFileSystem : public ZipFileSystem {
public:
    std::unique_ptr<ZipSourceFile> OpenRead(const std::u16string& path) override {
        int fd = open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) RaiseCannotOpenFile(path, std::strerror(errno));
        struct stat st;
        int error = fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : !S_ISREG(st.st_mode) ? EINVAL : 0;
        if (error != 0) {
            close(fd);
            RaiseCannotOpenFile(path, std::strerror(error));
        }
        return std::make_unique<PosixSourceFile>(fd, st);
    }

    std::unique_ptr<ZipTargetFile> Create(const std::u16string& path) override {
        // O_NOFOLLOW: a link planted at the target name is refused, not written through.
        int fd = open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) RaiseCannotCreateFile(path, std::strerror(errno));
        struct stat st;
        if (fstat(fd, &st) != 0) {
            int error = errno;
            close(fd);
            RaiseCannotCreateFile(path, std::strerror(error));
        }
        return std::make_unique<PosixTargetFile>(fd, st);
    }

    std::vector<ZipListedFile> ListFiles(const std::u16string& folder) override {
        std::vector<ZipListedFile> files;
        std::string root = Native(folder);
        while (root.size() > 1 && root.back() == '/') root.pop_back();
        ListInto(root, u"", files);
        return files;
    }

    ZipPathKind Kind(const std::u16string& path) override {
        struct stat st;
        if (lstat(Native(path).c_str(), &st) != 0) return errno == ENOENT ? ZipPathKind::Missing : ZipPathKind::Other;
        if (S_ISREG(st.st_mode)) return ZipPathKind::File;
        if (S_ISDIR(st.st_mode)) return ZipPathKind::Folder;
        return ZipPathKind::Other;
    }

    void CreateFolder(const std::u16string& path) override {
        if (mkdir(Native(path).c_str(), 0777) == 0) return;
        int error = errno;
        if (!(error == EEXIST && Kind(path) == ZipPathKind::Folder)) RaiseCannotCreateFile(path, std::strerror(error));
    }

    void CreateFolders(const std::u16string& path) override {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(Native(path)), ec);
        if (ec) RaiseCannotCreateFile(path, ec.message());
    }
};

} // namespace

ZipFileSystem& PlatformZipFileSystem() {
    static PosixFileSystem files;
    return files;
}

void ZipDirectoryContents(const std::u16string& ZipFileName, const std::u16string& Path, int Compression) {
    ZipDirectoryContents(ZipFileName, Path, Compression, PlatformZipFileSystem());
}

void ExtractZipFile(const std::u16string& ZipFileName, const std::u16string& Path) {
    ExtractZipFile(ZipFileName, Path, PlatformZipFileSystem());
}

} // namespace vn

#endif // _WIN32
