// When failed saves are tried again, and when the person is told.
#include "store/save_retry.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "store/save_texts.h"

namespace vn {
namespace {

using Ms = SaveRetry::Ms;
using std::chrono::seconds;

SaveOutcome Failed(SaveFailure reason) {
    SaveOutcome outcome;
    outcome.reason = reason;
    return outcome;
}
const SaveOutcome kSaved = SaveOutcome::Saved(SavePath::Swapped);

// The controller's part: one save timer, armed for the waits the rule gives,
// and saves that end at once with what `result` says for that moment.
class Controller {
public:
    explicit Controller(std::function<SaveOutcome(Ms)> result) : result_(std::move(result)) {}

    void Change(Ms at) {
        RunUntil(at);
        due_ = now_ + retry_.Changed();
    }
    void RunUntil(Ms until) {
        while (due_ && *due_ <= until) {
            now_ = *due_;
            due_.reset();
            retry_.SaveStarted();
            saves.push_back(now_);
            SaveRetry::Next next = retry_.SaveFinished(result_(now_));
            if (next.arm) due_ = now_ + *next.arm;
            if (next.notice) notices.push_back(NoticeText(*next.notice));
        }
        now_ = until;
    }

    std::vector<Ms> saves;
    std::vector<std::u16string> notices;

private:
    std::function<SaveOutcome(Ms)> result_;
    SaveRetry retry_;
    Ms now_{0};
    std::optional<Ms> due_;
};

TEST(SaveRetry, AFailedSaveIsTriedAfter5Then30ThenEvery60SecondsAndToldOnce) {
    Controller controller([](Ms at) { return at < seconds(200) ? Failed(SaveFailure::InUse) : kSaved; });
    controller.Change(Ms{0});
    controller.RunUntil(seconds(600));
    EXPECT_EQ(controller.saves,
              (std::vector<Ms>{seconds(5), seconds(10), seconds(40), seconds(100), seconds(160), seconds(220)}));
    EXPECT_EQ(controller.notices,
              (std::vector<std::u16string>{CannotSaveText(SaveFailure::InUse), kSavedAgainText}));
}

TEST(SaveRetry, TypingDuringAFailureLeadsToOneSaveAfterTheLastChange) {
    Controller controller([](Ms) { return Failed(SaveFailure::DiskFull); });
    controller.Change(Ms{0});
    for (int second = 6; second <= 66; ++second) controller.Change(seconds(second));
    controller.RunUntil(seconds(102));
    EXPECT_EQ(controller.saves, (std::vector<Ms>{seconds(5), seconds(71), seconds(101)}));
    EXPECT_EQ(controller.notices.size(), 1u);
}

// With the write on a worker, a change can come while a save runs: its own
// timer brings the next save, which a failure must not put off.
TEST(SaveRetry, AChangeDuringASaveKeepsItsOwnTimer) {
    SaveRetry retry;
    EXPECT_EQ(retry.Changed(), seconds(5));
    retry.SaveStarted();
    EXPECT_EQ(retry.Changed(), seconds(5));
    SaveRetry::Next next = retry.SaveFinished(Failed(SaveFailure::ReadOnly));
    EXPECT_FALSE(next.arm);
    EXPECT_EQ(next.notice, (SaveNotice{SaveNotice::Kind::CannotSave, SaveFailure::ReadOnly}));
    retry.SaveStarted();
    EXPECT_EQ(retry.SaveFinished(Failed(SaveFailure::ReadOnly)).arm, seconds(30)) << "the second failure in a row";
    EXPECT_TRUE(retry.Failing());
}

// One warning per reason in an episode, one "saved again" at its end.
TEST(SaveRetry, EachEpisodeIsToldOnceForEachReason) {
    using Kind = SaveNotice::Kind;
    const std::optional<SaveFailure> kOk;
    struct Step {
        std::optional<SaveFailure> failure; // none: the save succeeds
        std::optional<SaveNotice> notice;
    } const steps[] = {
        {kOk, std::nullopt}, // nothing to tell after a save that follows no failure
        {SaveFailure::InUse, SaveNotice{Kind::CannotSave, SaveFailure::InUse}},
        {SaveFailure::InUse, std::nullopt},
        {SaveFailure::DiskFull, SaveNotice{Kind::CannotSave, SaveFailure::DiskFull}},
        {SaveFailure::InUse, std::nullopt},
        {SaveFailure::DiskFull, std::nullopt},
        {kOk, SaveNotice{Kind::SavedAgain}},
        {kOk, std::nullopt},
        {SaveFailure::InUse, SaveNotice{Kind::CannotSave, SaveFailure::InUse}}, // a new episode
        {kOk, SaveNotice{Kind::SavedAgain}},
    };
    SaveRetry retry;
    int i = 0;
    for (const Step& step : steps) {
        retry.SaveStarted();
        EXPECT_EQ(retry.SaveFinished(step.failure ? Failed(*step.failure) : kSaved).notice, step.notice) << "step " << i++;
    }
}

} // namespace
} // namespace vn
