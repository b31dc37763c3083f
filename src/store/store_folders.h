#pragma once
// Keeps a complete store on disk at every instant of a store save.
//
// A folder is complete when its "Jotlets.txt" exists: the index is written
// under a temporary name after every body file and renamed last. The new store
// is written into the staging folder "Information.new", then the folders are
// swapped: "Information" -> "Information.old", "Information.new" ->
// "Information". Whatever step fails and wherever the process stops, a
// complete store is on disk:
//   - a complete "Information.new" is always the newest store (a save that
//     could not swap it in, or stopped half way through the swap), so a start
//     or the next save finishes its swap;
//   - else the complete "Information";
//   - else the complete "Information.old" (a swap that could not be undone).
//
// The old store's folder then becomes the next staging folder, its index
// deleted first so it never looks like a store again: the next save overwrites
// its body files in place, which costs far less than deleting a thousand files
// and creating them anew. Peers only ever look at "Information", which holds
// the usual files.
//
// Through a power cut: body files and the index are flushed before the index
// takes its name, and the folder renames are write-through. The file system
// logs changes of names in order, so a write-through rename also puts every
// deletion and rename before it on the disk; a file that must go with no such
// rename after it (RetireFile) is renamed away first. So the disk holds, at
// every instant, the complete previous store or the complete new one.
//
// When the swap cannot be done, the save goes into "Information" itself under
// the same promise (store_in_place.h).
#include <string>

#include "platform/file_system.h"

namespace vn {

class StoreFolders {
public:
    StoreFolders(FileSystem& fs, const std::u16string& dataFolder);

    const std::u16string& Store() const { return store_; }     // data folder + "Information"
    const std::u16string& Staging() const { return staging_; } // data folder + "Information.new"
    const std::u16string& Backup() const { return backup_; }   // data folder + "Information.old"

    bool IsComplete(const std::u16string& folder);

    // The folder to read the store from, or empty when there is no store.
    std::u16string FolderToLoad();

    // Finishes what an interrupted or failed save left: a complete staging
    // folder is swapped in; else, when "Information" is not complete but the
    // backup folder is, that one becomes "Information". Afterwards
    // "Information" is complete or no folder is. Raises when a swap fails.
    void Settle();

    // A staging folder for a new store (after Settle), incomplete from here on.
    // It may still hold body files of an older store, to be overwritten.
    void PrepareStaging();

    // Deletes what the new store does not write: every entry of the staging
    // folder but "0.txt" .. "<count-1>.txt".
    void RemoveStaleFiles(size_t bodyFileCount);

    // Deletes a file so that it stays deleted through a power cut (renamed out
    // of the way first); a missing file is fine.
    void RetireFile(const std::u16string& path);

    // Writes the index file into the staging folder: temporary name, then rename.
    void WriteStagedIndex(const std::string& bytes) { ReplaceIndex(staging_, bytes); }
    // Writes a folder's index file under a temporary name, flushed, and puts it
    // in place of the index there by a write-through rename: the folder holds the
    // old index or the new one, whole, at every instant.
    void ReplaceIndex(const std::u16string& folder, const std::string& bytes);

    // The staging folder loses its index for good, so that no start and no save
    // takes it for the newest store; it keeps its body files. Raises when the
    // index stays.
    void RetireStagedIndex();

    // Swaps the complete staging folder in. On failure the previous store is put
    // back where possible and the error propagates. True when the previous
    // store's folder became the staging folder.
    bool Commit();

private:
    void DeleteOrFail(const std::u16string& folder);
    bool RetireBackup();

    FileSystem& fs_;
    std::u16string store_, staging_, backup_;
};

} // namespace vn
