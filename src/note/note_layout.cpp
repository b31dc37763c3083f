#include "note/note_layout.h"

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

NoteLayout ComputeLayout(Size window, int bodyBottomMargin, Size ownerText, Size timeText) {
    const int w = window.width;
    const int h = window.height;
    const int bw = kPictureButtonSize.width;
    const int bh = kPictureButtonSize.height;
    NoteLayout l;
    l.shapeBackground = Bounds(0, 0, w, h);
    l.lineShape = Bounds(24, 111, w - 47, 5);
    l.title = Bounds(32, 30, w - 145, 30);
    l.owner = Bounds(32, 60, ownerText.width, ownerText.height);
    // Right-justified: the right edge stays at W - 113 and the text grows to the left.
    l.time = Bounds(w - 113 - timeText.width, 60, timeText.width, timeText.height);
    l.grip = Bounds(w - 43, h - 57, kGripSize.width, kGripSize.height);
    l.tile = Bounds(0, 0, kTileSize.width, kTileSize.height);
    l.bottomLabel = Bounds(0, h - 26, w, 18);
    l.save = Bounds(24, 80, bw, bh);
    l.import = Bounds(105, 80, bw, bh);
    l.font = Bounds(186, 80, bw, bh);
    l.del = Bounds(267, 80, bw, bh);
    l.minimize = Bounds(w - 95, 30, bw, bh);
    l.body = Bounds(24, 120, w - 73, h - 120 - bodyBottomMargin);
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

Size EditorSize(Size requested, Size bodyArea) {
    Size s;
    s.height = std::max(requested.height, bodyArea.height - kEditorHeightMargin);
    s.width = std::max(requested.width, bodyArea.width - kEditorWidthMargin);
    return s;
}

int RegionEllipse(Size window) { return std::min(window.width, window.height) / 4 + 5; }

int OutlineEllipse(Size window) { return std::min(window.width - 1, window.height - 1) / 4; }

Point DragStartPoint(Point cursor, Point windowTopLeft) {
    return Point{cursor.x - windowTopLeft.x, cursor.y - windowTopLeft.y};
}

Point DragPosition(Point cursor, Point startPoint) { return Point{cursor.x - startPoint.x, cursor.y - startPoint.y}; }

Point ResizeStartPoint(Point cursor, Size window) {
    return Point{cursor.x - window.width, cursor.y - window.height};
}

std::optional<Size> ResizeStep(Point cursor, Point startPoint, Size window) {
    const int w = std::clamp(cursor.x - startPoint.x, kMinSize.width, kMaxSize.width);
    const int h = std::clamp(cursor.y - startPoint.y, kMinSize.height, kMaxSize.height);
    if (std::abs(w - window.width) <= kResizeDeadZone && std::abs(h - window.height) <= kResizeDeadZone)
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
