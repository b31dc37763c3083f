#include "store/note_store.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <utility>

#include "store/body_path.h"
#include "store/index_file.h"
#include "store/index_string.h"
#include "store/record_line.h"
#include "store/store_fingerprint.h"
#include "store/store_in_place.h"
#include "store/store_names.h"

namespace vn {

namespace {

std::u16string BodyFileName(size_t position) { return DecimalText(position) + u".txt"; }

std::u16string Field(std::u16string_view valuePart, const FieldSpan& span) {
    return std::u16string(valuePart.substr(span.offset, span.length));
}

} // namespace

void FillStickyNote(StoreNote& note, const StoredRecord& record) {
    note.SetOwnerLabel(record.ownerLabel);
    note.SetTimeLabel(record.timeLabel);
    note.LoadBody(record.body);
    if (!record.checkStates.empty()) note.SetPendingCheckStates(record.checkStates);
    note.RestoreLayoutAfterFill();
}

NoteStore::NoteStore(FileSystem& fs, const CodePage& codePage, std::u16string dataFolder)
    : fs_(fs), codePage_(codePage), dataFolder_(std::move(dataFolder)), folders_(fs, dataFolder_) {}

// ---- writing ----

std::u16string NoteStore::SaveStickyNoteToFile(StoreNote& note, const std::u16string& fileName) {
    std::u16string states = CheckStatesForRecord(note.CheckStateString());
    fs_.WriteFile(dataFolder_ + fileName, note.SaveBody());
    return ComposeRecordLine(note.ExeName(), note.Caption(), note.OwnerLabel(), note.TimeLabel(), fileName, states);
}

void NoteStore::SaveStore(std::span<StoreNote* const> notes) { WriteSnapshot(CaptureStore(notes), {}); }

SaveOutcome NoteStore::Write(const StoreSnapshot& snapshot) { return Write(snapshot, {}); }

SaveOutcome NoteStore::Write(const StoreSnapshot& snapshot, const CommitHook& beforeCommit) {
    try {
        return SaveOutcome::Saved(WriteSnapshot(snapshot, beforeCommit));
    } catch (const std::exception& e) {
        return SaveOutcome::Failed(e);
    }
}

void NoteStore::BeforeCommit(const CommitHook& hook, const StorePlan& plan, const std::string& indexBytes) const {
    if (!hook) return;
    std::unordered_map<std::u16string, const std::string*> bodies;
    bodies.reserve(plan.bodies.size());
    for (const StagedBody& body : plan.bodies)
        if (body.bytes) bodies.emplace(FoldedFileName(body.name), body.bytes.get());
    hook(StoreFingerprint(indexBytes, codePage_, [&](const std::u16string& name) -> const std::string* {
        auto it = bodies.find(FoldedFileName(name));
        return it == bodies.end() ? nullptr : it->second;
    }));
}

uint64_t NoteStore::FingerprintOnDisk() {
    if (fs_.Exists(folders_.Backup()) || folders_.IsComplete(folders_.Staging()) ||
        !folders_.IsComplete(folders_.Store())) {
        // The folders are about to change: what the store knows of them may not hold.
        knownStore_.reset();
        knownStaging_.reset();
    }
    try {
        folders_.Settle();
    } catch (const std::exception&) {
        // As a load: the complete store is read where it is.
    }
    const std::u16string folder = folders_.FolderToLoad();
    if (folder.empty()) return StoreFingerprint({}, codePage_, {});
    if (loadedIndex_ && knownStore_ && !bodyUnreadAtLoad_ && folder == folders_.Store()) {
        // What the load read is still what the disk holds: no need to read it all again.
        return StoreFingerprint(*loadedIndex_, codePage_, [&](const std::u16string& name) -> const std::string* {
            auto it = knownStore_->find(name);
            return it == knownStore_->end() || !it->second ? nullptr : it->second.get();
        });
    }
    const std::string index = fs_.ReadFile(folder + u"\\" + std::u16string(kIndexFileName));
    std::string held;
    return StoreFingerprint(index, codePage_, [&](const std::u16string& name) -> const std::string* {
        const std::u16string path = folder + u"\\" + name;
        if (fs_.Kind(path) == PathKind::Missing) return nullptr;
        held = fs_.ReadFile(path);
        return &held;
    });
}

SavePath NoteStore::WriteSnapshot(const StoreSnapshot& snapshot, const CommitHook& beforeCommit) {
    loadedIndex_.reset();
    if (unreadStore_) ReadUnloadedStore();
    RereadKeptBodies();
    StorePlan plan = PlanStore(snapshot);
    try {
        SaveThroughStaging(plan, beforeCommit);
        return SavePath::Swapped;
    } catch (const std::exception&) {
        // The folders could not be swapped, or a new store not be staged. Without a
        // complete "Information" there is nothing to save into. What the store
        // knows of its folders still holds: the staging folder changes only once
        // it is prepared, and a failed swap leaves both as they were.
        if (!folders_.IsComplete(folders_.Store())) {
            knownStore_.reset();
            knownStaging_.reset();
            throw;
        }
    }
    try {
        SaveInPlace(fs_, folders_, plan, knownStore_, codePage_,
                    [&](const std::string& indexBytes) { BeforeCommit(beforeCommit, plan, indexBytes); });
    } catch (...) {
        // Whatever the failure left in the folders is unknown now: the next save writes every body.
        knownStore_.reset();
        knownStaging_.reset();
        throw;
    }
    return SavePath::InPlace;
}

// A body that could not be read at load (locked by another program, say) gets
// one more chance while its file is still where the load looked: before the
// first save replaces that folder.
void NoteStore::RereadKeptBodies() {
    for (KeptRecord& kept : kept_) {
        if (!kept.body && kept.unreadSource) {
            try {
                kept.body = fs_.ReadFile(*kept.unreadSource);
            } catch (const std::exception&) {
            }
        }
        kept.unreadSource.reset();
    }
}

// The lines and bodies of the store to write: the notes from the last position
// down, then the records that did not become notes, as they came. A body file of
// the store folder takes the next free number, and one whose bytes could not be
// read a number that no file has.
StorePlan NoteStore::PlanStore(const StoreSnapshot& snapshot) const {
    const std::u16string folderPrefix = std::u16string(kStoreFolderName) + u"\\";
    StorePlan plan;
    plan.bodies.reserve(snapshot.notes.size() + kept_.size());
    plan.lines.reserve(snapshot.notes.size() + kept_.size());
    for (size_t p = 0; p < snapshot.notes.size(); ++p) plan.bodies.push_back({BodyFileName(p), snapshot.notes[p].body});
    for (size_t p = snapshot.notes.size(); p-- > 0;) {
        const CapturedNote& note = snapshot.notes[p];
        const std::u16string field = folderPrefix + plan.bodies[p].name;
        std::u16string line =
            ComposeRecordLine(note.exeName, note.caption, note.ownerLabel, note.timeLabel, field, note.checkStates);
        const size_t offset = line.size() - note.checkStates.size() - 1 - field.size();
        plan.lines.push_back({std::move(line), p, offset, field.size()});
    }
    for (const KeptRecord& kept : kept_) {
        if (!kept.bodyFieldOffset) {
            plan.lines.push_back({kept.line, std::nullopt, 0, 0});
            continue;
        }
        plan.lines.push_back({kept.line, plan.bodies.size(), *kept.bodyFieldOffset, kept.bodyFieldLength});
        plan.bodies.push_back(
            {BodyFileName(plan.bodies.size()), kept.body ? std::make_shared<const std::string>(*kept.body) : nullptr});
    }
    return plan;
}

void NoteStore::SaveThroughStaging(StorePlan& plan, const CommitHook& beforeCommit) {
    // What the store knows of its folders holds only while no save was cut short.
    if (fs_.Exists(folders_.Backup()) || folders_.IsComplete(folders_.Staging()) ||
        !folders_.IsComplete(folders_.Store())) {
        knownStore_.reset();
        knownStaging_.reset();
    }
    folders_.Settle();
    folders_.PrepareStaging();
    // Reading what the staging folder holds costs far less than flushing every body
    // anew (it usually holds the store of two saves ago).
    FolderContents staging = knownStaging_ ? std::move(*knownStaging_) : ReadBodies(fs_, folders_.Staging());
    knownStaging_.reset(); // from here on the staging folder changes

    PlaceBodies(fs_, folders_.Staging(), plan.bodies, staging,
                [this](const std::u16string& path) { folders_.RetireFile(path); });
    folders_.RemoveStaleFiles(plan.bodies.size());
    const std::string indexBytes = EncodeIndexFile(IndexLines(plan), codePage_);
    BeforeCommit(beforeCommit, plan, indexBytes);
    folders_.WriteStagedIndex(indexBytes);
    // A swap that fails leaves the staging folder as it is now.
    knownStaging_ = staging;
    const bool oldStoreStaged = folders_.Commit();

    // The old store's folder is the staging folder now, unless tidying it up failed.
    knownStaging_.reset();
    if (oldStoreStaged) knownStaging_ = std::move(knownStore_);
    knownStore_.emplace();
    for (const StagedBody& body : plan.bodies)
        if (body.bytes) (*knownStore_)[body.name] = body.bytes;
}

// ---- reading ----

// The record of one line when it can become a note; the line is kept otherwise,
// and remembered in case its note refuses it.
std::optional<StoredRecord> NoteStore::LoadRecord(const std::u16string& line, size_t index,
                                                  const std::u16string& loadFolder, FolderContents* known) {
    RecordFields read = ReadRecordLine(line);
    const std::vector<std::u16string>& names = read.names;
    const std::vector<FieldSpan>& spans = read.fields;

    KeptRecord kept{line, std::nullopt, 0, std::nullopt, index};
    std::optional<std::string> body;
    // Only a file directly in the folder the store is read from; any other body
    // field stays in the record, unread.
    std::optional<std::u16string> name;
    if (spans.size() > kBodyFileField) name = BodyFileInFolder(Field(line, spans[kBodyFileField]), kStoreFolderName);
    if (name) {
        const std::u16string path = loadFolder + u"\\" + *name;
        try {
            body = fs_.ReadFile(path);
            if (known) (*known)[*name] = std::make_shared<const std::string>(*body);
        } catch (const std::exception&) {
            kept.unreadSource = path;
            if (fs_.Kind(path) != PathKind::Missing) bodyUnreadAtLoad_ = true;
        }
        kept.bodyFieldOffset = spans[kBodyFileField].offset;
        kept.bodyFieldLength = spans[kBodyFileField].length;
        kept.body = body;
    }
    if (names.size() != 2 || !body) {
        kept_.push_back(std::move(kept));
        return std::nullopt;
    }
    StoredRecord record{names[0],
                        names[1],
                        Field(line, spans[kOwnerField]),
                        Field(line, spans[kTimeField]),
                        BodyFile::Read(std::move(*body), codePage_),
                        spans.size() > kCheckStatesField ? Field(line, spans[kCheckStatesField]) : u"",
                        index};
    loaded_[index] = std::move(kept);
    return record;
}

LoadedStore NoteStore::LoadNotes() {
    kept_.clear();
    loaded_.clear();
    knownStore_.reset();
    knownStaging_.reset();
    unreadStore_ = false;
    unclaimed_.reset();
    loadedIndex_.reset();
    bodyUnreadAtLoad_ = false;
    try {
        folders_.Settle();
    } catch (const std::exception&) {
        // Read the complete store where it is; the next save settles again.
    }
    LoadedStore result;
    std::u16string folder = folders_.FolderToLoad();
    if (folder.empty()) return result;
    std::string bytes;
    try {
        bytes = fs_.ReadFile(folder + u"\\" + std::u16string(kIndexFileName));
    } catch (const std::exception& e) {
        unreadStore_ = true;
        throw IndexUnreadableError(e.what());
    }
    result.lines = DecodeIndexFile(bytes, codePage_);
    loaded_.resize(result.lines.size());
    // The bodies read from the store folder are what it holds: the save after the
    // next one writes only what changed since.
    FolderContents known;
    for (size_t i = 0; i < result.lines.size(); ++i)
        if (auto record = LoadRecord(result.lines[i], i, folder, &known)) result.notes.push_back(std::move(*record));
    if (folder == folders_.Store()) {
        knownStore_ = std::move(known);
        loadedIndex_ = std::move(bytes);
    }
    return result;
}

void NoteStore::SetAside(const StoredRecord& record) {
    if (record.line >= loaded_.size() || !loaded_[record.line]) return;
    auto at = std::upper_bound(kept_.begin(), kept_.end(), record.line,
                               [](size_t line, const KeptRecord& k) { return line < k.index; });
    kept_.insert(at, std::move(*loaded_[record.line]));
    loaded_[record.line].reset();
}

// The index LoadNotes could not read: all its records are kept, so that every
// save writes them back, until notes take them (RetryUnreadIndex, Adopt).
void NoteStore::ReadUnloadedStore() {
    LoadedStore read;
    std::u16string folder = folders_.FolderToLoad();
    if (!folder.empty()) {
        try {
            read.lines = DecodeIndexFile(fs_.ReadFile(folder + u"\\" + std::u16string(kIndexFileName)), codePage_);
        } catch (const std::exception& e) {
            throw IndexUnreadableError(e.what());
        }
    }
    kept_.clear();
    loaded_.assign(read.lines.size(), std::nullopt);
    for (size_t i = 0; i < read.lines.size(); ++i) {
        auto record = LoadRecord(read.lines[i], i, folder, nullptr);
        if (!record) continue;
        loaded_[i]->awaitingNote = true;
        SetAside(*record);
        read.notes.push_back(std::move(*record));
    }
    unreadStore_ = false;
    unclaimed_ = std::move(read);
}

std::optional<LoadedStore> NoteStore::RetryUnreadIndex() {
    if (unreadStore_) {
        try {
            ReadUnloadedStore();
        } catch (const IndexUnreadableError&) {
            return std::nullopt;
        }
    }
    return std::exchange(unclaimed_, std::nullopt);
}

void NoteStore::Adopt(const StoredRecord& record) {
    std::erase_if(kept_, [&](const KeptRecord& k) { return k.awaitingNote && k.index == record.line; });
}

} // namespace vn
