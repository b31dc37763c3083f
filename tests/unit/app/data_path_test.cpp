#include "app/data_path.h"

#include <gtest/gtest.h>

#include <vector>

namespace vn {
namespace {

TEST(DataPath, DataFolderIsBelowTheLocalApplicationDataFolder) {
    struct Case {
        std::u16string reported;  // what the system query gave ("" after a failure)
        std::u16string dataPath;
    } cases[] = {
        {u"C:\\Users\\ann\\AppData\\Local", u"C:\\Users\\ann\\AppData\\Local\\Vantory Note\\"},
        {u"C:\\Users\\ann\\AppData\\Local\\", u"C:\\Users\\ann\\AppData\\Local\\Vantory Note\\"},
        {u"D:\\", u"D:\\Vantory Note\\"},
        {u"\\\\srv\\home\\ann", u"\\\\srv\\home\\ann\\Vantory Note\\"},
        {u"C:\\Users\\\u00c5sa\\AppData\\Local", u"C:\\Users\\\u00c5sa\\AppData\\Local\\Vantory Note\\"},
        // A failed query leaves the relative path, resolved against the current directory.
        {u"", u"Vantory Note\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DataPathBelow(c.reported), c.dataPath);
        EXPECT_EQ(c.dataPath.back(), u'\\');
    }
    EXPECT_EQ(WithTrailingBackslash(u""), u"");
    EXPECT_EQ(WithTrailingBackslash(u"C:\\x"), u"C:\\x\\");
    EXPECT_EQ(WithTrailingBackslash(u"C:\\x\\"), u"C:\\x\\");
}

TEST(DataPath, FolderLevelsToCreateStopAtTheRoot) {
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
