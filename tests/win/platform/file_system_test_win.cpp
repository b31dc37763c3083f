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
#include "store/store_snapshot.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
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

// A refusal says whether another program holds the file or the change is not
// allowed: what the person is told depends on it.
TEST_F(StoreOnDisk, ARefusalNamesItsCause) {
    const std::u16string folder = root + u"\\data";
    fs.CreateFolders(folder);
    const std::u16string held = folder + u"\\held.txt", readOnly = folder + u"\\read-only.txt",
                         other = folder + u"\\other.txt";
    for (const std::u16string& path : {held, readOnly, other}) fs.WriteFile(path, "x");
    UniqueFileHandle holder(CreateFileW(W(held), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(holder.get(), INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileAttributesW(W(readOnly), FILE_ATTRIBUTE_READONLY));

    struct Case {
        const char* name;
        std::function<void()> call;
        FileFault fault;
    } const cases[] = {
        {"read a held file", [&] { fs.ReadFile(held); }, FileFault::InUse},
        {"replace a held file", [&] { fs.WriteFile(held, "y"); }, FileFault::InUse},
        {"delete a held file", [&] { fs.RemoveFile(held); }, FileFault::InUse},
        {"rename over a held file", [&] { fs.Rename(other, held); }, FileFault::InUse},
        // Wine keeps the read-only attribute as the file's write permission, which
        // does not stop writing or renaming over it where the tests run as root;
        // its deletion is refused on the attribute itself.
        {"delete a read-only file", [&] { fs.RemoveFile(readOnly); }, FileFault::ReadOnly},
        {"write into a missing folder", [&] { fs.WriteFile(folder + u"\\none\\x.txt", "y"); }, FileFault::Unknown},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.name << ": no refusal";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Fault(), c.fault) << c.name << ": " << e.what();
        }
    }
    SetFileAttributesW(W(readOnly), FILE_ATTRIBUTE_NORMAL);
}

// A store folder some program is in (a command prompt's current folder: held
// open without sharing deletion) cannot be renamed. The notes go into it in
// place, and a start finds them; with its index held as well, the save fails
// and says so, and the next one after the hold saves.
TEST_F(StoreOnDisk, AStoreFolderHeldOpenIsSavedInPlace) {
    const std::u16string data = root + u"\\Vantory Note\\";
    std::vector<FakeNote> notes{{u"a.exe", u"Alpha", u"WS", u"t", "{\\rtf1 A}"},
                                {u"b.exe", u"Beta", u"WS", u"t", "{\\rtf1 B}"}};
    NoteStore store(fs, cp, data);
    store.SaveStore(test::Pointers(notes));
    store.SaveStore(test::Pointers(notes));

    UniqueFileHandle folder(CreateFileW(W(data + u"Information"), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_NE(folder.get(), INVALID_HANDLE_VALUE);
    try {
        fs.Rename(data + u"Information", data + u"Elsewhere");
        FAIL() << "a folder held open without sharing deletion was renamed";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Fault(), FileFault::InUse) << e.what();
    }
    notes[0].body = "{\\rtf1 A typed while held}";
    const SaveOutcome inPlace = store.Write(CaptureStore(test::Pointers(notes)));
    EXPECT_TRUE(inPlace.saved) << inPlace.detail;
    EXPECT_EQ(inPlace.path, SavePath::InPlace);
    EXPECT_FALSE(fs.Exists(data + u"Information.new\\Jotlets.txt"));

    UniqueFileHandle index(CreateFileW(W(data + u"Information\\Jotlets.txt"), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(index.get(), INVALID_HANDLE_VALUE);
    notes[1].body = "{\\rtf1 B typed while all is held}";
    const SaveOutcome refused = store.Write(CaptureStore(test::Pointers(notes)));
    EXPECT_FALSE(refused.saved);
    EXPECT_EQ(refused.reason, SaveFailure::InUse) << refused.detail;

    index.reset();
    folder.reset();
    FakeController held;
    held.Load(NoteStore(fs, cp, data));
    ASSERT_EQ(held.listed.size(), 2u);
    EXPECT_EQ(held.listed[1]->body, "{\\rtf1 A typed while held}");
    EXPECT_EQ(held.listed[0]->body, "{\\rtf1 B}");

    EXPECT_EQ(store.Write(CaptureStore(test::Pointers(notes))).path, SavePath::Swapped);
    FakeController restarted;
    restarted.Load(NoteStore(fs, cp, data));
    ASSERT_EQ(restarted.listed.size(), 2u);
    EXPECT_EQ(restarted.listed[0]->body, "{\\rtf1 B typed while all is held}");
}

} // namespace
} // namespace vn
