#pragma once
// The tray icon's menu: its items and its showing, which returns the command chosen.
#include <windows.h>

#include <optional>

#include "app/messages_win.h"
#include "platform/unique_handle_win.h"

namespace vn {

class Application;

class TrayMenu {
public:
    explicit TrayMenu(Application& application) : application_(application) {}

    // Makes the menu: "Add a Note", "Export Notes", "Import Notes", "All Notes", "Quit".
    void Create();
    // Opens the menu at the mouse position (PopupMenuPopup); the command chosen, or
    // nothing when the menu was closed without a choice or the program is ending.
    std::optional<TrayCommand> Popup();

private:
    Application& application_;
    UniqueMenu PopupMenu_;
};

} // namespace vn
