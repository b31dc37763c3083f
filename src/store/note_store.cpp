#include "store/note_store.h"

#include <algorithm>

#include "exchange/zip_archive.h"
#include "platform/errors.h"
#include "store/index_file.h"
#include "store/index_string.h"
#include "store/record_line.h"
#include "store/store_names.h"

namespace vn {

namespace {

char16_t FoldAscii(char16_t c) {
    if (c == u'/') return u'\\';
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Windows compares file names without regard to case and takes "/" for "\".
bool SamePath(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

// A body file field that names a file of the store folder: "Information\...".
bool IsStoreField(std::u16string_view field) {
    return field.size() > kStoreFolderName.size() + 1 &&
           SamePath(field.substr(0, kStoreFolderName.size()), kStoreFolderName) &&
           FoldAscii(field[kStoreFolderName.size()]) == u'\\';
}

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

void NoteStore::ResetFolder(std::u16string_view name) {
    std::u16string folder = dataFolder_ + std::u16string(name);
    fs_.DeleteDirectory(folder);
    fs_.CreateFolders(folder);
}

// ---- writing ----

std::u16string NoteStore::WriteNote(StoreNote& note, const std::u16string& field, const std::u16string& bodyPath) {
    std::u16string states = note.CheckStateString();
    fs_.WriteFile(bodyPath, note.SaveBody());
    return ComposeRecordLine(note.ExeName(), note.Caption(), note.OwnerLabel(), note.TimeLabel(), field, states);
}

std::u16string NoteStore::SaveStickyNoteToFile(StoreNote& note, const std::u16string& fileName) {
    return WriteNote(note, fileName, dataFolder_ + fileName);
}

void NoteStore::SaveStore(std::span<StoreNote* const> notes) {
    if (unreadStore_) ReadUnloadedStore();
    folders_.Settle();
    folders_.PrepareStaging();
    const std::u16string folderPrefix = std::u16string(kStoreFolderName) + u"\\";
    const std::u16string stagingPrefix = folders_.Staging() + u"\\";

    std::vector<std::u16string> lines;
    lines.reserve(notes.size() + kept_.size());
    for (size_t p = notes.size(); p-- > 0;) {
        std::u16string name = BodyFileName(p);
        lines.push_back(WriteNote(*notes[p], folderPrefix + name, stagingPrefix + name));
    }
    // Records that did not become notes go back as they came, behind the notes;
    // a body file of the store folder takes the next free number.
    size_t next = notes.size();
    for (const KeptRecord& kept : kept_) {
        if (!kept.bodyFieldOffset) {
            lines.push_back(kept.line);
            continue;
        }
        std::u16string name = BodyFileName(next++);
        if (kept.body) fs_.WriteFile(stagingPrefix + name, *kept.body);
        std::u16string line = kept.line;
        line.replace(*kept.bodyFieldOffset, kept.bodyFieldLength, folderPrefix + name);
        lines.push_back(std::move(line));
    }
    folders_.RemoveStaleFiles(next);
    folders_.WriteStagedIndex(EncodeIndexFile(lines, codePage_));
    folders_.Commit();
}

void NoteStore::SaveSelection(const std::u16string& zipFileName, std::span<const size_t> positions,
                              std::span<StoreNote* const> notes) {
    ResetFolder(kTempExportFolderName);
    const std::u16string folderPrefix = std::u16string(kTempExportFolderName) + u"\\";
    std::vector<std::u16string> lines;
    for (size_t p : positions) {
        if (p >= notes.size()) throw Error("No note at position " + std::to_string(p) + ".");
        lines.push_back(SaveStickyNoteToFile(*notes[p], folderPrefix + BodyFileName(p)));
    }
    const std::u16string folder = dataFolder_ + std::u16string(kTempExportFolderName);
    fs_.WriteFile(folder + u"\\" + std::u16string(kIndexFileName), EncodeIndexFile(lines, codePage_));
    ZipDirectoryContents(zipFileName, folder, kZipCompressionDeflate, fs_);
}

// ---- reading ----

std::u16string NoteStore::ResolveBody(const std::u16string& field, const std::u16string& loadFolder) const {
    // A store recovered from the staging or backup folder holds its own body files.
    if (IsStoreField(field) && loadFolder != folders_.Store())
        return loadFolder + field.substr(kStoreFolderName.size());
    return dataFolder_ + field;
}

void NoteStore::FillStickyNote(StoreNote& note, const std::u16string& infoString) {
    std::vector<FieldSpan> spans = SplitFieldSpans(infoString);
    if (spans.size() <= kBodyFileField) throw Error("The record names no body file.");
    StoredRecord record{{}, {}, Field(infoString, spans[kOwnerField]), Field(infoString, spans[kTimeField]),
                        BodyFile::Read(fs_.ReadFile(dataFolder_ + Field(infoString, spans[kBodyFileField])), codePage_),
                        spans.size() > kCheckStatesField ? Field(infoString, spans[kCheckStatesField]) : u"", 0};
    vn::FillStickyNote(note, record);
}

// The record of one line when it can become a note; the line is kept otherwise,
// and remembered in case its note refuses it.
std::optional<StoredRecord> NoteStore::LoadRecord(const std::u16string& line, size_t index,
                                                  const std::u16string& loadFolder) {
    RecordParts parts = SplitRecordLine(line);
    std::vector<std::u16string> names = SplitNamePart(parts.namePart);
    std::vector<FieldSpan> spans = SplitFieldSpans(parts.valuePart);

    KeptRecord kept{line, std::nullopt, 0, std::nullopt, index};
    std::optional<std::string> body;
    if (spans.size() > kBodyFileField) {
        const FieldSpan& span = spans[kBodyFileField];
        std::u16string field = Field(parts.valuePart, span);
        try {
            body = fs_.ReadFile(ResolveBody(field, loadFolder));
        } catch (const std::exception&) {
        }
        if (IsStoreField(field)) {
            kept.bodyFieldOffset = static_cast<size_t>(parts.valuePart.data() - line.data()) + span.offset;
            kept.bodyFieldLength = span.length;
            kept.body = body;
        }
    }
    if (names.size() != 2 || !body) {
        kept_.push_back(std::move(kept));
        return std::nullopt;
    }
    StoredRecord record{names[0],
                        names[1],
                        Field(parts.valuePart, spans[kOwnerField]),
                        Field(parts.valuePart, spans[kTimeField]),
                        BodyFile::Read(std::move(*body), codePage_),
                        spans.size() > kCheckStatesField ? Field(parts.valuePart, spans[kCheckStatesField]) : u"",
                        index};
    loaded_[index] = std::move(kept);
    return record;
}

LoadedStore NoteStore::LoadNotes() {
    kept_.clear();
    loaded_.clear();
    unreadStore_ = false;
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
    } catch (...) {
        unreadStore_ = true;
        throw;
    }
    result.lines = DecodeIndexFile(bytes, codePage_);
    loaded_.resize(result.lines.size());
    for (size_t i = 0; i < result.lines.size(); ++i)
        if (auto record = LoadRecord(result.lines[i], i, folder)) result.notes.push_back(std::move(*record));
    return result;
}

void NoteStore::SetAside(const StoredRecord& record) {
    if (record.line >= loaded_.size() || !loaded_[record.line]) return;
    auto at = std::upper_bound(kept_.begin(), kept_.end(), record.line,
                               [](size_t line, const KeptRecord& k) { return line < k.index; });
    kept_.insert(at, std::move(*loaded_[record.line]));
    loaded_[record.line].reset();
}

void NoteStore::ReadUnloadedStore() {
    kept_.clear();
    std::u16string folder = folders_.FolderToLoad();
    if (!folder.empty()) {
        std::vector<std::u16string> lines =
            DecodeIndexFile(fs_.ReadFile(folder + u"\\" + std::u16string(kIndexFileName)), codePage_);
        loaded_.assign(lines.size(), std::nullopt);
        for (size_t i = 0; i < lines.size(); ++i)
            if (auto record = LoadRecord(lines[i], i, folder)) SetAside(*record);
    }
    unreadStore_ = false;
}

} // namespace vn
