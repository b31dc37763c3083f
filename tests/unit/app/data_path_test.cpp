#include "app/data_path.h"

#include <gtest/gtest.h>

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
    for (const auto& c : cases) EXPECT_EQ(DataPathBelow(c.reported), c.dataPath);
}

} // namespace
} // namespace vn
