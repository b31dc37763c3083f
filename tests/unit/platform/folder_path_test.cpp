#include "platform/folder_path.h"

#include <gtest/gtest.h>

namespace vn {
namespace {

TEST(FolderPath, TrailingBackslashIsAddedOnce) {
    EXPECT_EQ(WithTrailingBackslash(u""), u"");
    EXPECT_EQ(WithTrailingBackslash(u"C:\\x"), u"C:\\x\\");
    EXPECT_EQ(WithTrailingBackslash(u"C:\\x\\"), u"C:\\x\\");
}

TEST(FolderPath, FolderLevelsToCreateStopAtTheRoot) {
    using Levels = std::vector<std::u16string>;
    struct Case {
        std::u16string folder;
        Levels levels;
    } cases[] = {
        {u"C:\\Users\\ann\\AppData\\Local\\",
         {u"C:\\Users", u"C:\\Users\\ann", u"C:\\Users\\ann\\AppData", u"C:\\Users\\ann\\AppData\\Local"}},
        {u"C:\\a\\b", {u"C:\\a", u"C:\\a\\b"}},
        {u"C:\\", {}},
        {u"C:", {}},
        {u"C:/a/b/", {u"C:/a", u"C:/a/b"}},
        {u"C:\\a\\\\b", {u"C:\\a", u"C:\\a\\\\b"}},
        {u"\\\\srv\\share\\ann\\Local", {u"\\\\srv\\share\\ann", u"\\\\srv\\share\\ann\\Local"}},
        {u"\\\\srv\\share", {}},
        {u"\\\\?\\C:\\a\\b", {u"\\\\?\\C:\\a", u"\\\\?\\C:\\a\\b"}},
        {u"Vantory Note\\Information", {u"Vantory Note", u"Vantory Note\\Information"}},
        {u"\\a", {u"\\a"}},
        {u"", {}},
    };
    for (const auto& c : cases) {
        std::string shown(c.folder.begin(), c.folder.end());
        EXPECT_EQ(FolderLevels(c.folder), c.levels) << shown;
    }
}

} // namespace
} // namespace vn
