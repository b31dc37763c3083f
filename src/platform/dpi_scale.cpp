#include "platform/dpi_scale.h"

#include <cstdint>

namespace vn {
namespace {

int Effective(int dpi) noexcept { return dpi > 0 ? dpi : kBaseDpi; }

// a * b / c with halves away from zero; 64-bit in between, so no product overflows.
int MulDivRound(int a, int b, int c) noexcept {
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = c / 2;
    const std::int64_t q = product >= 0 ? (product + half) / c : -((-product + half) / c);
    return static_cast<int>(q);
}

} // namespace

int ScaleForDpi(int value, int dpi) noexcept {
    dpi = Effective(dpi);
    return dpi == kBaseDpi ? value : MulDivRound(value, dpi, kBaseDpi);
}

int UnscaleForDpi(int value, int dpi) noexcept {
    dpi = Effective(dpi);
    return dpi == kBaseDpi ? value : MulDivRound(value, kBaseDpi, dpi);
}

int ScalePercent(int dpi) noexcept { return MulDivRound(Effective(dpi), 100, kBaseDpi); }

} // namespace vn
