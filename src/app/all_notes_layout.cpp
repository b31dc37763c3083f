#include "app/all_notes_layout.h"

#include <algorithm>
#include <cstdint>

#include "platform/dpi_scale.h"

namespace vn {
namespace {

// At 96 DPI.
constexpr int kMargin = 10, kButtonHeight = 26, kSearchHeight = 24, kGap = 8, kPreviewGap = 6;
constexpr int kMinListHeight = 60, kStatusIndent = 4, kStatusDrop = 5;
constexpr WindowSize kDefault{900, 600}, kMinimum{640, 400};
// The list takes this share of the height the list and the preview have together.
constexpr int kListPercent = 55;

Box Sized(Box b) {
    b.width = std::max(b.width, 0);
    b.height = std::max(b.height, 0);
    return b;
}

} // namespace

AllNotesLayout LayOutAllNotes(int width, int height, int dpi, std::span<const int> buttonWidths) {
    const auto s = [dpi](int value) { return ScaleForDpi(value, dpi); };
    const int margin = s(kMargin), gap = s(kGap), buttonHeight = s(kButtonHeight), closeWidth = s(kAllNotesButtonWidth);
    const int inner = width - margin * 2;
    const int buttonsTop = height - margin - buttonHeight;
    const int listTop = margin + s(kSearchHeight) + gap;
    const int space = buttonsTop - gap - listTop;
    const int listHeight = std::max(s(kMinListHeight), space * kListPercent / 100);
    const int previewTop = listTop + listHeight + s(kPreviewGap);

    AllNotesLayout layout;
    layout.search = Sized({margin, margin, inner, s(kSearchHeight)});
    layout.list = Sized({margin, listTop, inner, listHeight});
    layout.preview = Sized({margin, previewTop, inner, buttonsTop - gap - previewTop});
    int x = margin;
    for (int w96 : buttonWidths) {
        const int w = s(w96);
        layout.buttons.push_back(Sized({x, buttonsTop, w, buttonHeight}));
        x += w + gap;
    }
    layout.close = Sized({width - margin - closeWidth, buttonsTop, closeWidth, buttonHeight});
    const int statusLeft = x + s(kStatusIndent);
    layout.status = Sized({statusLeft, buttonsTop + s(kStatusDrop), width - margin - closeWidth - gap - statusLeft,
                           buttonHeight - s(kStatusDrop)});
    return layout;
}

WindowSize DefaultAllNotesSize(int dpi, WindowSize screen) {
    return {std::min(ScaleForDpi(kDefault.width, dpi), screen.width),
            std::min(ScaleForDpi(kDefault.height, dpi), screen.height)};
}

WindowSize MinimumAllNotesSize(int dpi) { return {ScaleForDpi(kMinimum.width, dpi), ScaleForDpi(kMinimum.height, dpi)}; }

WindowSize KeptSizeAtDpi(WindowSize kept, int fromDpi, int toDpi) {
    if (fromDpi <= 0) fromDpi = kBaseDpi;
    if (toDpi <= 0) toDpi = kBaseDpi;
    if (fromDpi == toDpi) return kept;
    // Halves away from zero, as ScaleForDpi rounds (sizes are positive).
    const auto bring = [&](int value) {
        const std::int64_t product = static_cast<std::int64_t>(value) * toDpi;
        return static_cast<int>((product + fromDpi / 2) / fromDpi);
    };
    return {bring(kept.width), bring(kept.height)};
}

} // namespace vn
