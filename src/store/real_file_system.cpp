#include "store/real_file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/errors.h"
#include "store/utf.h"

namespace vn {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::FILE* OpenFile(const fs::path& path, bool write) {
#ifdef _WIN32
    return _wfopen(path.c_str(), write ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

[[noreturn]] void Fail(const char* what, const std::u16string& path, const std::string& reason) {
    throw Error(std::string(what) + " \"" + EncodeUtf8(path) + "\". " + reason);
}

} // namespace

fs::path RealFileSystem::NativePath(const std::u16string& path) {
#ifdef _WIN32
    return fs::path(std::wstring(path.begin(), path.end()));
#else
    std::u16string p = path;
    for (char16_t& c : p)
        if (c == u'\\') c = u'/';
    return fs::path(EncodeUtf8(p));
#endif
}

bool RealFileSystem::Exists(const std::u16string& path) {
    std::error_code ec;
    return fs::exists(NativePath(path), ec);
}

std::string RealFileSystem::ReadFile(const std::u16string& path) {
    FilePtr file(OpenFile(NativePath(path), false));
    if (!file) Fail("Cannot open file", path, std::strerror(errno));
    std::string data;
    char buffer[64 * 1024];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) data.append(buffer, n);
    if (std::ferror(file.get())) Fail("Cannot open file", path, std::strerror(errno));
    return data;
}

void RealFileSystem::WriteFile(const std::u16string& path, std::string_view bytes) {
    std::FILE* raw = OpenFile(NativePath(path), true);
    if (!raw) Fail("Cannot create file", path, std::strerror(errno));
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), raw) == bytes.size();
    ok = (std::fclose(raw) == 0) && ok;
    if (!ok) Fail("Cannot create file", path, std::strerror(errno));
}

void RealFileSystem::RemoveFile(const std::u16string& path) {
    fs::path target = NativePath(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) Fail("Cannot delete file", path, "It is a folder.");
    if (!fs::remove(target, ec) && ec) Fail("Cannot delete file", path, ec.message());
}

void RealFileSystem::CreateDirectories(const std::u16string& path) {
    std::error_code ec;
    fs::create_directories(NativePath(path), ec);
    if (ec) Fail("Cannot create directory", path, ec.message());
}

void RealFileSystem::DeleteDirectory(const std::u16string& path) {
    std::error_code ec;
    fs::remove_all(NativePath(path), ec);
}

void RealFileSystem::Rename(const std::u16string& from, const std::u16string& to) {
    fs::path source = NativePath(from), target = NativePath(to);
    std::error_code ec;
    // POSIX would let a folder replace an empty folder; Windows never does.
    if (fs::is_directory(source, ec) && fs::exists(target, ec)) Fail("Cannot rename", from, "The target exists.");
    fs::rename(source, target, ec);
    if (ec) Fail("Cannot rename", from, ec.message());
}

std::vector<std::u16string> RealFileSystem::List(const std::u16string& folder) {
    std::vector<std::u16string> names;
    std::error_code ec;
    for (fs::directory_iterator it(NativePath(folder), ec), end; !ec && it != end; it.increment(ec)) {
#ifdef _WIN32
        std::wstring name = it->path().filename().wstring();
        names.emplace_back(name.begin(), name.end());
#else
        names.push_back(DecodeUtf8(it->path().filename().string()));
#endif
    }
    if (ec) Fail("Cannot open folder", folder, ec.message());
    return names;
}

} // namespace vn
