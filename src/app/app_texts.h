#pragma once
// The program's fixed texts. They are the user-visible contract (spelling included)
// and the names other processes see, so they live in one place.

namespace vn {

inline constexpr char16_t kApplicationTitle[] = u"Vantory Note";
inline constexpr char16_t kVersionText[] = u"1.32";

// Single-instance guard: a named mutex in the per-logon namespace (no Global\ prefix).
inline constexpr char16_t kInstanceMutexName[] = u"VantoryNote";
inline constexpr char16_t kAlreadyRunningText[] = u"Vantory Note application is alreay running!";

// The theme is a named resource of the program.
inline constexpr char16_t kThemeName[] = u"Light";

// Tray icon.
inline constexpr char16_t kTrayTip[] = u"Vantory Note";
inline constexpr char16_t kBalloonTitle[] = u"Vantory Note 1.32";
inline constexpr char16_t kStartupBalloonText[] = u"Vantory Note 1.32 is running. Right click on the icon for options.";
inline constexpr char16_t kAccessDeniedBalloonText[] =
    u"The application you are trying to attach the note to seems to be running with admin privileges.\r\n"
    u"In order to attach notes to it, Vantory Note application must be started with admin privileges as well.";

// Near the process's limit of windows: a note waits, stored, for room.
inline constexpr char16_t kNoRoomBalloonText[] =
    u"Some notes cannot be shown right now: Windows has no room for more note windows.\r\n"
    u"They are kept safe and come back as soon as other notes are closed or deleted.";

// The recycle bin. The undo balloon follows a note's own Delete button; the failure
// texts end with a reason phrase (store/save_texts.h) and a full stop.
inline constexpr char16_t kNoteDeletedBalloonText[] = u"Note deleted. Click here to bring it back.";
inline constexpr char16_t kCannotDeleteText[] = u"The note was not deleted: the recycle bin could not take it, because ";
inline constexpr char16_t kCannotRestoreText[] = u"The note was not brought back from the recycle bin, because ";
inline constexpr char16_t kCannotPurgeText[] = u"The recycle bin could not be emptied, because ";

// Tray menu, top to bottom.
inline constexpr char16_t kMenuAddNote[] = u"Add a Note";
inline constexpr char16_t kMenuExportNotes[] = u"Export Notes";
inline constexpr char16_t kMenuImportNotes[] = u"Import Notes";
inline constexpr char16_t kMenuAllNotes[] = u"All Notes";
inline constexpr char16_t kMenuQuit[] = u"Quit";

// A hotkey that another program holds; the combinations follow.
inline constexpr char16_t kHotkeyTakenText[] = u"Another program already uses these keys, so they do nothing in Vantory Note: ";

// The file-open dialog of the import.
inline constexpr char16_t kOpenDialogTitle[] = u"Select Vantory Note File to Import";
inline constexpr char16_t kOpenDialogFilter[] = u"Vantory Note Export File (*.vnx)|*.vnx";
inline constexpr char16_t kOpenDialogDefaultExt[] = u"vnx";

} // namespace vn
