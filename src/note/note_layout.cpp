#include "note/note_layout.h"

#include "note/note_metrics.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vn::note {
namespace {

Rect Bounds(int left, int top, int width, int height) {
    return Rect{left, top, std::max(0, width), std::max(0, height)};
}

// Drawing order from the top down, the order in which a press finds its part.
constexpr std::array<Control, 13> kTopFirst{
    Control::ImgMinimize, Control::ImgFont,  Control::ImgDelete, Control::ImgImport, Control::ImgSave,
    Control::lBottomLab,  Control::ImgSmall, Control::ImgSize,   Control::lTime,     Control::lOwner,
    Control::lTitle,      Control::LineShape, Control::ShapeBackground,
};

} // namespace

std::u16string_view ControlName(Control c) {
    switch (c) {
    case Control::None: return u"";
    case Control::ShapeBackground: return u"ShapeBackground";
    case Control::LineShape: return u"LineShape";
    case Control::lTitle: return u"lTitle";
    case Control::lOwner: return u"lOwner";
    case Control::lTime: return u"lTime";
    case Control::ImgSize: return u"ImgSize";
    case Control::ImgSmall: return u"ImgSmall";
    case Control::lBottomLab: return u"lBottomLab";
    case Control::ImgSave: return u"ImgSave";
    case Control::ImgImport: return u"ImgImport";
    case Control::ImgDelete: return u"ImgDelete";
    case Control::ImgFont: return u"ImgFont";
    case Control::ImgMinimize: return u"ImgMinimize";
    }
    return u"";
}

bool IsDragArea(Control c) {
    switch (c) {
    case Control::ShapeBackground:
    case Control::LineShape:
    case Control::lTitle:
    case Control::lOwner:
    case Control::lTime:
    case Control::ImgSmall: return true;
    default: return false;
    }
}

bool IsPictureButton(Control c) {
    switch (c) {
    case Control::ImgSave:
    case Control::ImgImport:
    case Control::ImgDelete:
    case Control::ImgFont:
    case Control::ImgMinimize: return true;
    default: return false;
    }
}

const Rect& NoteLayout::Of(Control c) const {
    static const Rect none{};
    switch (c) {
    case Control::ShapeBackground: return shapeBackground;
    case Control::LineShape: return lineShape;
    case Control::lTitle: return title;
    case Control::lOwner: return owner;
    case Control::lTime: return time;
    case Control::ImgSize: return grip;
    case Control::ImgSmall: return tile;
    case Control::lBottomLab: return bottomLabel;
    case Control::ImgSave: return save;
    case Control::ImgImport: return import;
    case Control::ImgDelete: return del;
    case Control::ImgFont: return font;
    case Control::ImgMinimize: return minimize;
    case Control::None: break;
    }
    return none;
}

NoteLayout ComputeLayout(Size window, int bodyBottomMargin, Size ownerText, Size timeText, int dpi) {
    const auto s = [dpi](int value) { return ScaleForDpi(value, dpi); };
    const NoteMetrics m = NoteMetricsAt(dpi);
    const int w = window.width;
    const int h = window.height;
    const int bw = m.pictureButtonSize.width;
    const int bh = m.pictureButtonSize.height;
    NoteLayout l;
    l.shapeBackground = Bounds(0, 0, w, h);
    l.lineShape = Bounds(s(24), s(111), w - s(47), s(5));
    l.title = Bounds(s(32), s(30), w - s(145), s(30));
    l.owner = Bounds(s(32), s(60), ownerText.width, ownerText.height);
    // Right-justified: the right edge stays at W - 113 and the text grows to the left.
    l.time = Bounds(w - s(113) - timeText.width, s(60), timeText.width, timeText.height);
    l.grip = Bounds(w - s(43), h - s(57), m.gripSize.width, m.gripSize.height);
    l.tile = Bounds(0, 0, m.tileSize.width, m.tileSize.height);
    l.bottomLabel = Bounds(0, h - s(26), w, s(18));
    l.save = Bounds(s(24), s(80), bw, bh);
    l.import = Bounds(s(105), s(80), bw, bh);
    l.font = Bounds(s(186), s(80), bw, bh);
    l.del = Bounds(s(267), s(80), bw, bh);
    l.minimize = Bounds(w - s(95), s(30), bw, bh);
    l.body = Bounds(s(24), s(120), w - s(73), h - s(120) - bodyBottomMargin);
    return l;
}

Control HitTest(const NoteLayout& layout, bool minimized, Point p) {
    for (Control c : kTopFirst) {
        const bool visible = minimized ? (c == Control::ImgSmall || c == Control::ShapeBackground)
                                       : c != Control::ImgSmall;
        if (visible && layout.Of(c).Contains(p)) return c;
    }
    return Control::None;
}

Size EditorSize(Size requested, Size bodyArea, int dpi) {
    const NoteMetrics m = NoteMetricsAt(dpi);
    Size s;
    s.height = std::max(requested.height, bodyArea.height - m.editorHeightMargin);
    s.width = std::max(requested.width, bodyArea.width - m.editorWidthMargin);
    return s;
}

int RegionEllipse(Size window, int dpi) {
    return std::min(window.width, window.height) / 4 + NoteMetricsAt(dpi).regionEllipseExtra;
}

int OutlineEllipse(Size window, int dpi) {
    const int inset = NoteMetricsAt(dpi).outlineInset;
    return std::min(window.width - inset, window.height - inset) / 4;
}

Point DragStartPoint(Point cursor, Point windowTopLeft) {
    return Point{cursor.x - windowTopLeft.x, cursor.y - windowTopLeft.y};
}

Point DragPosition(Point cursor, Point startPoint) { return Point{cursor.x - startPoint.x, cursor.y - startPoint.y}; }

Point ResizeStartPoint(Point cursor, Size window) {
    return Point{cursor.x - window.width, cursor.y - window.height};
}

std::optional<Size> ResizeStep(Point cursor, Point startPoint, Size window, int dpi) {
    const NoteMetrics m = NoteMetricsAt(dpi);
    const int w = std::clamp(cursor.x - startPoint.x, m.minSize.width, m.maxSize.width);
    const int h = std::clamp(cursor.y - startPoint.y, m.minSize.height, m.maxSize.height);
    if (std::abs(w - window.width) <= m.resizeDeadZone && std::abs(h - window.height) <= m.resizeDeadZone)
        return std::nullopt;
    return Size{w, h};
}

std::u16string PictureButtonCaption(std::u16string_view componentName) {
    if (componentName.size() <= 3) return {};
    return std::u16string(componentName.substr(3, 100));
}

Point CaptionOrigin(Size picture, Size text) {
    // C++ integer division truncates towards zero, as the caption rule wants.
    return Point{(picture.width - text.width) / 2, (picture.height - text.height) / 2};
}

} // namespace vn::note
