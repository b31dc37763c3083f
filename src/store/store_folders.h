#pragma once
// Keeps a complete store on disk at every instant of a store save.
//
// The new store is written into the sibling folder "Information.new"; its index
// file is written under a temporary name and renamed to "Jotlets.txt" last, so
// a folder whose "Jotlets.txt" exists is complete. Then the folders are swapped:
// "Information" -> "Information.old", "Information.new" -> "Information", and
// the old one is deleted. Whatever step fails or wherever the process stops,
// one of the three folders is complete, and the next start takes the complete
// "Information", else the complete "Information.new" (a swap that stopped half
// way), else the complete "Information.old" (a swap that could not be undone).
// Peers only ever see "Information" with the usual files in it.
#include <string>

#include "store/file_system.h"

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

    // Finishes what an interrupted save left: when "Information" is not complete
    // but the staging or backup folder is, that one becomes "Information".
    void Settle();

    // An empty staging folder for a new store (after Settle).
    void ResetStaging();

    // Writes the index file into the staging folder: temporary name, then rename.
    void WriteStagedIndex(const std::string& bytes);

    // Swaps the complete staging folder in. On failure the previous store is put
    // back where possible and the error propagates.
    void Commit();

private:
    void DeleteOrFail(const std::u16string& folder);

    FileSystem& fs_;
    std::u16string store_, staging_, backup_;
};

} // namespace vn
