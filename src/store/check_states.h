#pragma once
// The check-state string of a record: one "1" or "0" per body line, in line
// order. Only lines 0..99 have check boxes; every later line is written as "0".
#include <functional>
#include <string>
#include <string_view>

namespace vn {

constexpr int kCheckBoxCount = 100;

// `boxTicked(i)` answers for a line below kCheckBoxCount: true when the box of
// that line exists and is ticked. It is not asked about later lines.
std::u16string ComposeCheckStates(int lineCount, const std::function<bool(int line)>& boxTicked);

// What a note writes into its record: while the states read from the record are
// still pending (its boxes do not exist yet because it has not been shown), the
// pending string itself, so that a save does not turn them into zeros;
// otherwise the states of its boxes.
std::u16string CheckStatesToWrite(std::u16string_view pending, int lineCount,
                                  const std::function<bool(int line)>& boxTicked);

// How a reader applies a string: box i is ticked when character i is "1";
// characters from the 100th on are ignored.
bool CheckStateTicks(std::u16string_view states, int line);

} // namespace vn
