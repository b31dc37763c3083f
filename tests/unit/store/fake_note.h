#pragma once
// Notes and a controller's load for driving NoteStore without windows.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "store/check_states.h"
#include "store/note_store.h"
#include "store/store_note.h"
#include "platform/text_codec.h"

namespace vn::test {

// Bodies starting with this are refused, as the rich-text control refuses data
// it can read neither as RTF nor as text.
inline constexpr std::string_view kUnloadableBody = "\x01UNLOADABLE";

class FakeNote final : public StoreNote {
public:
    FakeNote() = default;
    FakeNote(std::u16string exe, std::u16string caption, std::u16string owner, std::u16string time, std::string body,
             int lines = 0, std::map<int, bool> ticks = {})
        : exe(std::move(exe)), caption(std::move(caption)), owner(std::move(owner)), time(std::move(time)),
          body(std::move(body)), lines(lines), ticks(std::move(ticks)) {}

    std::u16string ExeName() const override { return exe; }
    std::u16string Caption() const override { return caption; }
    std::u16string OwnerLabel() const override { return owner; }
    std::u16string TimeLabel() const override { return time; }
    void SetOwnerLabel(const std::u16string& text) override { owner = text; }
    void SetTimeLabel(const std::u16string& text) override { time = text; }
    std::string SaveBody() override {
        if (unreadable) throw Error("Window handle error");
        return body;
    }
    void LoadBody(const BodyFile& file) override {
        if (file.Bytes().starts_with(kUnloadableBody)) throw Error("Failed to Load Stream");
        body = file.Bytes();
        ++changes;
    }
    std::u16string CheckStateString() const override {
        return CheckStatesToWrite(pending, lines, [this](int i) {
            auto it = ticks.find(i);
            return it != ticks.end() && it->second;
        });
    }
    void SetPendingCheckStates(const std::u16string& states) override { pending = states; }
    void RestoreLayoutAfterFill() override { ++layouts; }

    // Everything a record holds, for comparing notes across a save and a load.
    std::string Describe() const {
        return EncodeUtf8(exe + u"|" + caption + u"=" + owner + u"|" + time + u"|" + CheckStateString()) + " :" + body;
    }

    std::u16string exe, caption, owner, time;
    std::string body;
    int lines = 0;
    std::map<int, bool> ticks;
    std::u16string pending;
    bool unreadable = false;
    int changes = 0;
    int layouts = 0;
};

// Does with a load what the controller does: a note for each record, filled and
// listed; a note that refuses its record is dropped and the record set aside.
class FakeController {
public:
    template <class Store>
    std::vector<std::u16string> Load(Store&& store) {
        LoadedStore loaded = store.LoadNotes();
        for (const StoredRecord& record : loaded.notes) Add(store, record);
        return loaded.lines;
    }

    // Notes of records read late (NoteStore::RetryUnreadIndex), listed after the
    // notes made meanwhile; the store lets go of each record a note took.
    void AddLate(NoteStore& store, const LoadedStore& late) {
        for (const StoredRecord& record : late.notes)
            if (Add(store, record)) store.Adopt(record);
    }

    std::vector<StoreNote*> List() const { return {listed.begin(), listed.end()}; }
    std::vector<std::string> Describe() const {
        std::vector<std::string> out;
        for (const FakeNote* n : listed) out.push_back(n->Describe());
        return out;
    }

    std::vector<std::unique_ptr<FakeNote>> notes;
    std::vector<FakeNote*> listed;
    int discarded = 0;

private:
    template <class Store>
    bool Add(Store& store, const StoredRecord& record) {
        notes.push_back(std::make_unique<FakeNote>());
        FakeNote& note = *notes.back();
        note.exe = record.exeName;
        note.caption = record.caption;
        try {
            FillStickyNote(note, record);
        } catch (const std::exception&) {
            ++discarded;
            store.SetAside(record);
            return false;
        }
        listed.push_back(&note);
        return true;
    }
};

inline std::vector<StoreNote*> Pointers(std::vector<FakeNote>& notes) {
    std::vector<StoreNote*> out;
    for (FakeNote& n : notes) out.push_back(&n);
    return out;
}

} // namespace vn::test
