// The store on real Windows files: wide paths, the shell's folder deletion, and
// a whole save and load through the engine.
#include "exchange/exchange_folder.h"
#include "exchange/zip_archive.h"
#include "platform/code_page_win.h"
#include "platform/file_system.h"
#include "platform/file_system_win.h"
#include "platform/text_codec.h"
#include "store/index_file.h"
#include "store/note_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text_win.h"
#include "test_folder_win.h"
#include "../unit/store/fake_note.h"

namespace vn {
namespace {

using test::FakeController;
using test::FakeNote;

class StoreOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        root = test::TestFolderPath(u"store");
        DeleteDirectory(root);
    }
    void TearDown() override { DeleteDirectory(root); }

    std::u16string root;
    FileSystem& fs = PlatformFileSystem();
    WindowsCodePage cp;
};

TEST_F(StoreOnDisk, FilesAndFoldersWithWideNames) {
    const std::u16string folder = root + u"\\\u30ce\u30fc\u30c8\\sub";
    fs.CreateFolders(folder);
    fs.WriteFile(folder + u"\\\u00e9t\u00e9.txt", std::string("a\0b", 3));
    EXPECT_EQ(fs.ReadFile(folder + u"\\\u00e9t\u00e9.txt"), std::string("a\0b", 3));
    fs.WriteFile(folder + u"\\\u00e9t\u00e9.txt", "shorter");
    EXPECT_EQ(fs.ReadFile(folder + u"\\\u00e9t\u00e9.txt"), "shorter") << "replacing truncates";
    try {
        fs.ReadFile(folder + u"\\missing.txt");
        ADD_FAILURE() << "reading a missing file must fail";
    } catch (const Error& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("Cannot open file \"" + Utf8(folder) + "\\missing.txt\". "))
            << e.what();
    }
    EXPECT_THROW(fs.WriteFile(root + u"\\nowhere\\x.txt", "x"), Error);

    fs.WriteFile(folder + u"\\a.tmp", "new");
    fs.Rename(folder + u"\\a.tmp", folder + u"\\\u00e9t\u00e9.txt");
    EXPECT_EQ(fs.ReadFile(folder + u"\\\u00e9t\u00e9.txt"), "new");
    std::vector<std::u16string> names = fs.List(folder);
    EXPECT_EQ(names, std::vector<std::u16string>{u"\u00e9t\u00e9.txt"});

    fs.CreateFolders(root + u"\\other");
    EXPECT_THROW(fs.Rename(root + u"\\\u30ce\u30fc\u30c8", root + u"\\other"), Error);
    fs.Rename(root + u"\\\u30ce\u30fc\u30c8", root + u"\\moved");
    EXPECT_EQ(fs.ReadFile(root + u"\\moved\\sub\\\u00e9t\u00e9.txt"), "new");
}

TEST_F(StoreOnDisk, DeleteDirectoryRemovesTheWholeTreeAndIgnoresAMissingFolder) {
    fs.CreateFolders(root + u"\\Temp Export\\sub\\deeper");
    fs.WriteFile(root + u"\\Temp Export\\Jotlets.txt", "x");
    fs.WriteFile(root + u"\\Temp Export\\sub\\deeper\\0.txt", "y");
    fs.WriteFile(root + u"\\keep.txt", "z");
    DeleteDirectory(root + u"\\Temp Export");
    EXPECT_FALSE(fs.Exists(root + u"\\Temp Export"));
    EXPECT_TRUE(fs.Exists(root + u"\\keep.txt")) << "only the folder named goes";
    DeleteDirectory(root + u"\\Temp Export"); // missing: nothing happens, nothing is shown
    fs.DeleteDirectory(root + u"\\keep.txt.none");
    EXPECT_TRUE(fs.Exists(root + u"\\keep.txt"));
}

TEST_F(StoreOnDisk, SaveAndLoadThroughTheEngine) {
    const std::u16string data = root + u"\\Vantory Note\\";
    std::vector<FakeNote> notes{
        {u"notepad.exe", u"Untitled - Notepad", u"WS-01", u"01.01.2024 09:00:00", "{\\rtf1 plain}", 2, {{1, true}}},
        {u"editor.exe", u"\u041e\u0442\u0447\u0451\u0442 \u65e5\u672c", u"WS-01", u"02.01.2024", "{\\rtf1 scripts}"},
    };
    NoteStore store(fs, cp, data);
    store.SaveStore(test::Pointers(notes));
    notes[0].body = "{\\rtf1 edited}";
    store.SaveStore(test::Pointers(notes));

    std::vector<std::u16string> folders = fs.List(data);
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, (std::vector<std::u16string>{u"Information", u"Information.new"}));
    EXPECT_FALSE(fs.Exists(data + u"Information.new\\Jotlets.txt"));
    std::string index = fs.ReadFile(data + u"Information\\Jotlets.txt");
    EXPECT_TRUE(index.starts_with("\xEF\xBB\xBF"));

    FakeController factory;
    factory.Load(NoteStore(fs, cp, data));
    ASSERT_EQ(factory.listed.size(), 2u);
    EXPECT_EQ(factory.listed[0]->Describe(), notes[1].Describe());
    EXPECT_EQ(factory.listed[1]->Describe(), notes[0].Describe());

    const size_t second[] = {1};
    ExchangeFolder(store, fs, cp).SaveSelection(root + u"\\out.vnx", second, test::Pointers(notes));
    ExtractZipFile(root + u"\\out.vnx", root + u"\\unpacked");
    std::vector<std::u16string> packed = fs.List(root + u"\\unpacked");
    std::sort(packed.begin(), packed.end());
    EXPECT_EQ(packed, (std::vector<std::u16string>{u"1.txt", u"Jotlets.txt"}));

    // A third save with fewer notes overwrites the older files and drops the rest.
    store.SaveStore(std::vector<StoreNote*>{&notes[1]});
    std::vector<std::u16string> files = fs.List(data + u"Information");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::u16string>{u"0.txt", u"Jotlets.txt"}));
    EXPECT_EQ(fs.ReadFile(data + u"Information\\0.txt"), "{\\rtf1 scripts}");
}

} // namespace
} // namespace vn
