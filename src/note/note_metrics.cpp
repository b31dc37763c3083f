#include "note/note_metrics.h"

#include "note/checklist.h"
#include "note/editor_rules.h"

namespace vn::note {

NoteMetrics NoteMetricsAt(int dpi) {
    if (dpi <= 0) dpi = kBaseDpi;
    const auto s = [dpi](int value) { return ScaleForDpi(value, dpi); };
    const auto size = [&](Size at96) { return Size{s(at96.width), s(at96.height)}; };
    NoteMetrics m;
    m.dpi = dpi;
    m.initialSize = size(kInitialSize);
    m.minSize = size(kMinSize);
    m.maxSize = size(kMaxSize);
    m.resizeDeadZone = s(kResizeDeadZone);
    m.tileSize = size(kTileSize);
    m.regionOversize = s(2);
    m.regionEllipseExtra = s(5);
    m.outlineInset = s(1);
    m.outlineWidth = s(2);
    m.pictureButtonSize = size(kPictureButtonSize);
    m.buttonCornerRadius = s(4);
    m.buttonOutlineWidth = s(1);
    m.gripSize = size(kGripSize);
    m.gripFrameWidth = s(1);
    m.gripFirstStroke = s(20);
    m.gripStrokeSpacing = s(5);
    m.labelFontHeight = s(-11);
    m.taglineFontHeight = s(-12);
    m.buttonFontHeight = s(18);
    m.bodyBottomMarginInitial = s(kBodyBottomMarginInitial);
    m.bodyBottomMarginRefreshed = s(kBodyBottomMarginRefreshed);
    m.editorInitialBounds = {s(kEditorInitialBounds.left), s(kEditorInitialBounds.top),
                             s(kEditorInitialBounds.width), s(kEditorInitialBounds.height)};
    m.editorWidthMargin = s(kEditorWidthMargin);
    m.editorHeightMargin = s(kEditorHeightMargin);
    m.scrollLine = s(8);
    m.wheelScroll = s(kWheelScrollPixels);
    m.checkBoxLeft = s(kCheckBoxLeft);
    m.checkBoxSize = s(kCheckBoxSize);
    return m;
}

} // namespace vn::note
