#pragma once
// Display scale. Every size, offset, font height, region, clamp and dead zone of the
// program is written as its value at 96 DPI (100 %); at another DPI it is that value
// times DPI / 96, rounded by the one rule below. Positions that mean "off screen"
// (the -1000 and -10000 of a note that is not placed yet) are not lengths and are
// never scaled.
namespace vn {

inline constexpr int kBaseDpi = 96;

// `value` (at 96 DPI) at `dpi`: value * dpi / 96, with halves rounded away from zero,
// as MulDiv rounds. A DPI of 0 or less counts as 96.
int ScaleForDpi(int value, int dpi) noexcept;

// The inverse, for a length measured on screen at `dpi` and stored at 96 DPI.
int UnscaleForDpi(int value, int dpi) noexcept;

// The display scale in per cent (96 -> 100, 120 -> 125, 144 -> 150, 192 -> 200).
int ScalePercent(int dpi) noexcept;

} // namespace vn
