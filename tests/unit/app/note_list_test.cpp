// The controller's note list owns its notes: positions follow removals at once, a
// note is freed only when it asks (its removal notice), every notice schedules a save,
// and the shutdown frees the rest without one, never from under a running handler.
#include "app/note_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "store/index_string.h"
#include "windowless_jotlet.h"

namespace vn {
namespace {

// A note that logs what is done to it, its freeing included, and asks to be freed
// when the test says so, as a closed note does once the message loop turned.
class FakeJotlet final : public test::WindowlessJotlet {
public:
    FakeJotlet(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    ~FakeJotlet() override { log_.push_back("free " + name_); }
    void SetRemovalNotice(RemovalNotice notice) override { notice_ = std::move(notice); }
    bool HandlerRunning() const noexcept override { return handlerRunning; }
    void Hide() override {
        log_.push_back("hide " + name_);
        if (failHide) throw std::runtime_error("window refused to hide");
    }
    void Close() override { log_.push_back("close " + name_); }
    StoreNote& Stored() noexcept override { std::terminate(); }
    void AskToBeFreed() {
        if (auto notice = std::exchange(notice_, {})) notice(*this);
    }
    const std::string& Name() const { return name_; }
    bool failHide = false;
    bool handlerRunning = false;

private:
    std::string name_;
    std::vector<std::string>& log_;
    RemovalNotice notice_;
};

struct ListHarness {
    ListHarness() {
        for (const char* name : {"A", "B", "C", "D"})
            notes.push_back(&static_cast<FakeJotlet&>(list.Add(std::make_unique<FakeJotlet>(name, log))));
    }
    std::vector<Jotlet*> Expect(std::initializer_list<int> positions) const {
        std::vector<Jotlet*> expected;
        for (int p : positions) expected.push_back(notes[p]);
        return expected;
    }
    std::vector<std::string> log;
    std::vector<FakeJotlet*> notes;  // owned by the list
    NoteList list{[this](Jotlet& note) { log.push_back("removed " + static_cast<FakeJotlet&>(note).Name()); }};
};

TEST(NoteList, ANoteLeavesTheListAtOnceButIsFreedOnlyWhenItAsks) {
    ListHarness h;
    // Its own Delete button: listed until it asks, then removed (a save) and freed.
    h.notes[1]->AskToBeFreed();
    EXPECT_EQ(h.list.items(), h.Expect({0, 2, 3}));
    EXPECT_EQ(h.log, (std::vector<std::string>{"removed B", "free B"}));

    // DeleteJotlets takes notes out at once and closes them; the list holds them until
    // they ask, and their removals still schedule the save that drops their records.
    h.log.clear();
    FakeJotlet* a = h.notes[0];
    FakeJotlet* d = h.notes[3];
    DeleteJotlets(u"0|2", h.list, [](Jotlet* note) { note->Close(); });
    EXPECT_EQ(h.list.items(), h.Expect({2}));
    EXPECT_EQ(h.log, (std::vector<std::string>{"close D", "close A"}));
    d->AskToBeFreed();
    a->AskToBeFreed();
    EXPECT_EQ(h.list.items(), h.Expect({2}));
    EXPECT_EQ(h.log, (std::vector<std::string>{"close D", "close A", "removed D", "free D", "removed A", "free A"}));
}

TEST(NoteList, ShutdownFreesQuietlyLastFirstButNotFromUnderARunningHandler) {
    ListHarness h;
    FakeJotlet* d = h.notes[3];
    DeleteJotlets(u"1", h.list, [](Jotlet* note) { note->Close(); });  // B: closing
    h.notes[2]->failHide = true;
    d->handlerRunning = true;  // the shutdown came from inside D's dialog
    h.log.clear();
    h.list.DestroyAll();
    EXPECT_TRUE(h.list.empty());
    EXPECT_EQ(h.log, (std::vector<std::string>{"hide D", "close D", "hide C", "free C", "hide A", "free A", "hide B",
                                               "free B"}));
    // D goes once its handler returned, still without counting as a removal.
    h.log.clear();
    d->handlerRunning = false;
    d->AskToBeFreed();
    EXPECT_EQ(h.log, (std::vector<std::string>{"free D"}));

    // A note whose handler never returns goes with the list.
    std::vector<std::string> log;
    {
        NoteList list{[&](Jotlet&) { log.push_back("removed"); }};
        static_cast<FakeJotlet&>(list.Add(std::make_unique<FakeJotlet>("E", log))).handlerRunning = true;
        list.DestroyAll();
        EXPECT_EQ(log, (std::vector<std::string>{"hide E", "close E"}));
    }
    EXPECT_EQ(log, (std::vector<std::string>{"hide E", "close E", "free E"}));
}

} // namespace
} // namespace vn
