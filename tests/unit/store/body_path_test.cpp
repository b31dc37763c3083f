// Body fields that may be read: a plain file directly in the given folder.
#include "store/body_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vn {
namespace {

TEST(BodyPath, OnlyAFileDirectlyInTheFolder) {
    struct Case {
        std::u16string field;
        std::optional<std::u16string> name;
    } cases[] = {
        {u"Information\\0.txt", u"0.txt"},
        {u"information/12.TXT", u"12.TXT"},
        {u"Information\\notes from 'home'.rtf", u"notes from 'home'.rtf"},
        {u"Information\\0.txt.", u"0.txt."},  // Windows drops the dot: still 0.txt in the folder
        {u"Information\\..\\..\\secret.txt", std::nullopt},
        {u"Information\\..", std::nullopt},
        {u"Information\\...", std::nullopt},
        {u"Information\\. .", std::nullopt},
        {u"..\\..\\x", std::nullopt},
        {u"Information\\sub\\0.txt", std::nullopt},
        {u"Information\\\\0.txt", std::nullopt},
        {u"Information\\", std::nullopt},
        {u"Information", std::nullopt},
        {u"C:\\Users\\u\\secret.txt", std::nullopt},
        {u"C:secret.txt", std::nullopt},
        {u"\\\\server\\share\\x.txt", std::nullopt},
        {u"\\\\?\\C:\\x.txt", std::nullopt},
        {u"\\Information\\0.txt", std::nullopt},
        {u"Information\\0.txt:stream", std::nullopt},
        {u"Information\\CON", std::nullopt},
        {u"Information\\nul.txt", std::nullopt},
        {u"Information\\Com1 .txt", std::nullopt},
        {u"Information\\lpt\u00B9", std::nullopt},
        {u"Information\\CONSOLE.txt", u"CONSOLE.txt"},
        {u"Information\\a\x01.txt", std::nullopt},
        {u"Informationen\\0.txt", std::nullopt},
        {u"Temp Export\\0.txt", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BodyFileInFolder(c.field, u"Information"), c.name) << std::string(c.field.begin(), c.field.end());
    EXPECT_EQ(BodyFileInFolder(u"temp export\\3.txt", u"Temp Export"), u"3.txt");
    EXPECT_EQ(BodyFileInFolder(u"Temp Export\\..\\Information\\3.txt", u"Temp Export"), std::nullopt);
}

} // namespace
} // namespace vn
