#include "app/tray_menu_win.h"

#include "app/app_texts.h"
#include "app/application_win.h"
#include "platform/text_win.h"

namespace vn {

void TrayMenu::Create() {
    PopupMenu_.reset(CreatePopupMenu());
    const struct {
        TrayCommand command;
        const char16_t* text;
    } items[] = {
        {TrayCommand::AddaStickyNote1, kMenuAddNote},
        {TrayCommand::ExportaStickyNote1, kMenuExportNotes},
        {TrayCommand::InportaStickyNote1, kMenuImportNotes},
        {TrayCommand::AllNotes1, kMenuAllNotes},
        {TrayCommand::Quit1, kMenuQuit},
    };
    for (const auto& item : items)
        AppendMenuW(PopupMenu_.get(), MF_STRING, static_cast<UINT_PTR>(item.command), W(item.text));
}

std::optional<TrayCommand> TrayMenu::Popup() {
    if (!PopupMenu_) return std::nullopt;
    POINT at{};
    GetCursorPos(&at);
    // A menu of a background program only closes on an outside click when one of
    // its windows is in the foreground.
    SetForegroundWindow(application_.Handle());
    application_.ProcessMessages();
    if (application_.Terminated()) return std::nullopt;
    UINT command = static_cast<UINT>(TrackPopupMenuEx(PopupMenu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                      at.x, at.y, application_.Handle(), nullptr));
    // The menu then closes at once when the next one opens (a documented quirk).
    PostMessageW(application_.Handle(), WM_NULL, 0, 0);
    if (!command) return std::nullopt;
    return static_cast<TrayCommand>(command);
}

} // namespace vn
