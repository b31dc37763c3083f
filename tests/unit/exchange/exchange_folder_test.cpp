// The exchange folder: the selection save packed into an archive, the unpacking of
// an import and the filling of a note from an imported record, on a file system in
// memory.
#include "exchange/exchange_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "exchange/export_target.h"
#include "exchange/import_rows.h"
#include "exchange/zip_archive.h"
#include "memory_file_system.h"
#include "store/fake_note.h"
#include "store/index_file.h"

namespace vn {
namespace {

using test::FakeNote;
using test::Pointers;
using Lines = std::vector<std::u16string>;

const std::u16string kData = u"C:\\Users\\u\\AppData\\Local\\Vantory Note\\";
const std::u16string kDesktop = u"C:\\Users\\u\\Desktop\\";

std::vector<FakeNote> ThreeNotes() {
    return {
        {u"a.exe", u"Alpha", u"WS-01", u"01.02.2020 10:00:00", "{\\rtf1 A}", 2, {{1, true}}},
        {u"b.exe", u"Beta", u"WS-01", u"02.02.2020", "{\\rtf1 B}", 0},
        {u"c.exe", u"Gamma", u"WS-02", u"03.02.2020 11:00:00", "{\\rtf1 C}", 3, {{0, true}, {2, true}}},
    };
}

class ExchangeFolderTest : public ::testing::Test {
protected:
    ExchangeFolderTest() { fs.CreateFolders(kDesktop); }

    void Put(const std::u16string& relative, const std::string& bytes) {
        fs.CreateFolders(ParentPath(kData + relative));
        fs.WriteFile(kData + relative, bytes);
    }
    std::string Bytes(const std::u16string& relative) { return fs.ReadFile(kData + relative); }
    Lines Index(const std::u16string& relative) { return DecodeIndexFile(Bytes(relative), cp); }
    Lines Entries(const std::u16string& folder) {
        Lines entries = fs.List(folder);
        std::sort(entries.begin(), entries.end());
        return entries;
    }
    // What an archive holds, as a plain unzip gives it.
    Lines Packed(const std::u16string& archive) {
        fs.DeleteDirectory(kData + u"Unpacked");
        ExtractZipFile(archive, kData + u"Unpacked", fs);
        return Entries(kData + u"Unpacked");
    }

    MemoryFileSystem fs;
    Windows1252CodePage cp;
    NoteStore store{fs, cp, kData};
    ExchangeFolder exchange{store, fs, cp};
    std::vector<FakeNote> abc = ThreeNotes();
};

TEST_F(ExchangeFolderTest, SelectionSaveStagesTheChosenNotesAndPacksTheFolder) {
    store.SaveStore(Pointers(abc));
    const std::string storeIndex = Bytes(u"Information\\Jotlets.txt");
    Put(u"Temp Export\\Jotlets.txt", "left from an import\r\n");
    Put(u"Temp Export\\5.txt", "left from an import");

    const size_t zeroAndTwo[] = {2, 0};
    exchange.SaveSelection(kDesktop + u"out.vnx", zeroAndTwo, Pointers(abc));

    EXPECT_EQ(Packed(kDesktop + u"out.vnx"), (Lines{u"0.txt", u"2.txt", u"Jotlets.txt"}));
    EXPECT_EQ(Bytes(u"Unpacked\\2.txt"), "{\\rtf1 C}");
    EXPECT_EQ(Index(u"Temp Export\\Jotlets.txt"),
              (Lines{u"c.exe|Gamma=WS-02|03.02.2020 11:00:00|Temp Export\\2.txt|101",
                     u"a.exe|Alpha=WS-01|01.02.2020 10:00:00|Temp Export\\0.txt|01"}));
    EXPECT_EQ(Index(u"Unpacked\\Jotlets.txt"), Index(u"Temp Export\\Jotlets.txt"));
    EXPECT_EQ(Bytes(u"Information\\Jotlets.txt"), storeIndex) << "the store is not touched";
    EXPECT_EQ(Entries(kDesktop), (Lines{u"out.vnx"})) << "no part file is left";

    const size_t two[] = {2};
    exchange.SaveSelection(kDesktop + u"out.vnx", two, Pointers(abc));
    EXPECT_EQ(Packed(kDesktop + u"out.vnx"), (Lines{u"2.txt", u"Jotlets.txt"})) << "the archive is replaced";
}

// Whichever step of the selection save fails (the reset of a folder holding an
// older export's file, a body, the index, the packing, the final rename), the
// archive is either the old one, whole, or holds the chosen notes and nothing else.
TEST_F(ExchangeFolderTest, AFailedStepNeverLeavesABrokenOrPollutedArchive) {
    const std::u16string archive = kDesktop + u"notes.vnx";
    const size_t all[] = {2, 1, 0};
    int64_t saveSteps = 0;
    // True when the save succeeded.
    auto run = [&](MemoryFileSystem& disk, int64_t failingStep) {
        disk.CreateFolders(kDesktop);
        disk.WriteFile(archive, "old archive");
        disk.CreateFolders(kData + u"Temp Export");
        disk.WriteFile(kData + u"Temp Export\\9.txt", "not chosen");
        NoteStore s(disk, cp, kData);
        ExchangeFolder e(s, disk, cp);
        const int64_t before = disk.Steps();
        if (failingStep > 0) disk.FailStep(failingStep);
        bool saved = true;
        try {
            e.SaveSelection(archive, all, Pointers(abc));
        } catch (const Error&) {
            saved = false;
        }
        disk.ClearFaults();
        saveSteps = disk.Steps() - before;
        return saved;
    };
    MemoryFileSystem calibration;
    ASSERT_TRUE(run(calibration, 0));
    const int64_t steps = saveSteps;
    int failed = 0;
    for (int64_t n = 1; n <= steps; ++n) {
        MemoryFileSystem disk;
        if (run(disk, n)) {
            disk.CreateFolders(u"C:\\check");
            ExtractZipFile(archive, u"C:\\check", disk);
            Lines packed = disk.List(u"C:\\check");
            std::sort(packed.begin(), packed.end());
            EXPECT_EQ(packed, (Lines{u"0.txt", u"1.txt", u"2.txt", u"Jotlets.txt"})) << "step " << n;
        } else {
            ++failed;
            EXPECT_EQ(disk.ReadFile(archive), "old archive") << "step " << n;
        }
        EXPECT_FALSE(disk.Exists(PartialFileName(archive))) << "step " << n;
    }
    EXPECT_GT(failed, 5);
}

TEST_F(ExchangeFolderTest, UnpackResetsTheFolderAndReadsTheIndex) {
    const size_t two[] = {2};
    exchange.SaveSelection(kDesktop + u"out.vnx", two, Pointers(abc));
    Put(u"Temp Export\\7.txt", "left from another export");

    EXPECT_EQ(exchange.Unpack(kDesktop + u"out.vnx"),
              (Lines{u"c.exe|Gamma=WS-02|03.02.2020 11:00:00|Temp Export\\2.txt|101"}));
    EXPECT_EQ(Entries(exchange.Folder()), (Lines{u"2.txt", u"Jotlets.txt"}));
}

// The reset would take an archive chosen inside Temp Export (or any folder of the
// program's own) with it: it is read from a copy, which goes afterwards, also when
// the archive turns out to be no archive.
TEST_F(ExchangeFolderTest, AnArchiveInsideTheProgramsFoldersIsReadFromACopy) {
    const size_t zero[] = {0};
    exchange.SaveSelection(kDesktop + u"out.vnx", zero, Pointers(abc));
    const std::string archive = fs.ReadFile(kDesktop + u"out.vnx");
    const std::u16string insides[] = {u"Temp Export\\inside.vnx", u"Information.new\\inside.vnx"};
    for (const std::u16string& inside : insides) {
        Put(inside, archive);
        EXPECT_EQ(exchange.Unpack(kData + inside).size(), 1u) << EncodeUtf8(inside);
        EXPECT_FALSE(fs.Exists(kData + u"Import.vnx")) << EncodeUtf8(inside);
    }
    Put(u"Temp Export\\broken.vnx", "not an archive");
    EXPECT_THROW(exchange.Unpack(kData + u"Temp Export\\broken.vnx"), Error);
    EXPECT_FALSE(fs.Exists(kData + u"Import.vnx"));
}

TEST_F(ExchangeFolderTest, FillTakesLabelsBodyAndPendingStates) {
    Put(u"Temp Export\\0.txt", "{\\rtf1 imported}");
    struct Case {
        std::u16string value, owner, time, pending;
    } cases[] = {
        {u"WS-09|t 1|Temp Export\\0.txt|0101", u"WS-09", u"t 1", u"0101"},
        {u"WS-09|t 1|Temp Export\\0.txt|", u"WS-09", u"t 1", u""},
        {u"WS-09||t 1|Temp Export\\0.txt", u"WS-09", u"t 1", u""},
        {u"\r\nWS-09|t 1|Temp Export\\0.txt|1|extra", u"WS-09", u"t 1", u"1"},
    };
    for (const auto& c : cases) {
        FakeNote note;
        exchange.FillStickyNote(note, ReadImportValuePart(c.value));
        EXPECT_EQ(note.owner, c.owner);
        EXPECT_EQ(note.time, c.time);
        EXPECT_EQ(note.pending, c.pending);
        EXPECT_EQ(note.body, "{\\rtf1 imported}");
        EXPECT_EQ(note.layouts, 1);
    }
}

// A record fills a note only with a body directly in Temp Export, whoever made the
// record: neither a file elsewhere nor a missing one touches the note.
TEST_F(ExchangeFolderTest, ARecordWithoutABodyInTempExportIsRefused) {
    Put(u"..\\secret.txt", "{\\rtf1 secret}");
    Put(u"Information\\0.txt", "{\\rtf1 own}");
    const struct {
        std::optional<std::u16string> bodyField;
        const char* message;
    } cases[] = {
        {std::nullopt, "names no body file"},
        {u"Temp Export\\..\\..\\secret.txt", "is not in the Temp Export folder"},
        {u"Information\\0.txt", "is not in the Temp Export folder"},
        {u"C:\\Users\\u\\AppData\\Local\\secret.txt", "is not in the Temp Export folder"},
        {u"Temp Export\\9.txt", "Cannot open file \"C:\\Users\\u\\AppData\\Local\\Vantory Note\\Temp Export\\9.txt\""},
    };
    for (const auto& c : cases) {
        ImportRecord record{u"any", u"WS-09", u"t 1", c.bodyField, u"1"};
        FakeNote untouched;
        untouched.owner = u"mine";
        try {
            exchange.FillStickyNote(untouched, record);
            ADD_FAILURE() << c.message;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(untouched.owner, u"mine");
        EXPECT_TRUE(untouched.body.empty());
        EXPECT_EQ(untouched.layouts, 0);
    }
}

// Export, unpack, the dialog's rows, a note filled from each row: the notes come
// back with their labels, bodies and states, labels of any kind included, filled
// from the record the row was read into.
TEST_F(ExchangeFolderTest, AnExportedNoteComesBackFromTheRowThatListsIt) {
    std::vector<FakeNote> notes{
        {u"browser.exe", u"search?q=x - Browser", u"WS-01", u"t", "{\\rtf1 query}", 1, {{0, true}}},
        {u"editor.exe", u"'Quoted' \"title\" =|= - Editor", u"HALL'B", u"it's \"noon\"", "{\\rtf1 quotes}", 2},
        {u"x.exe", u"|", u"", u"", "{\\rtf1 empty labels}"},
    };
    const size_t all[] = {2, 1, 0};
    exchange.SaveSelection(kDesktop + u"out.vnx", all, Pointers(notes));
    std::vector<ImportRow> rows = ImportRowsOf(exchange.Unpack(kDesktop + u"out.vnx"));
    ASSERT_EQ(rows.size(), notes.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const FakeNote& original = notes[notes.size() - 1 - i];
        ASSERT_TRUE(rows[i].canStick) << i;
        EXPECT_EQ(rows[i].title, original.exe + u"|" + original.caption);
        FakeNote filled(original.exe, original.caption, u"", u"", "", original.lines);
        exchange.FillStickyNote(filled, rows[i].record);
        EXPECT_EQ(filled.owner, rows[i].record.ownerLabel) << "the note gets what the row shows";
        EXPECT_EQ(filled.Describe(), original.Describe());
    }
}

} // namespace
} // namespace vn
