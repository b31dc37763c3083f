#include "store/index_string.h"

#include <algorithm>

#include "store/record_line.h"

namespace vn {

namespace {

// Longest item that can still name a position (keeps the arithmetic in range).
constexpr size_t kMaxDigits = 9;

bool IsCanonicalDecimal(const std::u16string& item) {
    if (item.empty() || item.size() > kMaxDigits) return false;
    if (item.size() > 1 && item[0] == u'0') return false;
    return std::all_of(item.begin(), item.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

IndexSelection::IndexSelection(std::u16string_view indexString) {
    for (const std::u16string& item : SplitNamePart(indexString)) {
        if (!IsCanonicalDecimal(item)) continue;
        size_t value = 0;
        for (char16_t c : item) value = value * 10 + static_cast<size_t>(c - u'0');
        positions_.push_back(value);
    }
    std::sort(positions_.begin(), positions_.end());
    positions_.erase(std::unique(positions_.begin(), positions_.end()), positions_.end());
}

bool IndexSelection::Selects(size_t position) const {
    return std::binary_search(positions_.begin(), positions_.end(), position);
}

std::vector<size_t> IndexSelection::PositionsDescending(size_t count) const {
    std::vector<size_t> out;
    for (auto it = positions_.rbegin(); it != positions_.rend(); ++it)
        if (*it < count) out.push_back(*it);
    return out;
}

std::u16string DecimalText(size_t value) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value);
    return digits;
}

} // namespace vn
