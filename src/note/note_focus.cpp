#include "note/note_focus.h"

#include <algorithm>
#include <array>

namespace vn::note {
namespace {

constexpr std::array<FocusStop, 7> kOrder{FocusStop::Minimize, FocusStop::Save,      FocusStop::Import,
                                          FocusStop::Font,     FocusStop::Delete,    FocusStop::Checklist,
                                          FocusStop::Body};

bool IsArrow(unsigned key) { return key == kKeyLeft || key == kKeyUp || key == kKeyRight || key == kKeyDown; }

} // namespace

Control PartOf(FocusStop stop) {
    switch (stop) {
    case FocusStop::Minimize: return Control::ImgMinimize;
    case FocusStop::Save: return Control::ImgSave;
    case FocusStop::Import: return Control::ImgImport;
    case FocusStop::Font: return Control::ImgFont;
    case FocusStop::Delete: return Control::ImgDelete;
    case FocusStop::Tile: return Control::ImgSmall;
    case FocusStop::Checklist:
    case FocusStop::Body: break;
    }
    return Control::None;
}

FocusStop NextStop(FocusStop from, bool backwards, bool anyBoxShown) {
    const auto at = std::find(kOrder.begin(), kOrder.end(), from);
    if (at == kOrder.end()) return from;
    const int count = static_cast<int>(kOrder.size());
    const int step = backwards ? count - 1 : 1;
    int i = static_cast<int>(at - kOrder.begin());
    do {
        i = (i + step) % count;
    } while (kOrder[static_cast<size_t>(i)] == FocusStop::Checklist && !anyBoxShown);
    return kOrder[static_cast<size_t>(i)];
}

std::optional<int> FirstShownBox(const BoxShown& shown) { return NextShownBox(shown, -1, 1); }

std::optional<int> NextShownBox(const BoxShown& shown, int line, int step) {
    for (int i = line + step; i >= 0 && i < kCheckBoxSlots; i += step)
        if (shown(i)) return i;
    return std::nullopt;
}

KeyCommand CommandFor(FocusStop at, const KeyPress& key) {
    if (key.alt && !key.ctrl && !key.shift) {
        if (key.key == kKeyF7) return KeyCommand::BeginMove;
        if (key.key == kKeyF8) return at == FocusStop::Tile ? KeyCommand::None : KeyCommand::BeginSize;
        return KeyCommand::None;
    }
    if (key.alt) return KeyCommand::None;
    if (key.key == kKeyTab && !key.ctrl && at != FocusStop::Tile)
        return key.shift ? KeyCommand::PreviousStop : KeyCommand::NextStop;
    const bool press = (key.key == kKeyReturn || key.key == kKeySpace) && !key.ctrl && !key.shift && !key.repeat;
    switch (at) {
    case FocusStop::Tile: return press ? KeyCommand::Restore : KeyCommand::None;
    case FocusStop::Body: return KeyCommand::None;
    case FocusStop::Checklist:
        if (key.ctrl || key.shift || !IsArrow(key.key)) return KeyCommand::None;
        return key.key == kKeyUp || key.key == kKeyLeft ? KeyCommand::PreviousBox : KeyCommand::NextBox;
    default: return press ? KeyCommand::Press : KeyCommand::None;
    }
}

PointerActions KeyboardSizing::Begin(Mode mode, const NoteBounds& bounds) {
    PointerActions actions;
    if (mode_ != Mode::None) return actions;
    mode_ = mode;
    startPosition_ = bounds.Position();
    startSize_ = bounds.WindowSize();
    actions.resizeBegan = mode == Mode::Size;
    return actions;
}

PointerActions KeyboardSizing::Arrow(unsigned key, bool fine, const NoteBounds& bounds) const {
    PointerActions actions;
    const int step = fine ? kFineStep : kStep;
    const int dx = key == kKeyLeft ? -step : key == kKeyRight ? step : 0;
    const int dy = key == kKeyUp ? -step : key == kKeyDown ? step : 0;
    if (dx == 0 && dy == 0) return actions;
    if (mode_ == Mode::Move) {
        actions.moveTo = Point{bounds.Left() + dx, bounds.Top() + dy};
    } else if (mode_ == Mode::Size) {
        const Size now = bounds.WindowSize();
        const Size next{std::clamp(now.width + dx, kMinSize.width, kMaxSize.width),
                        std::clamp(now.height + dy, kMinSize.height, kMaxSize.height)};
        if (next != now) actions.resizeTo = next;
    }
    return actions;
}

PointerActions KeyboardSizing::Finish() {
    PointerActions actions;
    actions.resizeEnded = mode_ == Mode::Size;
    mode_ = Mode::None;
    return actions;
}

PointerActions KeyboardSizing::Cancel(const NoteBounds& bounds) {
    PointerActions actions;
    if (mode_ == Mode::Move && bounds.Position() != startPosition_) actions.moveTo = startPosition_;
    if (mode_ == Mode::Size && bounds.WindowSize() != startSize_) actions.resizeTo = startSize_;
    actions.resizeEnded = mode_ == Mode::Size;
    mode_ = Mode::None;
    return actions;
}

} // namespace vn::note
