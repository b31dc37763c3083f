#pragma once
// The All Notes window: a normal top-level window with a taskbar button that lists
// every stored note (or every note in the recycle bin), filters them as the person
// types into its search box, previews the selected note's whole text and acts on the
// selected notes through the controller. One of the program's own windows: it can
// never be picked and no note sticks to it. Made once, kept hidden between showings.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/all_notes_rows.h"
#include "platform/dpi_win.h"
#include "platform/unique_handle_win.h"
#include "platform/window_win.h"

namespace vn {

// The window's place as it was kept: its rectangle and the DPI it had then.
struct AllNotesPlace {
    RECT rect{};
    int dpi = kBaseDpi;
};

// What the window asks of the controller.
struct AllNotesActions {
    // Every stored note, with its search text as far as it is read; the index that
    // filters them by key.
    std::function<std::vector<NoteRow>()> noteRows;
    std::function<const SearchIndex*()> searchIndex;
    std::function<std::vector<NoteRow>()> binRows;
    // The note's body as its file holds it (RTF or text) and its check states.
    std::function<std::string(uint64_t key, bool bin)> body;
    std::function<std::u16string(uint64_t key, bool bin)> checkStates;
    // "Show" is possible: the note is on screen or its window exists.
    std::function<bool(uint64_t key)> canShow;
    std::function<void(uint64_t key)> show;
    std::function<void(uint64_t key)> stickToWindow;
    std::function<void(const std::vector<uint64_t>& keys)> deleteNotes;
    std::function<void(const std::vector<uint64_t>& keys)> restore;
    std::function<void(const std::vector<uint64_t>& keys)> deleteForGood;
    std::function<void()> emptyBin;
    // How many notes' text is still being read after start-up.
    std::function<size_t()> textsPending;
    // The place the window had when it last closed, and the place to keep.
    std::function<std::optional<AllNotesPlace>()> loadPlacement;
    std::function<void(const AllNotesPlace&)> savePlacement;
};

class AllNotesWindow final : public Window {
public:
    AllNotesWindow(AllNotesActions actions, TimeLabelFormat timeFormat);
    ~AllNotesWindow() override;

    // Shows the window with fresh rows (or brings it forward when it is open) and puts
    // the keyboard into the search box.
    void Open();
    void Close();
    bool IsOpen() const noexcept { return open_; }

    // The notes changed while the window is open: one row, a row gone, or all of them.
    void NoteChanged(const NoteRow& row);
    void NoteRemoved(uint64_t key);
    void Refresh();
    // The states of the rows ("On screen", "Tile", ...) as they are now.
    void RefreshStates(const std::function<NoteState(uint64_t key)>& stateOf);

    // A keyboard message of the window's own controls, before it is dispatched:
    // Ctrl+F, Down from the search box, Delete in the list, Tab, Enter and Esc.
    bool PreTranslate(MSG& msg);

    // For the tests: the rows, the controls and the mode.
    const AllNotesRows& Rows() const noexcept { return rows_; }
    HWND SearchBox() const noexcept { return search_; }
    HWND List() const noexcept { return list_; }
    HWND Preview() const noexcept { return preview_; }
    HWND Status() const noexcept { return status_; }
    HWND Button(int id) const noexcept { return GetDlgItem(Handle(), id); }
    bool ShowingBin() const noexcept { return bin_; }
    int Dpi() const noexcept { return dpi_; }
    void SetQuery(const std::u16string& typed);
    void Select(const std::vector<size_t>& positions);
    void ShowBin(bool bin);

    enum ButtonId : int {
        kShowId = 201, kStickId, kDeleteId, kBinId, kCloseId, kRestoreId, kDeleteForGoodId, kEmptyBinId,
    };

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Create();
    HWND AddControl(const wchar_t* className, const std::u16string& text, DWORD style, int id, DWORD exStyle = 0);
    void Layout();
    void SetColumns();
    // The look (all_notes_look_win.cpp): the DPI, icons and fonts, and high contrast.
    HFONT Font() const;
    void SetIcons();
    void PlaceForDpi(int dpi, LPARAM suggested);
    void ContrastChanged();
    bool ContrastColor(UINT message, WPARAM wParam, LRESULT& result) const;
    bool EraseForContrast(HDC dc) const;
    void MarkRange(size_t from, size_t to, bool marked);
    void Command(int id, int code);
    LRESULT Notify(NMHDR& header);
    void GetCellText(NMLVDISPINFOW& info);
    void SearchChanged();
    void RowsChanged(const std::vector<uint64_t>& keepSelected);
    void SelectionChanged();
    void UpdatePreview();
    // The matches of the search marked in the preview, the old marks gone.
    void UpdateHighlights();
    void UpdateButtons();
    void UpdateStatus();
    std::vector<uint64_t> SelectedKeys() const;
    void ShowClick();
    void DeleteClick();
    void KeepPlacement();

    AllNotesActions actions_;
    AllNotesRows rows_;
    bool open_ = false;
    bool bin_ = false;
    uint64_t previewKey_ = 0;
    bool previewShown_ = false;
    // The list's selection is being set by the window itself: its notifications wait.
    bool quiet_ = false;
    // The marks of the search in the preview, cleared before the next ones.
    std::vector<std::pair<size_t, size_t>> marks_;
    int dpi_ = kBaseDpi;
    UniqueIcon bigIcon_, smallIcon_;
    HWND search_ = nullptr;
    HWND list_ = nullptr;
    HWND preview_ = nullptr;
    HWND status_ = nullptr;
};

} // namespace vn
