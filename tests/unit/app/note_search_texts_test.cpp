#include "app/note_search_texts.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "windowless_jotlet.h"

namespace vn {
namespace {

class FakeStoreNote final : public StoreNote {
public:
    std::u16string ExeName() const override { return u"notepad.exe"; }
    std::u16string Caption() const override { return caption; }
    std::u16string OwnerLabel() const override { return u"DESK"; }
    std::u16string TimeLabel() const override { return u"1/1/2026"; }
    void SetOwnerLabel(const std::u16string&) override {}
    void SetTimeLabel(const std::u16string&) override {}
    std::string SaveBody() override {
        ++reads;
        if (unreadable) throw std::runtime_error("no control");
        return body;
    }
    void LoadBody(const BodyFile&) override {}
    std::u16string CheckStateString() const override { return {}; }
    void SetPendingCheckStates(const std::u16string&) override {}
    void RestoreLayoutAfterFill() override {}

    std::u16string caption = u"a.txt - Notepad";
    std::string body;
    bool unreadable = false;
    int reads = 0;
};

class FakeNote final : public test::WindowlessJotlet {
public:
    void SetRemovalNotice(RemovalNotice) override {}
    void Hide() override {}
    void Close() override {}
    StoreNote& Stored() noexcept override { return stored; }
    FakeStoreNote stored;
};

std::vector<uint64_t> Find(const NoteSearchTexts& texts, std::u16string_view typed) {
    return texts.Index().Filter(SearchQuery(typed));
}

const auto kAlways = [] { return true; };

class NoteSearchTextsTest : public ::testing::Test {
protected:
    Windows1252CodePage codePage;
    NoteSearchTexts texts{codePage};
};

TEST_F(NoteSearchTextsTest, EachChangedNoteIsReadOnceInTheOrderOfItsChangesAndFound) {
    FakeNote first, second;
    first.stored.body = "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0 Buy stamps\\par and gl\\'fc\\par}";
    second.stored.body = "plain text: call Bob";
    texts.Changed(first);
    texts.Changed(second);
    texts.Changed(first);  // typed into again before it was read
    EXPECT_EQ(texts.Pending(), 2u);
    EXPECT_TRUE(Find(texts, u"stamps").empty()) << "nothing is read before there is time";

    std::vector<uint64_t> read;
    EXPECT_EQ(texts.ReadPending(kAlways, [&](uint64_t key) { read.push_back(key); }), 2u);
    EXPECT_EQ(read, (std::vector<uint64_t>{texts.KeyOf(first), texts.KeyOf(second)}));
    EXPECT_EQ(first.stored.reads, 1);
    EXPECT_EQ(*texts.Text(texts.KeyOf(first)), u"Buy stamps\nand glü");
    EXPECT_EQ(Find(texts, u"stamps"), (std::vector<uint64_t>{texts.KeyOf(first)}));
    EXPECT_EQ(Find(texts, u"bob"), (std::vector<uint64_t>{texts.KeyOf(second)}));
    EXPECT_EQ(Find(texts, u"a.txt desk"), (std::vector<uint64_t>{texts.KeyOf(first), texts.KeyOf(second)}))
        << "the caption and the owner are searched too";
    EXPECT_GT(texts.BytesPerNote(), 0u);
}

TEST_F(NoteSearchTextsTest, ReadingStopsWhenTimeIsUpAndGoesOnLater) {
    std::vector<FakeNote> notes(5);
    for (FakeNote& note : notes) texts.Changed(note);
    int turns = 2;
    EXPECT_EQ(texts.ReadPending([&] { return turns-- > 0; }, nullptr), 2u);
    EXPECT_EQ(texts.Pending(), 3u);
    EXPECT_EQ(texts.ReadPending(kAlways, nullptr), 3u);
    EXPECT_EQ(texts.Pending(), 0u);
}

TEST_F(NoteSearchTextsTest, AForgottenNoteLeavesTheSearchAndAnUnreadableBodyKeepsTheLastText) {
    FakeNote kept, gone;
    kept.stored.body = "first words";
    gone.stored.body = "first words too";
    texts.Changed(kept);
    texts.Changed(gone);
    texts.ReadPending(kAlways, nullptr);
    const uint64_t goneKey = texts.KeyOf(gone);

    texts.Changed(gone);
    texts.Forget(gone);
    EXPECT_EQ(texts.NoteOf(goneKey), nullptr);
    EXPECT_EQ(texts.Pending(), 0u);
    EXPECT_EQ(texts.ReadPending(kAlways, nullptr), 0u) << "a forgotten note is never read";
    EXPECT_EQ(Find(texts, u"first"), (std::vector<uint64_t>{texts.KeyOf(kept)}));

    kept.stored.unreadable = true;
    kept.stored.caption = u"renamed";
    texts.Changed(kept);
    texts.ReadPending(kAlways, nullptr);
    EXPECT_EQ(*texts.Text(texts.KeyOf(kept)), u"first words");
    EXPECT_EQ(Find(texts, u"renamed first"), (std::vector<uint64_t>{texts.KeyOf(kept)}));
    EXPECT_NE(texts.KeyOf(FakeNote{}), goneKey) << "keys are never given twice";
}

} // namespace
} // namespace vn
