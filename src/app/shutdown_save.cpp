#include "app/shutdown_save.h"

#include "store/index_string.h"

namespace vn {

FinalStep AfterFinalSave(EndedBy endedBy, const SaveOutcome& outcome) {
    if (outcome.saved) return FinalStep::End;
    return endedBy == EndedBy::Person ? FinalStep::Ask : FinalStep::RescueAndEnd;
}

FinalStep AfterAnswer(QuitAnswer answer) {
    switch (answer) {
    case QuitAnswer::Retry: return FinalStep::SaveAgain;
    case QuitAnswer::QuitAnyway: return FinalStep::EndUnsaved;
    case QuitAnswer::Cancel: break;
    }
    return FinalStep::KeepRunning;
}

namespace {
std::u16string TwoDigits(int value) {
    std::u16string digits = DecimalText(static_cast<size_t>(value));
    if (digits.size() < 2) digits.insert(digits.begin(), u'0');
    return digits;
}
} // namespace

std::u16string RescueCopyName(const LocalTime& at, int attempt) {
    std::u16string name = u"Vantory Note rescue " + DecimalText(static_cast<size_t>(at.year)) + u"-" +
                          TwoDigits(at.month) + u"-" + TwoDigits(at.day) + u" " + TwoDigits(at.hour) +
                          TwoDigits(at.minute) + TwoDigits(at.second);
    if (attempt > 1) name += u" (" + DecimalText(static_cast<size_t>(attempt)) + u")";
    return name + u".vnx";
}

std::u16string RescueCopyText(const std::u16string& archive) {
    return u"Your notes could not be saved when Vantory Note was last closed. A copy of every note is in " + archive +
           u": Import Notes reads it.";
}

} // namespace vn
