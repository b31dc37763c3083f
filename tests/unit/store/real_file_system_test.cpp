// The store on real files in a temporary folder, and the in-memory file system
// held to the same contract as the real one.
#include "store/index_file.h"
#include "memory_file_system.h"
#include "store/note_store.h"
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "store/fake_note.h"

namespace vn {
namespace {

namespace fs = std::filesystem;
using test::FakeController;
using test::FakeNote;

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "vn-store-XXXXXX").string();
        path_ = fs::path(mkdtemp(pattern.data()));
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }
    std::u16string U16() const { return DecodeUtf8(path_.string()); }

private:
    fs::path path_;
};

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(RealFileSystemStore, RoundTripOnDisk) {
    TempFolder temp;
    FileSystem& disk = PlatformFileSystem();
    Windows1252CodePage cp;
    const std::u16string data = temp.U16() + u"/Vantory Note\\";
    std::vector<FakeNote> notes{
        {u"notepad.exe", u"Untitled - Notepad", u"WS-01", u"01.01.2024 09:00:00", "{\\rtf1 first}", 2, {{0, true}}},
        {u"editor.exe", u"\u65e5\u672c\u8a9e - Editor", u"WS-02", u"02.01.2024", std::string(5000, 'x')},
    };
    NoteStore store(disk, cp, data);
    store.SaveStore(test::Pointers(notes));
    store.SaveStore(test::Pointers(notes)); // replaces a store

    const fs::path info = temp.Path() / "Vantory Note" / "Information";
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(temp.Path() / "Vantory Note")) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Information", "Information.new"}));
    EXPECT_FALSE(fs::exists(temp.Path() / "Vantory Note" / "Information.new" / "Jotlets.txt"))
        << "the folder kept for the next save never looks like a store";
    EXPECT_EQ(Slurp(info / "0.txt"), "{\\rtf1 first}");
    EXPECT_EQ(Slurp(info / "1.txt"), std::string(5000, 'x'));
    std::string index = Slurp(info / "Jotlets.txt");
    EXPECT_TRUE(index.starts_with("\xEF\xBB\xBF")) << "the caption needs more than the ANSI code page";
    EXPECT_TRUE(index.ends_with("|Information\\0.txt|10\r\n"));

    FakeController factory;
    factory.Load(NoteStore(disk, cp, data));
    ASSERT_EQ(factory.listed.size(), 2u);
    EXPECT_EQ(factory.listed[0]->Describe(), notes[1].Describe());
    EXPECT_EQ(factory.listed[1]->pending, u"10");
}

// The safety tests run on MemoryFileSystem; it must refuse and allow what the disk does.
TEST(FileSystemContract, MemoryBehavesLikeTheDisk) {
    TempFolder temp;
    FileSystem& real = PlatformFileSystem();
    MemoryFileSystem memory;
    struct Target {
        FileSystem& fs;
        std::u16string root;
    } targets[] = {{real, temp.U16() + u"\\r"}, {memory, u"C:\\r"}};
    for (auto& [fs, root] : targets) {
        SCOPED_TRACE(EncodeUtf8(root));
        const std::u16string a = root + u"\\a", b = root + u"\\b";
        EXPECT_FALSE(fs.Exists(root));
        fs.DeleteDirectory(root); // missing: no error
        EXPECT_THROW(fs.WriteFile(a + u"\\x.txt", "x"), Error) << "a file needs its folder";
        fs.CreateFolders(a + u"\\deep\\er");
        fs.CreateFolders(a);
        fs.WriteFile(a + u"\\x.txt", "one");
        fs.WriteFile(a + u"\\x.txt", "two");
        fs.WriteFile(a + u"\\y.txt", "");
        EXPECT_EQ(fs.ReadFile(a + u"\\x.txt"), "two");
        EXPECT_EQ(fs.ReadFile(a + u"\\y.txt"), "");
        try {
            fs.ReadFile(a + u"\\none.txt");
            ADD_FAILURE();
        } catch (const Error& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with("Cannot open file \"" + EncodeUtf8(a + u"\\none.txt") + "\". "))
                << e.what();
        }
        fs.Rename(a + u"\\y.txt", a + u"\\x.txt"); // a file replaces a file
        EXPECT_EQ(fs.ReadFile(a + u"\\x.txt"), "");
        fs.CreateFolders(b);
        EXPECT_THROW(fs.Rename(a, b), Error) << "a folder never replaces one, even an empty one";
        fs.DeleteDirectory(b);
        fs.Rename(a, b);
        EXPECT_FALSE(fs.Exists(a));
        std::vector<std::u16string> names = fs.List(b);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::u16string>{u"deep", u"x.txt"}));
        fs.DeleteDirectory(root);
        EXPECT_FALSE(fs.Exists(root));
    }
}

} // namespace
} // namespace vn
