#include "store/note_store.h"

#include "platform/errors.h"
#include "store/index_file.h"
#include "store/index_string.h"
#include "store/record_line.h"
#include "store/utf.h"

namespace vn {

namespace {

constexpr std::u16string_view kStoreFolderName = u"Information";
constexpr std::u16string_view kTempExportName = u"Temp Export";
constexpr std::u16string_view kIndexFileName = u"Jotlets.txt";

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
           SamePath(field.substr(0, kStoreFolderName.size() + 1), u"Information\\");
}

std::u16string BodyFileName(size_t position) { return DecimalText(position) + u".txt"; }

void FillFromFields(StoreNote& note, const std::vector<std::u16string>& fields, const std::string& body) {
    note.SetOwnerLabel(fields[kOwnerField]);
    note.SetTimeLabel(fields[kTimeField]);
    note.LoadBody(body);
    if (fields.size() > kCheckStatesField && !fields[kCheckStatesField].empty())
        note.SetPendingCheckStates(fields[kCheckStatesField]);
    note.RestoreLayoutAfterFill();
}

} // namespace

NoteStore::NoteStore(FileSystem& fs, const CodePage& codePage, std::u16string dataFolder)
    : fs_(fs), codePage_(codePage), dataFolder_(std::move(dataFolder)), folders_(fs, dataFolder_) {}

std::u16string NoteStore::StoreIndexPath() const {
    return dataFolder_ + std::u16string(kStoreFolderName) + u"\\" + std::u16string(kIndexFileName);
}

std::u16string NoteStore::TempExportPath() const { return dataFolder_ + std::u16string(kTempExportName); }

void NoteStore::ResetFolder(std::u16string_view name) {
    std::u16string folder = dataFolder_ + std::u16string(name);
    fs_.DeleteDirectory(folder);
    fs_.CreateDirectories(folder);
}

std::vector<std::u16string> NoteStore::ReadIndexFile(const std::u16string& path) {
    return DecodeIndexFile(fs_.ReadFile(path), codePage_);
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

void NoteStore::SaveToFile(const std::u16string& fileName, const std::u16string& indexString,
                           std::span<StoreNote* const> notes, const ZipDirectoryContentsFn& zipDirectoryContents) {
    if (!indexString.empty()) {
        SaveSelection(fileName, indexString, notes, zipDirectoryContents);
        return;
    }
    if (!SamePath(fileName, StoreIndexPath()))
        throw Error("A store save writes \"" + EncodeUtf8(StoreIndexPath()) + "\", not \"" + EncodeUtf8(fileName) + "\".");
    SaveStore(notes);
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

void NoteStore::SaveSelection(const std::u16string& zipFileName, const std::u16string& indexString,
                              std::span<StoreNote* const> notes, const ZipDirectoryContentsFn& zip) {
    ResetFolder(kTempExportName);
    const std::u16string folderPrefix = std::u16string(kTempExportName) + u"\\";
    std::vector<std::u16string> lines;
    for (size_t p : IndexSelection(indexString).PositionsDescending(notes.size()))
        lines.push_back(SaveStickyNoteToFile(*notes[p], folderPrefix + BodyFileName(p)));
    fs_.WriteFile(TempExportPath() + u"\\" + std::u16string(kIndexFileName), EncodeIndexFile(lines, codePage_));
    if (!zip) throw Error("No archive packer was given to the selection save.");
    zip(zipFileName, TempExportPath(), kZipCompressionDeflate);
}

// ---- reading ----

std::u16string NoteStore::ResolveBody(const std::u16string& field, const std::u16string& loadFolder) const {
    // A store recovered from the staging or backup folder holds its own body files.
    if (IsStoreField(field) && loadFolder != folders_.Store())
        return loadFolder + field.substr(kStoreFolderName.size());
    return dataFolder_ + field;
}

void NoteStore::FillStickyNote(StoreNote& note, const std::u16string& infoString) {
    std::vector<std::u16string> fields = SplitFields(infoString);
    if (fields.size() <= kBodyFileField) throw Error("The record names no body file.");
    std::string body = fs_.ReadFile(dataFolder_ + fields[kBodyFileField]);
    FillFromFields(note, fields, body);
}

void NoteStore::LoadRecord(const std::u16string& line, const std::u16string& loadFolder, StoredNoteFactory* factory) {
    RecordParts parts = SplitRecordLine(line);
    std::vector<std::u16string> names = SplitNamePart(parts.namePart);
    std::vector<FieldSpan> spans = SplitFieldSpans(parts.valuePart);

    KeptRecord kept{line, std::nullopt, 0, std::nullopt};
    std::optional<std::string> body;
    if (spans.size() > kBodyFileField) {
        const FieldSpan& span = spans[kBodyFileField];
        std::u16string field(parts.valuePart.substr(span.offset, span.length));
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

    if (factory && names.size() == 2 && body) {
        std::vector<std::u16string> fields;
        for (const FieldSpan& f : spans) fields.emplace_back(parts.valuePart.substr(f.offset, f.length));
        StoreNote* note = nullptr;
        bool filled = false;
        try {
            note = &factory->CreateStoredNote(names[0], names[1]);
            FillFromFields(*note, fields, *body);
            filled = true;
            factory->AdoptLoadedNote(*note);
            return;
        } catch (const std::exception&) {
            // Once filled, the note may already be listed: keep it, keep the record too.
            if (note && !filled) {
                try {
                    factory->DiscardNote(*note);
                } catch (const std::exception&) {
                }
            }
        }
    }
    kept_.push_back(std::move(kept));
}

std::vector<std::u16string> NoteStore::LoadNotes(StoredNoteFactory& factory) {
    kept_.clear();
    unreadStore_ = false;
    try {
        folders_.Settle();
    } catch (const std::exception&) {
        // Read the complete store where it is; the next save settles again.
    }
    std::u16string folder = folders_.FolderToLoad();
    if (folder.empty()) return {};
    std::string bytes;
    try {
        bytes = fs_.ReadFile(folder + u"\\" + std::u16string(kIndexFileName));
    } catch (...) {
        unreadStore_ = true;
        throw;
    }
    std::vector<std::u16string> lines = DecodeIndexFile(bytes, codePage_);
    for (const std::u16string& line : lines) LoadRecord(line, folder, &factory);
    return lines;
}

void NoteStore::ReadUnloadedStore() {
    std::u16string folder = folders_.FolderToLoad();
    if (!folder.empty()) {
        std::vector<std::u16string> lines =
            DecodeIndexFile(fs_.ReadFile(folder + u"\\" + std::u16string(kIndexFileName)), codePage_);
        for (const std::u16string& line : lines) LoadRecord(line, folder, nullptr);
    }
    unreadStore_ = false;
}

} // namespace vn
