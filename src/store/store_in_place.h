#pragma once
// The store save into "Information" itself, for when the folder swap
// (store_folders.h) cannot be done: a program holds "Information" open (a
// command prompt or an Explorer window whose current folder it is, a scan of
// the folder), or the data folder lets no folder be created or renamed, while
// the files inside "Information" can still be replaced.
//
// It keeps the swap's promise, that the disk holds the complete previous store
// or the complete new one at every instant, a power cut included:
//   1. The staging folder loses its index for good (a rename that is on the disk
//      when it returns). A failed swap leaves a complete "Information.new",
//      which every start and save prefers: left in place it would bring back a
//      stale store over the one written here. From here until step 3 the disk
//      holds the store "Information" holds.
//   2. The index there names the body files it needs, so none of them may
//      change: a body the folder already holds, as far as the store knows, is
//      named where it is; every other body is written, flushed, under a name no
//      file in the folder has (its list position when that is free, else the
//      lowest free number).
//   3. The new index is written flushed under a temporary name and put in place
//      of the old one by a write-through rename: from then on the new store is
//      on the disk, every file it names with it.
//   4. Only then the files no index names go. A deletion lost in a power cut
//      leaves a file nothing names.
// Body file names then no longer follow the list positions; the next swapped
// save names them by position again.
#include <functional>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "store/staged_bodies.h"
#include "store/store_folders.h"

namespace vn {

// Saves `plan` into the store folder, which must be complete. `known` is what
// the store folder's files that its index names hold, or nothing when unknown;
// on return it is what the new index names, on an exception unreliable. The
// plan's bodies take the names their files have in the end. `beforeIndex` gets
// the new index's bytes once every body is on the disk, before step 3; when it
// raises, the store stays as it was.
void SaveInPlace(FileSystem& fs, StoreFolders& folders, StorePlan& plan, std::optional<FolderContents>& known,
                 const CodePage& codePage, const std::function<void(const std::string& indexBytes)>& beforeIndex);

} // namespace vn
