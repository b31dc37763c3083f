// Packing: the byte layout every entry gets, what is packed, and what is refused.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <ctime>
#include <fstream>
#include <random>
#include <set>

#include "exchange/zip_archive.h"
#include "exchange/zip_format.h"
#include "exchange/zip_writer.h"
#include "platform/errors.h"
#include "memory_archive_files.h"
#include "zip_test_support.h"

namespace vn::test {
namespace {

struct WrittenEntry {
    std::string name;
    std::string content;  // inflated
    uint16_t madeBy = 0, version = 0, flag = 0, method = 0, extraLength = 0, commentLength = 0, disk = 0, internal = 0;
    uint32_t time = 0, crc = 0, compressedSize = 0, uncompressedSize = 0, external = 0, offset = 0;
};

struct WrittenArchive {
    std::vector<WrittenEntry> entries;
    uint16_t entriesOnDisk = 0, entriesTotal = 0, commentLength = 0;
};

// Reads an archive as this program writes it, checking the layout on the way:
// local headers and data back to back from offset 0, the central directory right
// behind them with the same values, the end record closing the file.
WrittenArchive ReadWritten(const std::string& b) {
    WrittenArchive archive;
    const size_t end = b.size() - 22;
    EXPECT_EQ(Le32(b, end), 0x06054B50u);
    EXPECT_EQ(Le16(b, end + 4), 0);
    EXPECT_EQ(Le16(b, end + 6), 0);
    archive.entriesOnDisk = Le16(b, end + 8);
    archive.entriesTotal = Le16(b, end + 10);
    const uint32_t centralSize = Le32(b, end + 12);
    const uint32_t centralOffset = Le32(b, end + 16);
    archive.commentLength = Le16(b, end + 20);
    EXPECT_EQ(centralOffset + centralSize, end);

    size_t local = 0;
    size_t c = centralOffset;
    for (unsigned i = 0; i < archive.entriesTotal; ++i) {
        WrittenEntry e;
        EXPECT_EQ(Le32(b, c), 0x02014B50u);
        e.madeBy = Le16(b, c + 4);
        e.version = Le16(b, c + 6);
        e.flag = Le16(b, c + 8);
        e.method = Le16(b, c + 10);
        e.time = Le32(b, c + 12);
        e.crc = Le32(b, c + 16);
        e.compressedSize = Le32(b, c + 20);
        e.uncompressedSize = Le32(b, c + 24);
        const uint16_t nameLength = Le16(b, c + 28);
        e.extraLength = Le16(b, c + 30);
        e.commentLength = Le16(b, c + 32);
        e.disk = Le16(b, c + 34);
        e.internal = Le16(b, c + 36);
        e.external = Le32(b, c + 38);
        e.offset = Le32(b, c + 42);
        e.name = b.substr(c + 46, nameLength);
        c += 46 + nameLength;

        EXPECT_EQ(e.offset, local) << e.name;
        EXPECT_EQ(Le32(b, local), 0x04034B50u);
        // The local header repeats the central fields from the version needed on.
        EXPECT_EQ(b.compare(local + 4, 26, b, c - 46 - nameLength + 6, 26), 0) << e.name;
        EXPECT_EQ(b.substr(local + 30, nameLength), e.name);
        const size_t data = local + 30 + nameLength;
        const std::string compressed = b.substr(data, e.compressedSize);
        e.content = e.method == 8 ? RawInflate(compressed, e.uncompressedSize) : compressed;
        local = data + e.compressedSize;
        archive.entries.push_back(e);
    }
    EXPECT_EQ(local, centralOffset) << "the central directory follows the last entry's data";
    EXPECT_EQ(c, end);
    return archive;
}

uint32_t DosOf(time_t t) {
    struct tm local = {};
    localtime_r(&t, &local);
    return zipformat::DosDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                                  local.tm_sec);
}

void SetLocalTime(const fs::path& p, int year, int month, int day, int hour, int minute, int second) {
    struct tm local = {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    struct utimbuf times = {mktime(&local), mktime(&local)};
    ASSERT_EQ(utime(p.c_str(), &times), 0);
}

std::string RandomBytes(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string s(n, '\0');
    for (char& ch : s) ch = static_cast<char>(random());
    return s;
}

TEST(ZipPack, ExportedNotesGetTheFixedLayoutAndComeBackWhole) {
    ScratchFolder box;
    const fs::path folder = box / "Temp Export";
    fs::create_directories(folder);
    const std::map<std::string, std::string> notes = {
        {"Jotlets.txt", "notepad.exe|Untitled - Notepad=HOST|17.05.2024 13:45|Temp Export\\0.txt|1010\r\n"
                        "notepad.exe|todo.txt - Notepad=HOST|17.05.2024 13:46|Temp Export\\3.txt|\r\n"},
        {"0.txt", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Segoe UI;}}\\f0\\fs18 milk\\par eggs\\par}"},
        {"3.txt", std::string(5000, 'x') + RandomBytes(70000, 3)},  // spans more than one buffer
    };
    for (const auto& [name, content] : notes) WriteBytes(folder / name, content);
    const fs::path archive = box / "notes.vnx";

    ZipDirectoryContents(U16(archive), U16(folder), 8);

    const std::string bytes = ReadBytes(archive);
    const WrittenArchive written = ReadWritten(bytes);
    EXPECT_EQ(written.entriesOnDisk, 3);
    EXPECT_EQ(written.entriesTotal, 3);
    EXPECT_EQ(written.commentLength, 0);
    std::set<std::string> names;
    for (const WrittenEntry& e : written.entries) {
        names.insert(e.name);
        EXPECT_EQ(e.madeBy, 20) << e.name;
        EXPECT_EQ(e.version, 20) << e.name;
        EXPECT_EQ(e.flag, 0x0800) << e.name;
        EXPECT_EQ(e.method, 8) << e.name;
        EXPECT_EQ(e.extraLength + e.commentLength + e.disk + e.internal + e.external, 0u) << e.name;
        ASSERT_TRUE(notes.count(e.name)) << e.name;
        EXPECT_EQ(e.content, notes.at(e.name));
        EXPECT_EQ(e.uncompressedSize, notes.at(e.name).size());
        EXPECT_EQ(e.crc, Crc(notes.at(e.name))) << e.name;
        struct stat st;
        ASSERT_EQ(stat((folder / e.name).c_str(), &st), 0);
        EXPECT_EQ(e.time, DosOf(st.st_mtime)) << e.name;
        // The same bytes as a separate raw deflate of the file: the layout adds nothing.
        EXPECT_EQ(e.compressedSize, RawDeflate(notes.at(e.name)).size()) << e.name;
    }
    EXPECT_EQ(names, (std::set<std::string>{"Jotlets.txt", "0.txt", "3.txt"}));

    const fs::path unpacked = box / "unpacked";
    ExtractZipFile(U16(archive), U16(unpacked));
    EXPECT_EQ(Tree(unpacked), Tree(folder));
}

TEST(ZipPack, EmptyFilesAndTimestampsOutsideTheDosRange) {
    ScratchFolder box;
    const fs::path folder = box / "in";
    fs::create_directories(folder);
    struct Case {
        const char* name;
        int year, month, day, hour, minute, second;
        uint32_t expected;
    };
    const Case cases[] = {
        {"1979.txt", 1979, 12, 31, 23, 59, 58, 0},
        {"1980.txt", 1980, 1, 1, 0, 0, 0, (33u << 16)},
        {"2024.txt", 2024, 5, 17, 13, 45, 31, ((44u * 512 + 5 * 32 + 17) << 16) | (13 * 2048 + 45 * 32 + 15)},
        {"2107.txt", 2107, 12, 31, 23, 59, 58, ((127u * 512 + 12 * 32 + 31) << 16) | (23 * 2048 + 59 * 32 + 29)},
        {"2108.txt", 2108, 1, 1, 12, 0, 0, 0},
    };
    for (const Case& c : cases) {
        WriteBytes(folder / c.name, "");
        SetLocalTime(folder / c.name, c.year, c.month, c.day, c.hour, c.minute, c.second);
    }
    const fs::path archive = box / "a.zip";

    ZipDirectoryContents(U16(archive), U16(folder), 8);

    const WrittenArchive written = ReadWritten(ReadBytes(archive));
    ASSERT_EQ(written.entries.size(), std::size(cases));
    for (const WrittenEntry& e : written.entries) {
        const auto c = std::find_if(std::begin(cases), std::end(cases), [&](const Case& c) { return e.name == c.name; });
        ASSERT_NE(c, std::end(cases)) << e.name;
        EXPECT_EQ(e.time, c->expected) << e.name;
        // An empty file is still a deflate stream: one empty final block.
        EXPECT_EQ(e.compressedSize, 2u);
        EXPECT_EQ(e.crc, 0u);
        EXPECT_EQ(e.uncompressedSize, 0u);
    }
    ExtractZipFile(U16(archive), U16(box / "out"));
    EXPECT_EQ(Tree(box / "out"), Tree(folder));
}

TEST(ZipPack, SubfoldersHiddenFilesUnicodeNamesAndBothMethods) {
    ScratchFolder box;
    const fs::path folder = box / "in";
    fs::create_directories(folder / "sub" / "deeper");
    WriteBytes(folder / "sub" / "deeper" / "a.txt", "deep");
    WriteBytes(folder / ".hidden", "dot file");
    WriteBytes(folder / u8"Ünïcødé €.txt", "unicode");
    WriteBytes(folder / "big.bin", RandomBytes(200000, 7));
    for (int method : {8, 0}) {
        SCOPED_TRACE(method);
        const fs::path archive = box / ("m" + std::to_string(method) + ".zip");
        ZipDirectoryContents(U16(archive), U16(folder), method);
        const WrittenArchive written = ReadWritten(ReadBytes(archive));
        std::set<std::string> names;
        for (const WrittenEntry& e : written.entries) {
            names.insert(e.name);
            EXPECT_EQ(e.method, method);
        }
        EXPECT_EQ(names, (std::set<std::string>{"sub/deeper/a.txt", ".hidden", "\xC3\x9Cn\xC3\xAF" "c\xC3\xB8" "d\xC3\xA9 \xE2\x82\xAC.txt",
                                                "big.bin"}));
        const fs::path out = box / ("out" + std::to_string(method));
        ExtractZipFile(U16(archive), U16(out));
        EXPECT_EQ(Tree(out), Tree(folder));
    }
}

TEST(ZipPack, AnArchiveInsideThePackedFolderIsReplacedAndNotPackedIntoItself) {
    for (bool existsBefore : {false, true}) {
        SCOPED_TRACE(existsBefore);
        ScratchFolder box;
        const fs::path folder = box / "in";
        fs::create_directories(folder);
        WriteBytes(folder / "0.txt", "note");
        const fs::path archive = folder / "export.vnx";
        if (existsBefore) WriteBytes(archive, std::string(100000, 'J'));

        ZipDirectoryContents(U16(archive), U16(folder), 8);

        const WrittenArchive written = ReadWritten(ReadBytes(archive));  // nothing of the old file is left behind
        ASSERT_EQ(written.entries.size(), 1u);
        EXPECT_EQ(written.entries[0].name, "0.txt");
    }
}

TEST(ZipPack, LimitsOfTheFormatAreRefusedNotWrapped) {
    {
        SCOPED_TRACE("entry count");
        for (size_t count : {size_t{65535}, size_t{65536}}) {
            MemoryArchiveFiles files;
            files.AddFolder(u"/in");
            for (size_t i = 0; i < count; ++i) files.AddFile(u"/in/" + U16(fs::path(std::to_string(i))), "");
            if (count <= 65535) {
                ZipDirectoryContents(u"/a.zip", u"/in", 8, files);
                const WrittenArchive written = ReadWritten(files.Find(u"/a.zip")->bytes);
                EXPECT_EQ(written.entriesTotal, 65535);
            } else {
                try {
                    ZipDirectoryContents(u"/a.zip", u"/in", 8, files);
                    ADD_FAILURE() << "65,536 files packed";
                } catch (const Error& e) {
                    EXPECT_STREQ(e.what(), "Too many files for zip file");
                }
            }
        }
    }
    {
        SCOPED_TRACE("4 GiB source file");
        ScratchFolder box;
        fs::create_directories(box / "in");
        WriteBytes(box / "in" / "0.txt", "small");
        {
            std::ofstream big(box / "in" / "1.txt");
        }
        fs::resize_file(box / "in" / "1.txt", uint64_t{1} << 32);  // sparse: nothing is read before the refusal
        try {
            ZipDirectoryContents(U16(box / "a.zip"), U16(box / "in"), 8);
            ADD_FAILURE() << "a 4 GiB file packed";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "File too large for zip file");
        }
    }
}

TEST(ZipPack, AFailureLeavesAValidArchiveOfTheEntriesCompletedBeforeIt) {
    struct Case {
        const char* label;
        uint64_t limit;
        bool failingRead;
        const char* error;
    };
    // Three incompressible 1,000-byte files take about 1,040 bytes each plus 51 in
    // the central directory: two fit in 2,400 bytes, three do not.
    const Case cases[] = {
        {"archive would pass its size limit", 2400, false, "Zip file too large"},
        {"source file cannot be read to its end", zipformat::kMaxArchiveSize, true, "Stream read error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        MemoryArchiveFiles files;
        files.AddFile(u"/in/a.txt", RandomBytes(1000, 1));
        files.AddFile(u"/in/b.txt", RandomBytes(1000, 2));
        files.AddFile(u"/in/c.txt", RandomBytes(1000, 3));
        files.files[u"/in/c.txt"].failReads = c.failingRead;
        try {
            ZipDirectoryContentsWithLimit(u"/a.zip", u"/in", 8, files, c.limit);
            ADD_FAILURE() << "no failure";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), c.error);
        }
        const std::string bytes = files.Find(u"/a.zip")->bytes;
        EXPECT_LE(bytes.size(), c.limit);
        const WrittenArchive written = ReadWritten(bytes);
        ASSERT_EQ(written.entries.size(), 2u);
        EXPECT_EQ(written.entries[1].content, files.Find(u"/in/b.txt")->bytes);
        ExtractZipFile(u"/a.zip", u"/out", files);
        EXPECT_EQ(files.Find(u"/out/b.txt")->bytes, files.Find(u"/in/b.txt")->bytes);
    }
}

TEST(ZipPack, FailuresToOpenCarryTheFileNameAndTheSystemsReason) {
    ScratchFolder box;
    fs::create_directories(box / "in");
    try {
        ZipDirectoryContents(U16(box / "missing" / "a.zip"), U16(box / "in"), 8);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file \"" + (box / "missing" / "a.zip").string() + "\". No such file or directory");
    }
    try {
        ExtractZipFile(U16(box / "missing.zip"), U16(box / "out"));
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + (box / "missing.zip").string() + "\". No such file or directory");
    }
}

} // namespace
} // namespace vn::test
