// What follows the final save, the rescue copy's name, and the rereads of an index
// that could not be read at start.
#include "app/shutdown_save.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace vn {
namespace {

TEST(ShutdownSave, OnlyThePersonWhoQuitsIsAskedAndOnlyCancelKeepsTheProgram) {
    const SaveOutcome saved = SaveOutcome::Saved(SavePath::InPlace);
    const SaveOutcome failed = SaveOutcome::Failed(Error("held"));
    struct Case {
        EndedBy endedBy;
        const SaveOutcome& outcome;
        FinalStep step;
    } cases[] = {
        {EndedBy::Person, saved, FinalStep::End},
        {EndedBy::Person, failed, FinalStep::Ask},
        {EndedBy::Unattended, saved, FinalStep::End},
        {EndedBy::Unattended, failed, FinalStep::RescueAndEnd},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AfterFinalSave(c.endedBy, c.outcome), c.step) << static_cast<int>(c.endedBy) << c.outcome.saved;
    EXPECT_EQ(AfterAnswer(QuitAnswer::Retry), FinalStep::SaveAgain);
    EXPECT_EQ(AfterAnswer(QuitAnswer::QuitAnyway), FinalStep::EndUnsaved);
    EXPECT_EQ(AfterAnswer(QuitAnswer::Cancel), FinalStep::KeepRunning);
}

TEST(ShutdownSave, TheRescueCopyIsNamedForTheMomentAndNumberedWhenTaken) {
    struct Case {
        LocalTime at;
        int attempt;
        std::u16string name;
    } cases[] = {
        {{2026, 12, 10, 21, 15, 30}, 1, u"Vantory Note rescue 2026-12-10 211530.vnx"},
        {{2027, 1, 2, 3, 4, 5}, 1, u"Vantory Note rescue 2027-01-02 030405.vnx"},
        {{2027, 1, 2, 0, 0, 0}, 2, u"Vantory Note rescue 2027-01-02 000000 (2).vnx"},
        {{2027, 1, 2, 0, 0, 0}, 12, u"Vantory Note rescue 2027-01-02 000000 (12).vnx"},
    };
    for (const Case& c : cases) EXPECT_EQ(RescueCopyName(c.at, c.attempt), c.name);
    EXPECT_NE(RescueCopyText(u"C:\\Docs\\x.vnx").find(u"C:\\Docs\\x.vnx: Import Notes reads it."), std::u16string::npos);
}

TEST(ShutdownSave, AnUnreadIndexIsReadAgainForAMinuteThenLeftToTheSaveRetries) {
    IndexReread reread;
    EXPECT_FALSE(reread.Watching());
    reread.Start();
    int rereads = 1; // the first comes one interval after the start
    while (reread.TryAgain()) ++rereads;
    EXPECT_EQ(std::chrono::milliseconds(rereads * IndexReread::kEvery), std::chrono::minutes(1));
    EXPECT_FALSE(reread.Watching());
    EXPECT_FALSE(reread.TryAgain()) << "over is over";

    reread.Start();
    reread.Stop(); // read at last
    EXPECT_FALSE(reread.Watching());
    EXPECT_FALSE(reread.TryAgain());
}

} // namespace
} // namespace vn
