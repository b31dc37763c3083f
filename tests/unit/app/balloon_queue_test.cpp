// The tray's balloons on a fake clock: what is on screen when, for every way two or
// more balloons can meet.
#include "app/balloon_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manual_timer.h"

namespace vn {
namespace {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;

struct Shown {
    Ms at;
    std::u16string text;
    bool operator==(const Shown&) const = default;
};

class BalloonQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        timer.SetHandler([this] { queue.TimerTimer(); });
    }
    std::uint64_t Notice(std::u16string text, BalloonIcon icon = BalloonIcon::Info) {
        return queue.Post({icon, std::move(text), false});
    }
    std::uint64_t Prompt(std::u16string text) { return queue.Post({BalloonIcon::Info, std::move(text), true}); }

    test::ManualTimer timer{kBalloonTime};
    std::vector<Shown> shown;
    BalloonQueue queue{timer, [this](const Balloon& b) { shown.push_back({timer.Now(), b.text}); }};
};

TEST_F(BalloonQueueTest, EachNoticeGetsItsWholeTimeInTurn) {
    Notice(u"started");
    timer.Advance(1s);
    Notice(u"cannot save");
    Notice(u"saved again");
    timer.Advance(20s);
    EXPECT_EQ(shown, (std::vector<Shown>{{0s, u"started"}, {5s, u"cannot save"}, {10s, u"saved again"}}));
    EXPECT_FALSE(queue.Current());
    EXPECT_FALSE(timer.Enabled()) << "nothing left to show: the timer rests";
    Notice(u"later");
    EXPECT_EQ(shown.back(), (Shown{21s, u"later"})) << "a notice with nothing on screen shows at once";
}

TEST_F(BalloonQueueTest, APromptShowsAtOnceAndTheNoticeItDisplacedComesBackWhole) {
    Notice(u"started");
    timer.Advance(2s);
    Prompt(u"pick a window");
    timer.Advance(1s);
    Prompt(u"pick a window again");  // a prompt displaced by a prompt is over
    timer.Advance(20s);
    EXPECT_EQ(shown, (std::vector<Shown>{
                         {0s, u"started"}, {2s, u"pick a window"}, {3s, u"pick a window again"}, {8s, u"started"}}));
}

TEST_F(BalloonQueueTest, HeavierNoticesGoFirstAndTheSameTextWaitsOnce) {
    Notice(u"started");
    Notice(u"info");
    Notice(u"no room", BalloonIcon::Warning);
    Notice(u"denied", BalloonIcon::Error);
    Notice(u"no room", BalloonIcon::Warning);
    Notice(u"started");
    Prompt(u"pick");  // displaces "started", which goes before the other information
    timer.Advance(60s);
    std::vector<std::u16string> order;
    for (const Shown& s : shown) order.push_back(s.text);
    EXPECT_EQ(order, (std::vector<std::u16string>{u"started", u"pick", u"denied", u"no room", u"started", u"info"}));
}

TEST_F(BalloonQueueTest, ADismissedBalloonMakesWayAndNamesItself) {
    const auto deleted = Notice(u"note deleted");
    Notice(u"saved again");
    timer.Advance(1s);
    const auto clicked = queue.Dismissed();
    ASSERT_TRUE(clicked);
    EXPECT_EQ(clicked->serial, deleted) << "the click is the balloon's that was on screen";
    EXPECT_EQ(shown.back(), (Shown{1s, u"saved again"}));
    timer.Advance(5s);
    EXPECT_FALSE(queue.Dismissed()) << "a click after every balloon went belongs to none";
}

TEST_F(BalloonQueueTest, AWithdrawnNoticeNeverShows) {
    Notice(u"started");
    Notice(u"cannot save", BalloonIcon::Warning);
    Notice(u"other");
    queue.Withdraw(u"cannot save");
    timer.Advance(20s);
    EXPECT_EQ(shown, (std::vector<Shown>{{0s, u"started"}, {5s, u"other"}}));
}

} // namespace
} // namespace vn
