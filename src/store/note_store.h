#pragma once
// The note store: the "Information" folder of the data folder with its index
// file "Jotlets.txt" and one body file per note, plus the selection save into
// "Temp Export" that an export packs into an archive.
//
// The controller (TFMain) owns one NoteStore and calls it with its note list
// (FJotlets, as StoreNote pointers in list order); the note window's own
// SaveStickyNoteToFile / FillStickyNote forward here. Errors are exceptions and
// propagate to the caller, except that LoadNotes sets aside the records it
// cannot use and carries on (see LoadNotes).
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "store/code_page.h"
#include "store/file_system.h"
#include "store/store_folders.h"
#include "store/store_note.h"

namespace vn {

// ZipDirectoryContents(ZipFileName, Path, Compression): packs every file below
// Path into a new archive. Supplied by the caller of a selection save.
using ZipDirectoryContentsFn =
    std::function<void(const std::u16string& zipFileName, const std::u16string& folder, int compression)>;

// A record of the store that did not become a note: its name part is not two
// items, its value part names no body file, its body file is missing or
// unreadable, or the note refused the body. Every store save writes it back as
// it was read, its body file renumbered after the notes' files.
struct KeptRecord {
    std::u16string line;
    std::optional<size_t> bodyFieldOffset; // of the body file field in `line`, when it names a
    size_t bodyFieldLength = 0;            // file in the store folder ("Information\...")
    std::optional<std::string> body;       // that file's bytes, when it could be read
};

class NoteStore {
public:
    static constexpr int kZipCompressionDeflate = 8;

    // `dataFolder` is GetLocalDataPath: it ends in a backslash.
    NoteStore(FileSystem& fs, const CodePage& codePage, std::u16string dataFolder);

    const std::u16string& DataFolder() const { return dataFolder_; }
    std::u16string StoreIndexPath() const;  // data folder + "Information\Jotlets.txt"
    std::u16string TempExportPath() const;  // data folder + "Temp Export"

    // LoadNotes: reads the store's index file and, in file order, creates a
    // note for each usable record with the factory, fills it and hands it to
    // AdoptLoadedNote. Returns the lines read (FStickyNoteList). With no index
    // file nothing happens and nothing is created. A record that cannot become
    // a note is kept (KeptRecords) and the load goes on. Raises only when an
    // index file exists but cannot be read; the next store save then reads it
    // again and keeps all its records, or refuses to replace it.
    std::vector<std::u16string> LoadNotes(StoredNoteFactory& factory);

    // SaveToFile(FileName, IndexString). An empty index string is the store save:
    // FileName must be StoreIndexPath(); every note of `notes` from the last
    // position down to 0, then the kept records, are written; the previous
    // store is replaced only once the new one is complete (store_folders.h).
    // Any other index string is the selection save: "Temp Export" is reset, the
    // selected notes' body files and the index file are written there, and
    // `zipDirectoryContents(FileName, TempExportPath(), 8)` packs it.
    void SaveToFile(const std::u16string& fileName, const std::u16string& indexString,
                    std::span<StoreNote* const> notes, const ZipDirectoryContentsFn& zipDirectoryContents = {});

    // SaveStickyNoteToFile(FileName): writes the note's body to data folder +
    // FileName and returns its record line with FileName as body file field.
    std::u16string SaveStickyNoteToFile(StoreNote& note, const std::u16string& fileName);

    // FillStickyNote(InfoString): labels, body (from data folder + item 2),
    // pending check states, layout, from a record's value part. Raises when the
    // value part names no body file or the body cannot be read or loaded; the
    // note is then left untouched if the body file could not be read.
    void FillStickyNote(StoreNote& note, const std::u16string& infoString);

    // Reads an index file (for the import: data folder + "Temp Export\Jotlets.txt").
    std::vector<std::u16string> ReadIndexFile(const std::u16string& path);

    // Folder reset: DeleteDirectory of data folder + name, then create it again.
    void ResetFolder(std::u16string_view name);

    const std::vector<KeptRecord>& KeptRecords() const { return kept_; }

private:
    void SaveStore(std::span<StoreNote* const> notes);
    void SaveSelection(const std::u16string& zipFileName, const std::u16string& indexString,
                       std::span<StoreNote* const> notes, const ZipDirectoryContentsFn& zip);
    std::u16string WriteNote(StoreNote& note, const std::u16string& field, const std::u16string& bodyPath);
    std::u16string ResolveBody(const std::u16string& field, const std::u16string& loadFolder) const;
    void LoadRecord(const std::u16string& line, const std::u16string& loadFolder, StoredNoteFactory* factory);
    void ReadUnloadedStore();

    FileSystem& fs_;
    const CodePage& codePage_;
    std::u16string dataFolder_;
    StoreFolders folders_;
    std::vector<KeptRecord> kept_;
    bool unreadStore_ = false; // an index file existed but could not be read
};

} // namespace vn
