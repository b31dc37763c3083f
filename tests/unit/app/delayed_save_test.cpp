// The delayed save on a fake clock: one save, 5 seconds after the last change.
#include "app/delayed_save.h"

#include <gtest/gtest.h>

#include <vector>

#include "manual_timer.h"
#include "platform/errors.h"

namespace vn {
namespace {

using namespace std::chrono_literals;

class DelayedSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        timer.SetHandler([this] {
            save.SaveTimerTimer();
            if (finishAtOnce && save.InFlight()) save.SaveFinished(SaveOutcome::Saved(SavePath::Swapped));
        });
    }
    test::ManualTimer timer{kSaveTimerInterval};
    std::vector<std::chrono::milliseconds> saves;
    // Every save's write ends at once, saved, unless a test reports its outcome itself.
    bool finishAtOnce = true;
    DelayedSave save{timer, [this] {
                         saves.push_back(timer.Now());
                         return true;
                     }};
};

TEST_F(DelayedSaveTest, ABurstOfChangesLeadsToOneSaveFiveSecondsAfterTheLast) {
    // A character typed every second for a minute.
    for (int second = 0; second < 60; ++second) {
        save.SetSaveChangePending();
        timer.Advance(1s);
    }
    EXPECT_TRUE(saves.empty()) << "no save while the changes keep coming";
    timer.Advance(10s);
    EXPECT_EQ(saves, (std::vector<std::chrono::milliseconds>{59s + 5s}));
    EXPECT_FALSE(timer.Enabled()) << "one-shot: the handler stopped the timer";
}

TEST_F(DelayedSaveTest, EachQuietPeriodGetsItsOwnSave) {
    save.SetSaveChangePending();
    timer.Advance(4999ms);
    EXPECT_TRUE(saves.empty());
    timer.Advance(1ms);
    save.SetSaveChangePending();
    timer.Advance(30s);
    EXPECT_EQ(saves, (std::vector<std::chrono::milliseconds>{5s, 10s}));
}

TEST_F(DelayedSaveTest, ACaptureThatFailsIsRetriedAndToldAndStoppingCancelsThePendingSave) {
    int attempts = 0;
    std::vector<SaveNotice> told;
    DelayedSave failing{timer, [&]() -> bool {
                            ++attempts;
                            throw Error("a body cannot be taken");
                        }};
    timer.SetHandler([&] {
        if (auto notice = failing.SaveTimerTimer()) told.push_back(*notice);
    });
    failing.SetSaveChangePending();
    timer.Advance(5s);
    EXPECT_EQ(attempts, 1);
    EXPECT_FALSE(failing.InFlight());
    EXPECT_EQ(told, (std::vector<SaveNotice>{{SaveNotice::Kind::CannotSave, SaveFailure::Other}}));
    timer.Advance(5s);
    EXPECT_EQ(attempts, 2) << "retried 5 s later";
    EXPECT_EQ(told.size(), 1u) << "told once while the failure goes on";

    failing.Stop(); // shutdown, after the final save
    timer.Advance(10min);
    EXPECT_EQ(attempts, 2);
    failing.SaveFinished(SaveOutcome::Failed(Error("late")));
    EXPECT_FALSE(timer.Enabled()) << "a save finishing after the shutdown arms nothing";
}

// The write runs elsewhere and reports back later: one save in flight at a time,
// and a note changed during it is saved by the next one.
TEST_F(DelayedSaveTest, OneSaveInFlightAtATimeAndAChangeDuringItIsSavedNext) {
    finishAtOnce = false;
    save.SetSaveChangePending();
    timer.Advance(5s);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_TRUE(save.InFlight());

    save.SetSaveChangePending(); // typed into while the first save is written
    timer.Advance(5s);
    EXPECT_EQ(saves.size(), 1u) << "a second save while the first is in flight";
    EXPECT_TRUE(timer.Enabled()) << "the change waits for the save in flight";

    // The first save fails; the change's own timer brings the next save, not a retry on top.
    EXPECT_TRUE(save.SaveFinished(SaveOutcome::Failed(Error("held"))).has_value());
    timer.Advance(5s);
    EXPECT_EQ(saves.size(), 2u);
    EXPECT_EQ(saves.back(), 15s);
    EXPECT_EQ(save.SaveFinished(SaveOutcome::Saved(SavePath::InPlace)),
              (std::optional<SaveNotice>{{SaveNotice::Kind::SavedAgain}}));
    timer.Advance(10min);
    EXPECT_EQ(saves.size(), 2u) << "nothing more to save";
}

} // namespace
} // namespace vn
