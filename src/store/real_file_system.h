#pragma once
// The file system on disk through std::filesystem and the C library. Used as it
// is by native tools and tests; on Linux "\" in a path is taken as a separator,
// so the store's Windows-style paths work unchanged. WindowsFileSystem
// (file_system_win.h) replaces the parts where Windows behaviour is fixed.
#include <filesystem>

#include "store/file_system.h"

namespace vn {

class RealFileSystem : public FileSystem {
public:
    bool Exists(const std::u16string& path) override;
    std::string ReadFile(const std::u16string& path) override;
    void WriteFile(const std::u16string& path, std::string_view bytes) override;
    void RemoveFile(const std::u16string& path) override;
    void CreateDirectories(const std::u16string& path) override;
    void DeleteDirectory(const std::u16string& path) override;
    void Rename(const std::u16string& from, const std::u16string& to) override;
    std::vector<std::u16string> List(const std::u16string& folder) override;

    static std::filesystem::path NativePath(const std::u16string& path);
};

} // namespace vn
