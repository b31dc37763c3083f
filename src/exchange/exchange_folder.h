#pragma once
// The exchange folder "Temp Export" of the data folder: where an export stages the
// chosen notes before packing them into an archive, and where an import unpacks an
// archive and fills its notes from. The store (store/) keeps only its own folder;
// this unit writes and fills each note through the store's per-note writer and reader.
//
// Errors are exceptions and propagate to the caller.
#include <span>
#include <string>
#include <vector>

#include "exchange/import_record.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "store/note_store.h"
#include "store/store_note.h"

namespace vn {

class ExchangeFolder {
public:
    static constexpr int kZipCompressionDeflate = 8;

    // Notes are written through `store` and the folder lies in its data folder.
    ExchangeFolder(NoteStore& store, FileSystem& fs, const CodePage& codePage);

    // The selection save: the folder is reset, the notes at `positions` (highest
    // first) have their body files and the index file written there, and the
    // folder is packed into a part file next to `archive`, which replaces
    // `archive` only once it is complete (export_target.h).
    void SaveSelection(const std::u16string& archive, std::span<const size_t> positions,
                       std::span<StoreNote* const> notes);

    // The import's first step: the folder is reset, `archive` unpacked into it and
    // the lines of its index file returned. An archive inside the data folder's own
    // folders (Temp Export itself, say) is read from a copy made before the reset.
    std::vector<std::u16string> Unpack(const std::u16string& archive);

    // FillStickyNote(InfoString), for a record of the import: labels, body (a file
    // directly in the folder, nowhere else), pending check states, layout. Raises
    // when the record names no such body file or the body cannot be read or
    // loaded; the note is left untouched when the body file could not be read.
    void FillStickyNote(StoreNote& note, const ImportRecord& record);

    // The folder: data folder + "Temp Export".
    const std::u16string& Folder() const noexcept { return folder_; }

private:
    void Reset();

    NoteStore& store_;
    FileSystem& fs_;
    const CodePage& codePage_;
    std::u16string folder_;
};

} // namespace vn
