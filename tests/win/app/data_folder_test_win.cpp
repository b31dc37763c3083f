#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "app/data_folder_win.h"
#include "platform/known_folder_win.h"
#include "platform/text_win.h"

namespace vn {
namespace {

bool IsFolder(const std::u16string& path) {
    DWORD attributes = GetFileAttributesW(W(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::u16string TempRoot() {
    wchar_t buffer[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, buffer);
    return U16(buffer) + u"vn-shell-" + U16(std::to_wstring(GetCurrentProcessId()).c_str()) + u"-" +
           U16(std::to_wstring(GetTickCount()).c_str());
}

void RemoveTree(const std::u16string& root) {
    std::wstring from = reinterpret_cast<const wchar_t*>(root.c_str());
    from.push_back(L'\0');  // the operation takes a double-NUL list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

TEST(DataFolder, IsTheUsersLocalApplicationDataFolderWithTheProgramsFolderName) {
    wchar_t reported[MAX_PATH + 1] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, reported)));
    std::u16string local = GetLocalAppDataFolder();
    EXPECT_EQ(local, U16(reported) + u"\\");
    EXPECT_TRUE(IsFolder(local));
    EXPECT_EQ(GetLocalDataPath(), local + u"Vantory Note\\");
}

TEST(DataFolder, FolderTreesAreCreatedLevelByLevel) {
    std::u16string root = TempRoot();
    std::u16string deep = root + u"\\a\\b c\\\u00e9t\u00e9\\";
    ASSERT_FALSE(IsFolder(root));
    EXPECT_TRUE(CreateFolderTree(deep));
    EXPECT_TRUE(IsFolder(deep));
    EXPECT_TRUE(CreateFolderTree(deep)) << "an existing tree is fine";

    // A file in the way of a level: the tree cannot be made, and that is reported.
    std::u16string file = root + u"\\file";
    HANDLE h = CreateFileW(W(file), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_FALSE(CreateFolderTree(file + u"\\below"));
    RemoveTree(root);
}

// Points the user's local application-data folder elsewhere for one test.
class RedirectedLocalAppData {
public:
    explicit RedirectedLocalAppData(const std::u16string& folder) {
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, &key_);
        had_ = RegQueryValueExW(key_, kValue, nullptr, &type_, reinterpret_cast<BYTE*>(old_), &size_) == ERROR_SUCCESS;
        RegSetValueExW(key_, kValue, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>((folder.size() + 1) * sizeof(char16_t)));
    }
    ~RedirectedLocalAppData() {
        if (had_)
            RegSetValueExW(key_, kValue, 0, type_, reinterpret_cast<const BYTE*>(old_), size_);
        else
            RegDeleteValueW(key_, kValue);
        RegCloseKey(key_);
    }

private:
    static constexpr wchar_t kValue[] = L"Local AppData";
    HKEY key_ = nullptr;
    wchar_t old_[1024] = {};
    DWORD size_ = sizeof(old_);
    DWORD type_ = REG_EXPAND_SZ;
    bool had_ = false;
};

TEST(DataFolder, AMissingLocalApplicationDataFolderIsCreatedNotReplacedByTheCurrentDirectory) {
    std::u16string root = TempRoot();
    std::u16string local = root + u"\\profile\\AppData\\Local";
    {
        RedirectedLocalAppData redirect(local);
        ASSERT_FALSE(IsFolder(local));
        EXPECT_EQ(GetLocalAppDataFolder(), local + u"\\");
        EXPECT_TRUE(IsFolder(local));
        EXPECT_EQ(GetLocalDataPath(), local + u"\\Vantory Note\\");
        EXPECT_FALSE(IsFolder(local + u"\\Vantory Note")) << "the data folder comes only with its subfolders";
    }
    RemoveTree(root);
}

} // namespace
} // namespace vn
