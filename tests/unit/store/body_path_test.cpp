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
        {u"information\\12.TXT", u"12.TXT"},
        {u"Information/0.txt", std::nullopt},
        {u"Information\\notes from 'home'.rtf", u"notes from 'home'.rtf"},
        {u"Information\\0.txt.", std::nullopt}, // Windows would drop the dot
        {u"Information\\0.txt ", std::nullopt},
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
}

// The import's folder, by the same rule.
TEST(BodyPath, TheImportReadsOnlyFilesDirectlyInTempExport) {
    const struct {
        const char16_t* path;
        bool confined;
    } cases[] = {
        {u"Temp Export\\0.txt", true},
        {u"temp export\\12.TXT", true},
        {u"Temp Export\\a b.rtf", true},
        {u"Temp Export\\", false},
        {u"Temp Export", false},
        {u"Temp Export\\..", false},
        {u"Temp Export\\.", false},
        {u"Temp Export\\..\\Information\\0.txt", false},
        {u"Temp Export\\sub\\0.txt", false},
        {u"Temp Export/0.txt", false},
        {u"Temp Export\\0.txt:hidden", false},
        {u"Temp Export\\0.txt.", false},
        {u"Temp Export\\0.txt ", false},
        {u"Temp Export\\CON", false},
        {u"Temp Export\\nul.txt", false},
        {u"Temp Export\\COM1.rtf", false},
        {u"Temp Export\\COM10.rtf", true},
        {u"Temp Export\\a*b", false},
        {u"Temp Export\\a\x01.txt", false},
        {u"Temp ExportX\\0.txt", false},
        {u"Information\\0.txt", false},
        {u"..\\..\\secret.txt", false},
        {u"\\Temp Export\\0.txt", false},
        {u"C:\\Temp Export\\0.txt", false},
        {u"\\\\server\\share\\0.txt", false},
        {u"", false},
    };
    for (const auto& c : cases) {
        std::u16string path(c.path);
        EXPECT_EQ(BodyFileInFolder(path, u"Temp Export").has_value(), c.confined)
            << std::string(path.begin(), path.end());
    }
}

} // namespace
} // namespace vn
