#include "app/picking_session_win.h"

#include <utility>

namespace vn {

namespace {
constexpr char16_t kInformationCaption[] = u"Information";

MouseButtonEvent ButtonEventOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN: return MouseButtonEvent::LeftDown;
    case WM_LBUTTONUP: return MouseButtonEvent::LeftUp;
    case WM_RBUTTONDOWN: return MouseButtonEvent::RightDown;
    case WM_RBUTTONUP: return MouseButtonEvent::RightUp;
    default: return MouseButtonEvent::Other;
    }
}
} // namespace

PickingSession::PickingSession(const Window& timerWindow, const Window& promptOwner, WindowSystem& windows,
                               std::u16string ownExeFileName)
    : promptOwner_(promptOwner),
      CheckForegroundWindowTimer(timerWindow, static_cast<UINT_PTR>(ControllerTimer::CheckForegroundWindowTimer),
                                 kCheckForegroundWindowTimerInterval),
      CaptureWindowTimer(timerWindow, static_cast<UINT_PTR>(ControllerTimer::CaptureWindowTimer),
                         kCaptureWindowTimerInterval),
      Picker_(windows, CheckForegroundWindowTimer, CaptureWindowTimer, std::move(ownExeFileName)) {}

PickPrompt PickingSession::Start(bool balloonHintMessage, ImportRecord record) {
    PickPrompt prompt = Picker_.SelectWindowToAddStickyNote(balloonHintMessage, record.valuePart);
    record_ = std::move(record);
    if (prompt == PickPrompt::InformationWindow) ShowSelectWindowInfo();
    return prompt;
}

std::optional<PickedForNote> PickingSession::Capture() {
    std::optional<PickedWindow> picked = Picker_.CaptureWindowTimerTimer();
    if (!picked) return std::nullopt;
    PickedForNote result{picked->target, std::nullopt};
    if (!picked->infoString.empty()) result.record = record_;
    return result;
}

void PickingSession::NoteMade() {
    Picker_.NoteMadeForPick();
    record_ = {};
}

// Outside picking only a flag test: the hook sees every mouse event of the desktop.
void PickingSession::MouseHookEvent(UINT message) { Ended(Picker_.MouseHookEvent(ButtonEventOf(message))); }

void PickingSession::CheckForegroundWindowTimerTimer() { Ended(Picker_.CheckForegroundWindowTimerTimer()); }

void PickingSession::Ended(PickingState state) {
    if (state != PickingState::Unchanged) CloseSelectWindowInfo();
}

void PickingSession::Stop() {
    CaptureWindowTimer.Stop();
    CheckForegroundWindowTimer.Stop();
    CloseSelectWindowInfo();
}

void PickingSession::ShowSelectWindowInfo() {
    // At most one: a window still shown goes before the new one comes.
    CloseSelectWindowInfo();
    // Owned by the invisible application window: no taskbar button of its own.
    SelectWindowInfoForm =
        std::make_unique<InformationWindow>(promptOwner_.Handle(), kInformationCaption, kInfoWindowPickPrompt);
}

void PickingSession::CloseSelectWindowInfo() {
    // The variable is emptied first, then the window is closed and freed.
    std::unique_ptr<InformationWindow> form = std::move(SelectWindowInfoForm);
    form.reset();
}

} // namespace vn
