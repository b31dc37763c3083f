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
#include <optional>
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

// One line of the index a save writes. When it names a body, its body file
// field (`fieldOffset`, `fieldLength` in `line`) is given the name the body's
// file takes in the end ("Information\<name>").
struct PlannedLine {
    std::u16string line;
    std::optional<size_t> body; // into StorePlan::bodies
    size_t fieldOffset = 0;
    size_t fieldLength = 0;
};

// A store save before it touches the disk: its bodies, named by list position
// (the notes', then the kept records'), and its index lines in file order.
struct StorePlan {
    std::vector<StagedBody> bodies;
    std::vector<PlannedLine> lines;
};

// The index lines, each body file field naming its body by its name now.
std::vector<std::u16string> IndexLines(const StorePlan& plan);

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
