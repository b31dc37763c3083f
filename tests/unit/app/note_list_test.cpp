// The controller's note list: positions follow removals at once, every removal
// notice schedules a save, and the shutdown frees the rest without one.
#include "app/note_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/index_string.h"
#include "windowless_jotlet.h"

namespace vn {
namespace {

// A note whose window "goes" when the test says so, as the message loop would
// free a closed note.
class FakeJotlet final : public test::WindowlessJotlet {
public:
    explicit FakeJotlet(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    void SetRemovalNotice(RemovalNotice notice) override { notice_ = std::move(notice); }
    void Hide() override { log_.push_back("hide " + name_); }
    void Destroy() override {
        log_.push_back("destroy " + name_);
        if (failDestroy) throw std::runtime_error("window refused to go");
        Gone();
    }
    void Close() override { log_.push_back("close " + name_); }
    StoreNote& Stored() noexcept override { std::terminate(); }
    // The note's window went: the notice comes once.
    void Gone() {
        if (auto notice = std::exchange(notice_, {})) notice(*this);
    }
    bool failDestroy = false;

private:
    std::string name_;
    std::vector<std::string>& log_;
    RemovalNotice notice_;
};

struct ListHarness {
    ListHarness() {
        for (const char* name : {"A", "B", "C", "D"}) notes.push_back(std::make_unique<FakeJotlet>(name, log));
        for (auto& note : notes) list.Add(*note);
    }
    std::vector<Jotlet*> Expect(std::initializer_list<int> positions) const {
        std::vector<Jotlet*> expected;
        for (int p : positions) expected.push_back(notes[p].get());
        return expected;
    }
    std::vector<std::string> log;
    int saves = 0;
    std::vector<std::unique_ptr<FakeJotlet>> notes;
    NoteList list{[this](Jotlet&) { ++saves; }};
};

TEST(NoteList, ANoteThatGoesLeavesTheListAndSchedulesASave) {
    ListHarness h;
    h.notes[1]->Gone();
    EXPECT_EQ(h.list.items(), h.Expect({0, 2, 3}));
    EXPECT_EQ(h.saves, 1);

    // DeleteJotlets takes notes out at once; their notices come later and still
    // schedule the save that removes their records.
    DeleteJotlets(u"0|2", h.list, [](Jotlet* note) { note->Close(); });
    EXPECT_EQ(h.list.items(), h.Expect({2}));
    EXPECT_EQ(h.log, (std::vector<std::string>{"close D", "close A"}));
    h.notes[3]->Gone();
    h.notes[0]->Gone();
    EXPECT_EQ(h.list.items(), h.Expect({2}));
    EXPECT_EQ(h.saves, 3);
}

TEST(NoteList, ShutdownFreesTheNotesFromTheLastDownWithoutNoticesEvenWhenOneFails) {
    ListHarness h;
    h.notes[2]->failDestroy = true;
    h.list.DestroyAll();
    EXPECT_TRUE(h.list.empty());
    EXPECT_EQ(h.saves, 0);
    EXPECT_EQ(h.log, (std::vector<std::string>{"hide D", "destroy D", "hide C", "destroy C", "hide B", "destroy B",
                                               "hide A", "destroy A"}));
    h.notes[2]->Gone();  // the failed one going later is no removal of the list's
    EXPECT_EQ(h.saves, 0);
}

} // namespace
} // namespace vn
