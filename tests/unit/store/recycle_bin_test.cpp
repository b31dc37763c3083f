// The recycle bin's own files: what its index reader keeps of a damaged index, and
// the body files it removes or keeps at a load.
#include "store/recycle_bin.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"

namespace vn {
namespace {

const std::u16string kData = u"C:\\Data\\Vantory Note\\";
const std::u16string kBin = kData + u"Recycle Bin";

TEST(RecycleBin, AnIndexReadsBackOnlyItsWellFormedEntries) {
    struct Case {
        const char* line;
        const char* caption; // of the entry it gives; null: skipped
    };
    const std::vector<Case> cases{
        {"1|100|-|0000000000000000|a.exe|Plain|PC|t|01", "Plain"},
        {"2|100|D|00000000000000ff|a.exe|%7C%25%0D%0A\xc3\xa9|PC|t|", "|%\r\n\xc3\xa9"},
        {"3|-5|R|0|a.exe|Negative time, short fingerprint|PC|t|", "Negative time, short fingerprint"},
        {"4|100|-|0|a.exe|Broken %zz and a lone %|PC|t|", "Broken %zz and a lone %"},
        {"1|100|-|0|a.exe|A second id 1|PC|t|", nullptr},
        {"0|100|-|0|a.exe|Id 0|PC|t|", nullptr},
        {"x|100|-|0|a.exe|Id not a number|PC|t|", nullptr},
        {"5|soon|-|0|a.exe|Time not a number|PC|t|", nullptr},
        {"6|100|Q|0|a.exe|Unknown mark|PC|t|", nullptr},
        {"7|100|-|fingerprint|a.exe|Fingerprint not hex|PC|t|", nullptr},
        {"8|100|-|0|a.exe|Too few fields", nullptr},
        {"9|100|-|0|a.exe|Too|many|fields|PC|t|", nullptr},
        {"", nullptr},
        {"99999999999999999999999|100|-|0|a.exe|Id too large|PC|t|", nullptr},
    };
    MemoryFileSystem fs;
    fs.CreateFolders(kBin);
    std::string index = "Vantory Note recycle bin 1\r\n";
    for (const Case& c : cases) index += std::string(c.line) + "\r\n";
    fs.WriteFile(kBin + u"\\Deleted.txt", index);
    RecycleBin bin(fs, kData);
    bin.Load();
    std::vector<std::string> read;
    for (const BinEntry& e : bin.Entries()) read.push_back(EncodeUtf8(e.note.caption));
    std::vector<std::string> expected;
    for (const Case& c : cases)
        if (c.caption) expected.push_back(c.caption);
    EXPECT_EQ(read, expected);
    EXPECT_EQ(bin.Find(2)->fingerprint, 0xffu);
    EXPECT_EQ(bin.Find(2)->mark, BinMark::Deleting);
    EXPECT_EQ(bin.Find(3)->deletedAt, -5);
}

TEST(RecycleBin, ALoadRemovesBodiesNoIndexNamesAndNeverReusesTheirIds) {
    MemoryFileSystem fs;
    fs.CreateFolders(kBin);
    fs.WriteFile(kBin + u"\\Deleted.txt", "Vantory Note recycle bin 1\r\n2|100|-|0|a.exe|Kept|PC|t|\r\n");
    for (const char16_t* name : {u"2.txt", u"7.txt", u"notes.txt", u"Deleted.tmp"}) fs.WriteFile(kBin + u"\\" + name, "x");
    RecycleBin bin(fs, kData);
    bin.Load();
    EXPECT_TRUE(fs.Exists(kBin + u"\\2.txt"));
    EXPECT_FALSE(fs.Exists(kBin + u"\\7.txt")) << "a body no index names";
    EXPECT_TRUE(fs.Exists(kBin + u"\\notes.txt")) << "not one of the bin's names";
    EXPECT_EQ(bin.Stage({CapturedNote{u"b.exe", u"New", u"PC", u"t", u"", std::make_shared<const std::string>("b")}},
                        100),
              std::vector<uint64_t>{8});
}

TEST(RecycleBin, AnIndexThatCannotBeReadRefusesEveryChange) {
    MemoryFileSystem fs;
    fs.CreateFolders(kBin);
    fs.WriteFile(kBin + u"\\Deleted.txt", "Vantory Note recycle bin 1\r\n1|100|-|0|a.exe|Kept|PC|t|\r\n");
    fs.WriteFile(kBin + u"\\1.txt", "body");
    fs.Lock(kBin + u"\\Deleted.txt");
    RecycleBin bin(fs, kData);
    EXPECT_THROW(bin.Load(), BinUnreadableError);
    const CapturedNote note{u"b.exe", u"New", u"PC", u"t", u"", std::make_shared<const std::string>("b")};
    EXPECT_THROW(bin.Stage({note}, 100), BinUnreadableError);
    EXPECT_TRUE(fs.Exists(kBin + u"\\1.txt")) << "its body was taken for a leftover";
    fs.Lock(kBin + u"\\Deleted.txt", false);
    bin.Load();
    EXPECT_EQ(bin.Entries().size(), 1u);
}

} // namespace
} // namespace vn
