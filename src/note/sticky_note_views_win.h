#pragma once
// The note window as three others see it, each through a small adapter that the note
// holds: the store (identity, labels, body, check states), the tracking tick of its
// binding (shown flag, placement, its window) and the controller placing a new note
// on the window the person just picked.
#include <string>

#include "attach/note_binding.h"
#include "attach/note_placement.h"
#include "store/store_note.h"

namespace vn {

class TFStickyNote;

// A StoreNote of its own, as the note already has a Caption of another meaning than
// the store's.
class StoredStickyNote final : public StoreNote {
public:
    explicit StoredStickyNote(TFStickyNote& note) : note_(note) {}
    std::u16string ExeName() const override;
    std::u16string Caption() const override;
    std::u16string OwnerLabel() const override;
    std::u16string TimeLabel() const override;
    void SetOwnerLabel(const std::u16string& text) override;
    void SetTimeLabel(const std::u16string& text) override;
    std::string SaveBody() override;
    void LoadBody(const BodyFile& body) override;
    std::u16string CheckStateString() const override;
    void SetPendingCheckStates(const std::u16string& states) override;
    void RestoreLayoutAfterFill() override;

private:
    TFStickyNote& note_;
};

class TrackedStickyNote final : public BindingNoteView {
public:
    explicit TrackedStickyNote(TFStickyNote& note) : note_(note) {}
    bool IsShown() const override;
    void Hide() override;
    int Left() const override;
    int Top() const override;
    void RecreateNativeWindow() override;
    void CreateNativeWindowIfNeeded() override;
    void ApplyPlacement(int left, int top) override;
    void UpdateLayout() override;
    void Show() override;
    void FollowTarget(WindowId target) override;
    bool WindowVisible() const override;
    bool KeepAboveTarget(WindowId target) override;

private:
    TFStickyNote& note_;
};

class PlacedStickyNote final : public NewNoteWindow {
public:
    explicit PlacedStickyNote(TFStickyNote& note) : note_(note) {}
    void SetPosition(int left, int top) override;
    void CreateNativeWindowIfNeeded() override;
    void ShowAboveTarget(WindowId target) override;
    void Discard() override;

private:
    TFStickyNote& note_;
};

} // namespace vn
