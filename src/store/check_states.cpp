#include "store/check_states.h"

namespace vn {

std::u16string ComposeCheckStates(int lineCount, const std::function<bool(int line)>& boxTicked) {
    std::u16string states;
    if (lineCount <= 0) return states;
    states.reserve(static_cast<size_t>(lineCount));
    for (int i = 0; i < lineCount; ++i) states += (i < kCheckBoxCount && boxTicked(i)) ? u'1' : u'0';
    return states;
}

std::u16string CheckStatesToWrite(std::u16string_view pending, int lineCount,
                                  const std::function<bool(int line)>& boxTicked) {
    if (!pending.empty()) return std::u16string(pending);
    return ComposeCheckStates(lineCount, boxTicked);
}

bool CheckStateTicks(std::u16string_view states, int line) {
    return line >= 0 && line < kCheckBoxCount && static_cast<size_t>(line) < states.size() && states[line] == u'1';
}

} // namespace vn
