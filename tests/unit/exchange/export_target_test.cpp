// Where an export may write, and that it replaces an existing archive only whole.
#include "exchange/export_target.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "memory_file_system.h"

namespace vn {
namespace {

TEST(ExportTarget, TheDataFolderOwnFoldersAreRefused) {
    const std::u16string data = u"C:\\Users\\Ann\\AppData\\Local\\Vantory Note\\";
    const struct {
        const char16_t* target;
        bool refused;
    } cases[] = {
        {u"C:\\Users\\Ann\\AppData\\Local\\Vantory Note\\Information\\x.vnx", true},
        {u"c:\\users\\ann\\appdata\\local\\vantory note\\TEMP EXPORT\\x.vnx", true},
        {u"C:/Users/Ann/AppData/Local/Vantory Note/Temp Export/x.vnx", true},
        {u"C:\\Users\\Ann\\AppData\\Local\\Vantory Note\\Information.new\\x.vnx", true},
        {u"C:\\Users\\Ann\\AppData\\Local\\Vantory Note\\Information.old\\x.vnx", true},  // gone with the next save
        {u"C:\\Users\\Ann\\AppData\\Local\\Vantory Note\\Temp Export\\sub\\x.vnx", true},
        {u"C:\\Users\\Ann\\AppData\\Local\\Vantory Note\\recycle bin\\x.vnx", true},
        {u"C:\\Users\\Ann\\AppData\\Local\\Vantory Note\\x.vnx", false},
        {u"C:\\Users\\Ann\\AppData\\Local\\Vantory Note\\Information.vnx", false},
        {u"C:\\Users\\Ann\\AppData\\Local\\Vantory Note\\Temp Exports\\x.vnx", false},
        {u"C:\\Users\\Ann\\Documents\\Exported Vantory notes.vnx", false},
    };
    for (const auto& c : cases) {
        std::u16string target(c.target);
        EXPECT_EQ(IsDataFolderTarget(target, data), c.refused) << std::string(target.begin(), target.end());
    }
}

TEST(ExportTarget, AnExistingArchiveIsReplacedOnlyByAWholeNewOne) {
    MemoryFileSystem files;
    files.CreateFolders(u"C:\\out");
    const std::u16string target = u"C:\\out\\notes.vnx";
    files.WriteFile(target, "old archive");

    // A pack that fails half-way (disk full) leaves the old archive and no part file.
    EXPECT_THROW(ReplaceFileAtomically(files, target,
                                       [&](const std::u16string& path) {
                                           EXPECT_NE(path, target);
                                           files.WriteFile(path, "half");
                                           throw Error("Cannot write file: disk full");
                                       }),
                 Error);
    EXPECT_EQ(files.ReadFile(target), "old archive");
    EXPECT_FALSE(files.Exists(PartialFileName(target)));

    // A failing replace at the end (the old file in use) leaves it as well.
    files.FailStep(2);  // the write of the part file succeeds, the rename fails
    EXPECT_THROW(ReplaceFileAtomically(files, target, [&](const std::u16string& path) { files.WriteFile(path, "new"); }),
                 Error);
    files.ClearFaults();
    EXPECT_EQ(files.ReadFile(target), "old archive");
    EXPECT_FALSE(files.Exists(PartialFileName(target)));

    ReplaceFileAtomically(files, target, [&](const std::u16string& path) { files.WriteFile(path, "new archive"); });
    EXPECT_EQ(files.ReadFile(target), "new archive");
    EXPECT_FALSE(files.Exists(PartialFileName(target)));
}

} // namespace
} // namespace vn
