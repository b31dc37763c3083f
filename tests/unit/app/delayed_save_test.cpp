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
        timer.SetHandler([this] { save.SaveTimerTimer(); });
    }
    test::ManualTimer timer{kSaveTimerInterval};
    std::vector<std::chrono::milliseconds> saves;
    DelayedSave save{timer, [this] { saves.push_back(timer.Now()); }};
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

TEST_F(DelayedSaveTest, AFailingSaveStillEndsTheTimerAndStoppingCancelsThePendingSave) {
    DelayedSave failing{timer, [] { throw Error("disk full"); }};
    timer.SetHandler([&] { failing.SaveTimerTimer(); });
    failing.SetSaveChangePending();
    EXPECT_THROW(timer.Advance(5s), Error);
    EXPECT_FALSE(timer.Enabled()) << "no retry loop after a failed save";

    timer.SetHandler([this] { save.SaveTimerTimer(); });
    save.SetSaveChangePending();
    save.Stop(); // shutdown, after the final save
    timer.Advance(1min);
    EXPECT_TRUE(saves.empty());
}

} // namespace
} // namespace vn
