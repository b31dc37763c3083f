// Unpacking: what other tools write comes out right; what a hostile archive
// holds is refused with its text, and nothing lands outside the target folder.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "exchange/zip_archive.h"
#include "platform/errors.h"
#include "zip_test_support.h"

namespace vn::test {
namespace {

using Tree_t = std::map<std::string, std::string>;

RawEntry File(std::string name, std::string content, uint16_t method = 8) {
    RawEntry e;
    e.name = std::move(name);
    e.content = std::move(content);
    e.method = method;
    return e;
}

template <class F>
RawEntry With(RawEntry e, F change) {
    change(e);
    return e;
}

RawArchive Of(std::vector<RawEntry> entries) {
    RawArchive a;
    a.entries = std::move(entries);
    return a;
}

template <class F>
std::string Built(RawArchive a, F change) {
    change(a);
    return a.Build();
}

// An end record with everything zero except what is given, as a hostile comment holds it.
std::string EndRecord(uint16_t count, uint32_t size, uint32_t offset, uint16_t commentLength = 0) {
    RawArchive a;
    a.count = count;
    a.centralSize = size;
    a.centralOffset = offset;
    a.commentLength = commentLength;
    return a.Build();
}

TEST(ZipUnpack, ReadsWhatOtherToolsWrite) {
    const std::string cp437Name = "\x81" "ber.txt";                    // "über.txt" in code page 437
    const std::string utf8Name = "\xC3\xBC" "ber.txt";                 // "über.txt" in UTF-8
    auto unicodePath = [&](const std::string& forName, const std::string& unicode) {
        // Info-ZIP's extra field 0x7075: version 1, CRC of the plain name, the UTF-8 name.
        std::string field = "up";
        std::string body = std::string(1, '\1');
        uint32_t crc = Crc(forName);
        for (int i = 0; i < 4; ++i) body += static_cast<char>(crc >> (8 * i));
        body += unicode;
        field += static_cast<char>(body.size() & 0xFF);
        field += static_cast<char>(body.size() >> 8);
        return field + body;
    };
    struct Case {
        const char* label;
        std::string archive;
        Tree_t expected;
    };
    const Case cases[] = {
        {"folder entry and a file in it", Of({File("sub/", "", 0), File("sub/a.txt", "A")}).Build(),
         {{"sub/", ""}, {"sub/a.txt", "A"}}},
        {"stored and deflated entries", Of({File("s.txt", "stored", 0), File("d.txt", "deflated")}).Build(),
         {{"s.txt", "stored"}, {"d.txt", "deflated"}}},
        {"empty deflated file", Of({File("e.txt", "")}).Build(), {{"e.txt", ""}}},
        {"code page 437 name without flag bit 11",
         Of({With(File(cp437Name, "x"), [](RawEntry& e) { e.flag = 0; })}).Build(), {{utf8Name, "x"}}},
        // Python and bsdtar set bit 11 only on names that need it.
        {"UTF-8 name without flag bit 11 from a DOS or Windows tool",
         Of({With(File(utf8Name, "x"), [](RawEntry& e) { e.flag = 0; })}).Build(), {{"\xE2\x94\x9C\xE2\x95\x9D" "ber.txt", "x"}}},
        {"UTF-8 name without flag bit 11 from a Unix tool",
         Of({With(File(utf8Name, "x"), [](RawEntry& e) { e.flag = 0, e.madeBy = 0x031E; })}).Build(), {{utf8Name, "x"}}},
        {"code page 437 name from a Unix tool",
         Of({With(File(cp437Name, "x"), [](RawEntry& e) { e.flag = 0, e.madeBy = 0x031E; })}).Build(), {{utf8Name, "x"}}},
        {"flag bit 11 on some entries only",
         Of({File(utf8Name, "u"), With(File("plain.txt", "p"), [](RawEntry& e) { e.flag = 0; })}).Build(),
         {{utf8Name, "u"}, {"plain.txt", "p"}}},
        {"UTF-8 name in Info-ZIP's extra field",
         Of({With(File("?ber.txt", "i"), [&](RawEntry& e) { e.flag = 0, e.extra = unicodePath("?ber.txt", utf8Name); })})
             .Build(),
         {{utf8Name, "i"}}},
        {"extra field of another name is ignored",
         Of({With(File(cp437Name, "i"), [&](RawEntry& e) { e.flag = 0, e.extra = unicodePath("other", "evil/../x"); })})
             .Build(),
         {{utf8Name, "i"}}},
        {"data descriptors behind the data",
         Of({With(File("a.txt", "descriptor"), [](RawEntry& e) { e.descriptor = true; }),
             With(File("b.txt", "stored"), [](RawEntry& e) { e.descriptor = true, e.method = 0; })})
             .Build(),
         {{"a.txt", "descriptor"}, {"b.txt", "stored"}}},
        {"longest comment the end record can have",
         Built(Of({File("a.txt", "A")}), [](RawArchive& a) { a.comment = std::string(65513, 'c'); }), {{"a.txt", "A"}}},
        {"bytes in front of the archive", Built(Of({File("a.txt", "A")}), [](RawArchive& a) { a.prefix = "#!junk\n"; }),
         {{"a.txt", "A"}}},
        {"end record signature inside the comment",
         Built(Of({File("a.txt", "A")}), [](RawArchive& a) { a.comment = "PK\x05\x06 is how an end record starts"; }),
         {{"a.txt", "A"}}},
        {"only an end record", RawArchive{}.Build(), {}},
        {"folder entry of the folder itself", Of({File("./", "", 0), File("./a.txt", "A")}).Build(), {{"a.txt", "A"}}},
        {"current-folder and doubled separators", Of({File("./x//y.txt", "Y"), File("sub\\b.txt", "B")}).Build(),
         {{"x/", ""}, {"x/y.txt", "Y"}, {"sub/", ""}, {"sub/b.txt", "B"}}},
        {"same name twice: the later entry wins", Of({File("a.txt", "first"), File("a.txt", "second")}).Build(),
         {{"a.txt", "second"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchFolder box;
        WriteBytes(box / "a.zip", c.archive);
        try {
            ExtractZipFile(U16(box / "a.zip"), U16(box / "out"));
        } catch (const Error& e) {
            ADD_FAILURE() << e.what();
        }
        EXPECT_EQ(Tree(box / "out"), c.expected);
    }
}

struct Hostile {
    const char* label;
    std::string archive;
    const char* error;
    Tree_t unpacked = {};                               // what the folder holds after the failure
    std::function<void(const fs::path&)> setUp = {};    // plants things in the box first
    bool unpackedKnown = true;                          // false where zlib decides how much comes out
};

void ExpectRefused(const Hostile& c) {
    SCOPED_TRACE(c.label);
    ScratchFolder box;
    const fs::path out = box / "in" / "out";
    fs::create_directories(out);
    if (c.setUp) c.setUp(box.Path());
    const Tree_t before = Tree(box.Path());
    WriteBytes(box / "a.zip", c.archive);
    // "%" in an expected text stands for the scratch folder.
    std::string error = c.error;
    if (size_t at = error.find('%'); at != std::string::npos) error.replace(at, 1, box.Path().string());
    try {
        ExtractZipFile(U16(box / "a.zip"), U16(out));
        ADD_FAILURE() << "unpacked without complaint";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), error);
    }
    Tree_t after = Tree(box.Path());
    after.erase("a.zip");
    for (auto& [name, content] : before)
        if (!name.starts_with("in/out/")) {
            EXPECT_EQ(after[name], content) << name << " changed";
            after.erase(name);
        }
    Tree_t inside;
    for (auto& [name, content] : after) {
        EXPECT_TRUE(name.starts_with("in/out/")) << name << " written outside the folder";
        inside[name.substr(7)] = content;
    }
    if (!c.unpackedKnown) return;
    Tree_t expected = c.unpacked;
    for (auto& [name, content] : before)
        if (name.starts_with("in/out/")) expected.emplace(name.substr(7), content);
    EXPECT_EQ(inside, expected);
}

TEST(ZipUnpack, NamesThatWouldLeaveTheFolderAreRefusedBeforeAnythingIsWritten) {
    const std::string names[] = {
        "../evil.txt", "a/../../evil.txt", "..\\..\\evil.txt", "a\\..\\..\\evil.txt", "/tmp/evil.txt",
        "\\evil.txt", "C:/evil.txt", "C:evil.txt", "\\\\server\\share\\evil.txt", "//server/share/evil.txt",
        ".. /evil.txt", "../", ".", "./.", "", std::string("a\0b.txt", 7), "nul.txt", "sub/CON",
        std::string("ok\0/../../evil.txt", 18),  // a NUL hiding a climb from C string handling
    };
    for (const std::string& name : names) {
        ExpectRefused({name.c_str(), Of({File("first.txt", "kept"), File(name, "evil")}).Build(),
                       "Invalid characters in path", {{"first.txt", "kept"}}});
    }
}

TEST(ZipUnpack, HostileArchivesGiveTheirErrorAndWriteNothingOutside) {
    const RawArchive one = Of({File("a.txt", "alpha alpha alpha")});
    const Hostile cases[] = {
        {"symbolic link entry",
         Of({With(File("link", "../../../etc/passwd", 0), [](RawEntry& e) { e.madeBy = 0x031E, e.external = 0120777u << 16; })})
             .Build(),
         "Symbolic link in zip file"},
        {"empty file", "", "Stream read error"},
        {"plain text", "just some text, no archive at all\n", "Error reading zip file"},
        {"comment longer than the end record allows",
         Built(Of({File("a.txt", "A")}), [](RawArchive& a) { a.comment = std::string(65514, 'c'); }),
         "Error reading zip file"},
        {"end record hidden in the comment, pointing at a local header",
         Built(Of({File("a.txt", "A")}), [](RawArchive& a) { a.comment = EndRecord(1, 46, 0); }),
         "Invalid Zip Central Header signature"},
        {"entry count larger than the directory", Built(one, [](RawArchive& a) { a.count = 2; }), "Error reading zip file"},
        {"entry count smaller than the directory", Built(one, [](RawArchive& a) { a.count = 0; }), "Error reading zip file"},
        {"entry count at its maximum", Built(one, [](RawArchive& a) { a.count = 0xFFFF; }), "Error reading zip file"},
        {"central directory offset past the end", Built(one, [](RawArchive& a) { a.centralOffset = 0x7FFFFFF0; }),
         "Error reading zip file"},
        {"central directory offset at a local header", Built(one, [](RawArchive& a) { a.centralOffset = 0; }),
         "Invalid Zip Central Header signature"},
        {"central directory size past the end", Built(one, [](RawArchive& a) { a.centralSize = 0xFFFFFF00; }),
         "Error reading zip file"},
        {"local header offset past the end",
         Of({With(File("a.txt", "A"), [](RawEntry& e) { e.localOffset = 0x7FFFFFFF; })}).Build(), "Error reading zip file"},
        {"local header offset into the data",
         Of({With(File("a.txt", "A"), [](RawEntry& e) { e.localOffset = 10; })}).Build(),
         "Invalid Zip Local Header signature"},
        {"name length running past the directory",
         Built(one, [&](RawArchive& a) { a.centralSize = static_cast<uint32_t>(46 + 2); }), "Error reading zip file"},
        {"compressed size running into the central directory",
         Of({With(File("a.txt", "A"), [](RawEntry& e) { e.compressedSize = 0xFFFFFFF0; })}).Build(),
         "Overlapping entries in zip file"},
        {"uncompressed size larger than the data",
         Of({With(File("a.txt", "alpha"), [](RawEntry& e) { e.uncompressedSize = 0xFFFFFFFF; })}).Build(),
         "Stream read error", {{"a.txt", "alpha"}}},
        {"uncompressed size smaller than the data",
         Of({With(File("a.txt", "alpha"), [](RawEntry& e) { e.uncompressedSize = 3; })}).Build(),
         "Wrong entry size in zip file", {{"a.txt", "alp"}}},
        {"stored entry shorter than announced",
         Of({With(File("a.txt", "alpha", 0), [](RawEntry& e) { e.uncompressedSize = 9; })}).Build(), "Stream read error"},
        {"local header names another file",
         Of({With(File("good.txt", "A"), [](RawEntry& e) { e.localName = "evil.txt"; })}).Build(),
         "Zip Local Header does not match Central Header"},
        {"local header with another method",
         Of({With(File("a.txt", "A"), [](RawEntry& e) { e.localMethod = 0; })}).Build(),
         "Zip Local Header does not match Central Header"},
        {"local header with another CRC",
         Of({With(File("a.txt", "A"), [](RawEntry& e) { e.localCrc = 1234; })}).Build(),
         "Zip Local Header does not match Central Header"},
        {"two entries sharing one local header",
         Of({File("a.txt", "A"), With(File("a.txt", "A"), [](RawEntry& e) { e.localOffset = 0; })}).Build(),
         "Overlapping entries in zip file"},
        {"data running over the next entry's header",
         Of({With(File("a.txt", "A"), [](RawEntry& e) { e.compressedSize = 20, e.localCompressedSize = 20; }),
             File("b.txt", "B")})
             .Build(),
         "Overlapping entries in zip file"},
        {"compression method 12 after a good entry",
         Of({File("first.txt", "kept"), With(File("b.bz2", "BZh9"), [](RawEntry& e) { e.method = 12; })}).Build(),
         "Item not found", {{"first.txt", "kept"}}},
        {"bad CRC, stored", Of({With(File("a.txt", "alpha", 0), [](RawEntry& e) { e.crc = 1; })}).Build(),
         "CRC error in zip file", {{"a.txt", "alpha"}}},
        {"bad CRC, deflated", Of({With(File("a.txt", "alpha"), [](RawEntry& e) { e.crc = 1; })}).Build(),
         "CRC error in zip file", {{"a.txt", "alpha"}}},
        {"bad CRC, empty file", Of({With(File("a.txt", ""), [](RawEntry& e) { e.crc = 1; })}).Build(),
         "CRC error in zip file", {{"a.txt", ""}}},
        {"corrupt deflate data",
         Of({With(File("a.txt", "alpha"), [](RawEntry& e) { e.data = std::string("\xFF\xFF\xFF\xFF", 4); })}).Build(),
         "data error", {{"a.txt", ""}}},
        {"deflate data cut short",
         Of({With(File("a.txt", std::string(3000, 'q') + "end"),
                   [](RawEntry& e) { e.data = RawDeflate(e.content).substr(0, 4); })})
             .Build(),
         "Stream read error", {}, {}, false},
        {"link planted at the target name", Of({File("note.txt", "evil")}).Build(),
         "Cannot create file \"%/in/out/note.txt\". Not a regular file.", {},
         [](const fs::path& box) {
             WriteBytes(box / "secret.txt", "secret");
             fs::create_symlink(box / "secret.txt", box / "in" / "out" / "note.txt");
         }},
        {"link planted at a folder name", Of({File("sub/note.txt", "evil")}).Build(),
         "Cannot create file \"%/in/out/sub\". Not a folder.", {},
         [](const fs::path& box) {
             fs::create_directories(box / "elsewhere");
             fs::create_directory_symlink(box / "elsewhere", box / "in" / "out" / "sub");
         }},
    };
    for (const Hostile& c : cases) ExpectRefused(c);
}

TEST(ZipUnpack, EveryTruncationAndEveryDamagedByteIsRefusedOrStaysInside) {
    const std::string archive =
        Of({File("Jotlets.txt", "notepad.exe|x=HOST|now|Temp Export\\0.txt|10\r\n"), File("0.txt", "{\\rtf1 hi}", 0),
            File("sub/", "", 0)})
            .Build();
    ScratchFolder box;
    const fs::path out = box / "in" / "out";
    for (size_t length = 0; length < archive.size(); ++length) {
        WriteBytes(box / "a.zip", archive.substr(0, length));
        try {
            ExtractZipFile(U16(box / "a.zip"), U16(out));
            ADD_FAILURE() << "a cut at " << length << " went unnoticed";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), length == 0 ? "Stream read error" : "Error reading zip file") << length;
        }
        fs::remove_all(box / "in");
    }
    for (size_t at = 0; at < archive.size(); ++at) {
        std::string damaged = archive;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
        WriteBytes(box / "a.zip", damaged);
        try {
            ExtractZipFile(U16(box / "a.zip"), U16(out));
        } catch (const Error&) {
        }
        for (const auto& [name, content] : Tree(box.Path()))
            EXPECT_TRUE(name == "a.zip" || name == "in/" || name.starts_with("in/out/")) << name << " at " << at;
        fs::remove_all(box / "in");
    }
}

} // namespace
} // namespace vn::test
