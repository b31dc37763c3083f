#pragma once
// The body files of a store save, written only where they differ.
//
// The store knows what its two folders hold (the body files it wrote there or
// read from there). A save brings the staging folder to the new store's bodies
// and touches only what differs: a body the folder already holds under its name
// stays, a body it holds under another name (the notes after a deleted one move
// down one place; a restart reverses the list) is renamed there, and only the
// rest is written, flushed.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vn {

using BodyBytes = std::shared_ptr<const std::string>;
// Body file name -> its bytes, for the files of one folder the store knows.
using FolderContents = std::map<std::u16string, BodyBytes>;

struct StagedBody {
    std::u16string name; // "<n>.txt"
    BodyBytes bytes;     // null: the record's body could not be read, no file may have this name
};

// What the body files of a folder hold, read from the disk (for a folder the
// store has not written or read since its start).
FolderContents ReadBodies(FileSystem& fs, const std::u16string& folder);

// Makes `folder`, whose files are as `known` says (files it does not list are
// taken as unknown), hold `bodies`: renames first, from the lowest name up
// (bytes still wanted elsewhere step aside under a temporary name), then writes
// from the highest down. Names without bytes are retired (deleted through
// a power cut) with `retire`. On return `known` is what the folder holds of the
// bodies, sharing their bytes; on an exception it is unreliable.
void PlaceBodies(FileSystem& fs, const std::u16string& folder, std::vector<StagedBody>& bodies, FolderContents& known,
                 const std::function<void(const std::u16string& path)>& retire);

} // namespace vn
