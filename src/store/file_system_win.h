#pragma once
// The store's file system on Windows: files through CreateFileW with the share
// modes the store relies on, renames through MoveFileExW, and the folder
// deletion through the shell.
#include <string>

#include "store/real_file_system.h"

namespace vn {

// DeleteDirectory: SHFileOperationW(FO_DELETE) of the folder (no trailing
// backslash), silently and for good; the result is ignored, so a missing folder
// is no error and whatever cannot be deleted stays.
void DeleteDirectory(const std::u16string& path);

class WindowsFileSystem final : public RealFileSystem {
public:
    bool Exists(const std::u16string& path) override;
    std::string ReadFile(const std::u16string& path) override;
    void WriteFile(const std::u16string& path, std::string_view bytes) override;
    void RemoveFile(const std::u16string& path) override;
    void DeleteDirectory(const std::u16string& path) override { vn::DeleteDirectory(path); }
    void Rename(const std::u16string& from, const std::u16string& to) override;
};

} // namespace vn
