// The All Notes window's use cases: open it, list the notes with their search text,
// show a note, move it onto another window, delete notes; keep every note's search
// text up to date; the hotkeys.
#include "app/main_form_win.h"

#include <algorithm>

#include "app/app_texts.h"
#include "app/settings_win.h"
#include "attach/window_picker.h"
#include "attach/window_system_win.h"
#include "note/sticky_note_win.h"
#include "platform/text_win.h"

namespace vn {
namespace {

// How long one turn of reading search texts may keep the program from anything else.
constexpr ULONGLONG kReadSliceMs = 8;
// More texts read at once than this while the window is open: it lists everything anew.
constexpr size_t kRowUpdatesAtOnce = 8;

TimeLabelFormat UserTimeLabelFormat() {
    auto info = [](LCTYPE type) {
        wchar_t buffer[80] = {};
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 80);
        return U16(buffer);
    };
    TimeLabelFormat format;
    const std::u16string pattern = info(LOCALE_SSHORTDATE);
    const size_t day = pattern.find_first_of(u"d"), month = pattern.find_first_of(u"M"), year = pattern.find_first_of(u"y");
    if (year < month && year < day) format.order = DateOrder::YearMonthDay;
    else if (day < month) format.order = DateOrder::DayMonthYear;
    format.am = info(LOCALE_S1159);
    format.pm = info(LOCALE_S2359);
    return format;
}

std::vector<NoteRow> RowsOfBin(const std::vector<BinRow>& bin) {
    std::vector<NoteRow> rows;
    rows.reserve(bin.size());
    for (const BinRow& entry : bin)
        rows.push_back({entry.id, entry.caption, entry.owner, entry.timeLabel,
                        std::make_shared<const std::u16string>(entry.text), entry.deletedLabel, NoteState::Waiting});
    return rows;
}

} // namespace

void TFMain::AllNotes1Click() { OpenAllNotes(); }

void TFMain::BinChanged() {
    if (AllNotes_ && AllNotes_->IsOpen() && AllNotes_->ShowingBin()) AllNotes_->Refresh();
}

void TFMain::OpenAllNotes() {
    if (!AllNotes_) AllNotes_ = std::make_unique<AllNotesWindow>(AllNotesWindowActions(), UserTimeLabelFormat());
    // Texts still to be read are read first, as far as there is time for it.
    ReadSearchTexts();
    AllNotes_->Open();
    AllNotesStateTimer.Start();
}

AllNotesActions TFMain::AllNotesWindowActions() {
    AllNotesActions actions;
    actions.noteRows = [this] {
        std::vector<NoteRow> rows;
        rows.reserve(FJotlets.size());
        for (Jotlet* note : FJotlets) rows.push_back(RowOf(*note));
        return rows;
    };
    actions.searchIndex = [this] { return &SearchTexts_.Index(); };
    actions.binRows = [this] { return RowsOfBin(RecycleBinRows()); };
    actions.body = [this](uint64_t key, bool bin) -> std::string {
        if (bin) return {};
        Jotlet* note = SearchTexts_.NoteOf(key);
        return note ? note->Stored().SaveBody() : std::string();
    };
    actions.checkStates = [this](uint64_t key, bool bin) -> std::u16string {
        Jotlet* note = bin ? nullptr : SearchTexts_.NoteOf(key);
        return note ? note->Stored().CheckStateString() : std::u16string();
    };
    actions.canShow = [this](uint64_t key) {
        Jotlet* note = SearchTexts_.NoteOf(key);
        if (!note) return false;
        const WindowId target = note->TargetWindow();
        return note->NoteWindowVisible() ||
               (target != kNoWindow && target != kUnboundWindow && TheWindowSystem().IsWindow(target));
    };
    actions.show = [this](uint64_t key) {
        if (Jotlet* note = SearchTexts_.NoteOf(key)) note->BringToFront();
    };
    actions.stickToWindow = [this](uint64_t key) {
        if (Jotlet* note = SearchTexts_.NoteOf(key)) StickToWindow(*note);
    };
    actions.deleteNotes = [this](const std::vector<uint64_t>& keys) {
        std::vector<Jotlet*> notes;
        for (uint64_t key : keys)
            if (Jotlet* note = SearchTexts_.NoteOf(key)) notes.push_back(note);
        DeleteNotes(notes);
        // The notes the bin took are out of the list now; their rows go at once, not
        // with their removal notices on the next turn of the message loop.
        for (size_t i = 0; i < notes.size(); ++i)
            if (std::find(FJotlets.begin(), FJotlets.end(), notes[i]) == FJotlets.end() && AllNotes_)
                AllNotes_->NoteRemoved(SearchTexts_.KeyOf(*notes[i]));
    };
    actions.restore = [this](const std::vector<uint64_t>& ids) { RestoreFromBin(ids); };
    actions.deleteForGood = [this](const std::vector<uint64_t>& ids) { DeleteFromBinForGood(ids); };
    actions.emptyBin = [this] { EmptyRecycleBin(); };
    actions.textsPending = [this] { return SearchTexts_.Pending(); };
    // The rectangle in the pixels of its monitor, with that monitor's DPI beside it: a
    // monitor whose scale changed meanwhile gets the same share of its screen.
    actions.loadPlacement = []() -> std::optional<AllNotesPlace> {
        const auto rect = ReadRectSetting(ReadSetting(kAllNotesPlaceValue).value_or(u""));
        if (!rect) return std::nullopt;
        const std::u16string dpi = ReadSetting(kAllNotesDpiValue).value_or(u"");
        const int kept = _wtoi(W(dpi));  // a value no display has (50 % to 1000 %) counts as missing
        return AllNotesPlace{*rect, kept >= 48 && kept <= 960 ? kept : kBaseDpi};
    };
    actions.savePlacement = [](const AllNotesPlace& place) {
        WriteSetting(kAllNotesPlaceValue, RectSetting(place.rect));
        WriteSetting(kAllNotesDpiValue, U16(std::to_wstring(place.dpi)));
    };
    return actions;
}

NoteState TFMain::StateOf(const Jotlet& note) const {
    if (!note.NoteWindowVisible()) return NoteState::Waiting;
    return note.IsTile() ? NoteState::Tile : NoteState::OnScreen;
}

NoteRow TFMain::RowOf(Jotlet& note) {
    const uint64_t key = SearchTexts_.KeyOf(note);
    StoreNote& stored = note.Stored();
    return {key,        stored.ExeName() + u" - " + stored.Caption(), stored.OwnerLabel(), stored.TimeLabel(),
            SearchTexts_.Text(key), {}, StateOf(note)};
}

// --- Stick to Window ----------------------------------------------------------------

void TFMain::StickToWindow(Jotlet& note) {
    StartPicking(true, {});
    stickingNote_ = &note;
}

// --- Search texts -------------------------------------------------------------------

void TFMain::NoteTextChanged(Jotlet& note) {
    if (destroying_) return;
    SearchTexts_.Changed(note);
    // Every stored note reports its body at start-up: one timer for all of them.
    if (!SearchTextTimer.Enabled()) SearchTextTimer.Start();
}

// A turn of reading: a few milliseconds at a time, so that the program answers the
// person between turns; the window lists what was read.
void TFMain::ReadSearchTexts() {
    const ULONGLONG until = GetTickCount64() + kReadSliceMs;
    std::vector<uint64_t> read;
    SearchTexts_.ReadPending([&] { return GetTickCount64() < until; }, [&](uint64_t key) { read.push_back(key); });
    if (SearchTexts_.Pending() == 0) SearchTextTimer.Stop();
    if (!AllNotes_ || !AllNotes_->IsOpen() || read.empty()) return;
    if (read.size() > kRowUpdatesAtOnce) {
        AllNotes_->Refresh();
        return;
    }
    for (uint64_t key : read)
        if (Jotlet* note = SearchTexts_.NoteOf(key);
            note && std::find(FJotlets.begin(), FJotlets.end(), note) != FJotlets.end())
            AllNotes_->NoteChanged(RowOf(*note));
}

// --- Hotkeys ------------------------------------------------------------------------

void TFMain::RegisterHotkeys() {
    Hotkeys_ = std::make_unique<Hotkeys>(Handle());
    const std::vector<std::u16string> taken = Hotkeys_->Register();
    if (taken.empty()) return;
    std::u16string text = kHotkeyTakenText;
    for (size_t i = 0; i < taken.size(); ++i) text += (i ? u", " : u"") + taken[i];
    text += u".";
    ShowBalloon(kBalloonWarning, text);
}

void TFMain::HotkeyPressed(HotkeyId id) {
    if (id == HotkeyId::AllNotes) OpenAllNotes();
    else if (id == HotkeyId::AddNote) AddNoteToForegroundWindow();
}

// The same rules as a pick, without the picking: never while one runs, never on one
// of the program's own windows or a window without a caption.
void TFMain::AddNoteToForegroundWindow() {
    if (Picking_.SelectingCaptureWindow()) {
        MessageBeep(MB_OK);
        return;
    }
    const HWND target = GetForegroundWindow();
    if (!WindowMayTakeNote(TheWindowSystem(), ToWindowId(target))) {
        MessageBeep(MB_OK);
        return;
    }
    TFStickyNote& note = AddStickyNoteToWindow(target);
    if (note.HasHandle()) note.Show();
}

} // namespace vn
