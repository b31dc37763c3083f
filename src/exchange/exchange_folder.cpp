#include "exchange/exchange_folder.h"

#include "exchange/export_target.h"
#include "exchange/zip_archive.h"
#include "platform/errors.h"
#include "platform/scope_exit.h"
#include "store/index_file.h"
#include "store/index_string.h"
#include "store/store_names.h"

namespace vn {

namespace {
// The copy of an archive chosen inside the data folder's own folders, read after the
// reset of the exchange folder.
constexpr char16_t kImportCopyName[] = u"Import.vnx";
} // namespace

ExchangeFolder::ExchangeFolder(NoteStore& store, FileSystem& fs, const CodePage& codePage)
    : store_(store), fs_(fs), codePage_(codePage), folder_(store.DataFolder() + std::u16string(kTempExportFolderName)) {}

void ExchangeFolder::Reset() {
    fs_.DeleteDirectory(folder_);
    fs_.CreateFolders(folder_);
    // The deletion reports nothing. A file it left (held open by another program)
    // would be packed into the next export, not chosen, or fill an imported note
    // its own archive lacks.
    if (!fs_.List(folder_).empty()) throw Error("Cannot delete folder \"" + EncodeUtf8(folder_) + "\".");
}

// ---- export ----

void ExchangeFolder::SaveSelection(const std::u16string& archive, std::span<const size_t> positions,
                                   std::span<StoreNote* const> notes) {
    ReplaceFileAtomically(fs_, archive, [&](const std::u16string& partial) {
        Reset();
        // Record lines name the body files as the store writes them: relative to the data folder.
        const std::u16string folderPrefix = std::u16string(kTempExportFolderName) + u"\\";
        std::vector<std::u16string> lines;
        for (size_t p : positions) {
            if (p >= notes.size()) throw Error("No note at position " + std::to_string(p) + ".");
            lines.push_back(store_.SaveStickyNoteToFile(*notes[p], folderPrefix + DecimalText(p) + u".txt"));
        }
        fs_.WriteFile(folder_ + u"\\" + std::u16string(kIndexFileName), EncodeIndexFile(lines, codePage_));
        ZipDirectoryContents(partial, folder_, kZipCompressionDeflate, fs_);
    });
}

// ---- import ----

std::vector<std::u16string> ExchangeFolder::Unpack(const std::u16string& archive) {
    // An archive inside the program's own folders would go with the reset: it is
    // read from a copy made first, which goes once the archive is unpacked.
    const bool copied = IsDataFolderTarget(archive, store_.DataFolder());
    const std::u16string source = copied ? store_.DataFolder() + kImportCopyName : archive;
    auto removeCopy = OnScopeExit([&]() noexcept {
        if (!copied) return;
        try {
            fs_.RemoveFile(source);
        } catch (...) {
        }
    });
    if (copied) fs_.WriteFile(source, fs_.ReadFile(archive));
    Reset();
    ExtractZipFile(source, folder_, fs_);
    return DecodeIndexFile(fs_.ReadFile(folder_ + u"\\" + std::u16string(kIndexFileName)), codePage_);
}

void ExchangeFolder::FillStickyNote(StoreNote& note, const ImportRecord& record) {
    if (!record.bodyField) throw Error("The record names no body file.");
    const std::optional<std::u16string> name = ImportBodyFile(record);
    if (!name) throw Error("The body file \"" + EncodeUtf8(*record.bodyField) + "\" is not in the Temp Export folder.");
    StoredRecord stored{{},
                        {},
                        record.ownerLabel,
                        record.timeLabel,
                        BodyFile::Read(fs_.ReadFile(folder_ + u"\\" + *name), codePage_),
                        record.checkStates,
                        0};
    vn::FillStickyNote(note, stored);
}

} // namespace vn
