#pragma once
// What the program does with the save at its end, and the rescue copy written when
// that save fails and nobody can be asked.
//
// The person who chooses Quit from the tray menu is there to answer: a final save
// that fails asks "Retry, Quit Anyway or Cancel". When Windows ends the session, or
// the installer or a task manager closes the program, nobody may be asked (the
// system waits a few seconds, then ends the process): a final save that fails
// writes a copy of every note, an archive Import Notes reads, into the person's
// Documents folder instead, and the next start says where it is.
#include <chrono>
#include <optional>
#include <string>

#include "store/save_outcome.h"

namespace vn {

enum class EndedBy {
    Person,     // Quit from the tray menu
    Unattended, // the session ends, the installer or a task manager closes the program
};

enum class QuitAnswer { Retry, QuitAnyway, Cancel };

enum class FinalStep {
    End,          // the notes are saved: the program ends
    Ask,          // ask the person (UnsavedAtQuitText)
    RescueAndEnd, // write the rescue copy, then end
    SaveAgain,    // Retry
    KeepRunning,  // Cancel: back to work; the usual retries go on
    EndUnsaved,   // Quit Anyway
};

FinalStep AfterFinalSave(EndedBy endedBy, const SaveOutcome& outcome);
FinalStep AfterAnswer(QuitAnswer answer);

// A local date and time, as the rescue copy's name shows it.
struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// "Vantory Note rescue 2026-12-10 211530.vnx"; from the second try on the same
// name with " (2)", " (3)" ... before the extension.
std::u16string RescueCopyName(const LocalTime& at, int attempt);

// The file in the data folder that remembers where the last rescue copy went,
// until the next start has told the person.
inline constexpr char16_t kRescueNoteFile[] = u"Rescue copy.txt";

// The balloon of the next start.
std::u16string RescueCopyText(const std::u16string& archive);

// An index file that could not be read at start is read again every kEvery,
// kTries times (a program that held it open for a moment lets go); after that the
// person is told, and every save retry reads it again.
class IndexReread {
public:
    static constexpr std::chrono::milliseconds kEvery{5000};
    static constexpr int kTries = 12;

    void Start() { left_ = kTries; }
    // A reread failed: whether to try again after kEvery.
    bool TryAgain() { return left_ > 0 && --left_ > 0; }
    void Stop() { left_ = 0; }
    // Still within the first minute of rereads.
    bool Watching() const { return left_ > 0; }

private:
    int left_ = 0;
};

} // namespace vn
