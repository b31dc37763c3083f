// The exchange archive on real Windows files: wide names, hidden and system files,
// local-time DOS stamps, the system's error texts, and names that only Windows
// would turn into a way out of the folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "exchange/zip_archive.h"
#include "exchange/zip_format.h"
#include "platform/errors.h"
#include "platform/text_win.h"
#include "test_folder_win.h"

namespace vn {
namespace {

class ZipOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        root = test::TestFolderPath(u"zip");
        Remove(root);
        ASSERT_TRUE(CreateDirectoryW(W(root), nullptr));
    }
    void TearDown() override { Remove(root); }

    static void Remove(const std::u16string& path) {
        WIN32_FIND_DATAW item;
        HANDLE find = FindFirstFileW(W(path + u"\\*"), &item);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::u16string name = U16(item.cFileName);
                if (name == u"." || name == u"..") continue;
                std::u16string child = path + u"\\" + name;
                SetFileAttributesW(W(child), FILE_ATTRIBUTE_NORMAL);
                if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(child);
                else
                    DeleteFileW(W(child));
            } while (FindNextFileW(find, &item));
            FindClose(find);
        }
        RemoveDirectoryW(W(path));
    }

    static void Write(const std::u16string& path, const std::string& bytes) {
        std::ofstream out(W(path), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string Read(const std::u16string& path) {
        std::ifstream in(W(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static bool Exists(const std::u16string& path) { return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES; }

    std::u16string root;
};

// The central directory entry of `name` in an archive as the program writes it.
size_t CentralEntryOf(const std::string& archive, const std::string& name) {
    for (size_t at = archive.find("PK\x01\x02"); at != std::string::npos; at = archive.find("PK\x01\x02", at + 1)) {
        const auto* p = reinterpret_cast<const uint8_t*>(archive.data() + at);
        if (archive.compare(at + 46, zipformat::Get16(p + 28), name) == 0) return at;
    }
    return std::string::npos;
}

TEST_F(ZipOnDisk, PacksHiddenSystemAndWideNamedFilesWithLocalTimesAndUnpacksThem) {
    const std::u16string folder = root + u"\\Temp Export";
    ASSERT_TRUE(CreateDirectoryW(W(folder), nullptr));
    ASSERT_TRUE(CreateDirectoryW(W(folder + u"\\\u30ce\u30fc\u30c8"), nullptr));
    Write(folder + u"\\Jotlets.txt", "notepad.exe|Untitled - Notepad=HOST|now|Temp Export\\0.txt|10\r\n");
    Write(folder + u"\\0.txt", "{\\rtf1 hidden}");
    Write(folder + u"\\3.txt", "{\\rtf1 system}");
    Write(folder + u"\\\u30ce\u30fc\u30c8\\\u00e9t\u00e9.txt", "wide");
    SetFileAttributesW(W(folder + u"\\0.txt"), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(W(folder + u"\\3.txt"), FILE_ATTRIBUTE_SYSTEM);

    // 17 May 2024 13:45:31 local time; DOS keeps seconds in steps of two.
    SYSTEMTIME local = {2024, 5, 5, 17, 13, 45, 31, 0};
    SYSTEMTIME utcTime;
    FILETIME utc;
    ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utcTime));
    ASSERT_TRUE(SystemTimeToFileTime(&utcTime, &utc));
    HANDLE h = CreateFileW(W(folder + u"\\Jotlets.txt"), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &utc));
    CloseHandle(h);

    const std::u16string archive = root + u"\\notes.vnx";
    ZipDirectoryContents(archive, folder, 8);

    const std::string bytes = Read(archive);
    for (const char* name : {"Jotlets.txt", "0.txt", "3.txt", "\xE3\x83\x8E\xE3\x83\xBC\xE3\x83\x88/\xC3\xA9t\xC3\xA9.txt"})
        EXPECT_NE(CentralEntryOf(bytes, name), std::string::npos) << name;
    const size_t jotlets = CentralEntryOf(bytes, "Jotlets.txt");
    ASSERT_NE(jotlets, std::string::npos);
    EXPECT_EQ(zipformat::Get32(reinterpret_cast<const uint8_t*>(bytes.data() + jotlets + 12)),
              zipformat::DosDateTime(2024, 5, 17, 13, 45, 30));

    const std::u16string out = root + u"\\out";
    ExtractZipFile(archive, out);
    for (const char16_t* name : {u"\\Jotlets.txt", u"\\0.txt", u"\\3.txt", u"\\\u30ce\u30fc\u30c8\\\u00e9t\u00e9.txt"})
        EXPECT_EQ(Read(out + name), Read(folder + name)) << Utf8(name);
}

TEST_F(ZipOnDisk, AnArchiveSavedIntoThePackedFolderIsNotPackedIntoItself) {
    Write(root + u"\\0.txt", "note");
    Write(root + u"\\export.vnx", std::string(50000, 'J'));
    ZipDirectoryContents(root + u"\\EXPORT.VNX", root, 8);  // another spelling of the same file
    const std::string bytes = Read(root + u"\\export.vnx");
    EXPECT_NE(CentralEntryOf(bytes, "0.txt"), std::string::npos);
    EXPECT_EQ(CentralEntryOf(bytes, "export.vnx"), std::string::npos);
    EXPECT_LT(bytes.size(), 200u);
}

TEST_F(ZipOnDisk, FailuresCarryTheExpandedNameAndTheSystemsMessage) {
    try {
        ExtractZipFile(root + u"\\missing.vnx", root + u"\\out");
        ADD_FAILURE();
    } catch (const Error& e) {
        const std::string prefix = "Cannot open file \"" + Utf8(root) + "\\missing.vnx\". ";
        EXPECT_TRUE(std::string(e.what()).starts_with(prefix)) << e.what();
        EXPECT_GT(std::string(e.what()).size(), prefix.size()) << "the system's message is missing";
    }
}

// Names that Windows itself would resolve outside the folder or to a device are
// refused before anything of them is written. The archives are packed here and
// then have their names rewritten to the hostile form, in both headers.
TEST_F(ZipOnDisk, NamesWindowsWouldTurnIntoAWayOutAreRefused) {
    struct Case {
        const char16_t* file;  // what gets packed, relative to the folder
        std::string packedName, hostileName;
    };
    const Case cases[] = {
        {u"ab\\evil.txt", "ab/evil.txt", "..\\evil.txt"},
        {u"abc\\evil.txt", "abc/evil.txt", ".. \\evil.txt"},
        {u"CX", "CX", "C:"},
        {u"cox", "cox", "CON"},
        {u"ab.txt", "ab.txt", "a:.txt"},  // an alternate data stream of "a"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hostileName);
        const std::u16string box = root + u"\\box";
        Remove(box);
        const std::u16string src = box + u"\\src";
        CreateDirectoryW(W(box), nullptr);
        CreateDirectoryW(W(src), nullptr);
        const std::u16string file = src + u"\\" + c.file;
        const size_t cut = file.find_last_of(u'\\');
        CreateDirectoryW(W(file.substr(0, cut)), nullptr);
        Write(file, "evil");
        ZipDirectoryContents(box + u"\\a.vnx", src, 8);
        std::string bytes = Read(box + u"\\a.vnx");
        ASSERT_EQ(c.packedName.size(), c.hostileName.size());
        for (size_t at = bytes.find(c.packedName); at != std::string::npos; at = bytes.find(c.packedName, at + 1))
            bytes.replace(at, c.hostileName.size(), c.hostileName);
        Write(box + u"\\a.vnx", bytes);

        const std::u16string out = box + u"\\in\\out";
        try {
            ExtractZipFile(box + u"\\a.vnx", out);
            ADD_FAILURE() << "unpacked";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "Invalid characters in path");
        }
        EXPECT_FALSE(Exists(box + u"\\evil.txt"));
        EXPECT_FALSE(Exists(box + u"\\in\\evil.txt"));
        WIN32_FIND_DATAW item;
        HANDLE find = FindFirstFileW(W(out + u"\\*"), &item);
        int entries = 0;
        if (find != INVALID_HANDLE_VALUE) {
            do
                entries += U16(item.cFileName) != u"." && U16(item.cFileName) != u"..";
            while (FindNextFileW(find, &item));
            FindClose(find);
        }
        EXPECT_EQ(entries, 0) << "something of the entry was written";
    }
}

} // namespace
} // namespace vn
