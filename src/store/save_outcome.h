#pragma once
// What a store save came to, and when it failed, the reason a person is told.
#include <exception>
#include <string>

#include "platform/errors.h"

namespace vn {

// The reasons a failed save is told with, each a plain phrase (save_texts.h).
enum class SaveFailure {
    InUse,           // the folder is in use by another program
    DiskFull,        // the disk is full
    ReadOnly,        // the folder is read-only
    IndexUnreadable, // the list of notes cannot be read
    Other,           // anything else: a device error, a note whose body cannot be taken
};

// The store's index file exists but cannot be read. The store never writes over
// it (note_store.h), so every save fails until it can be read.
class IndexUnreadableError : public Error {
public:
    using Error::Error;
};

// An unreadable index, whatever kept it from being read: IndexUnreadable. A
// file error: its cause (FileFault, errors.h), Other when the cause is unknown.
// Anything else: Other.
SaveFailure ClassifySaveFailure(const std::exception& error);

// How a save reached the disk (note_store.h says what each promises).
enum class SavePath {
    Swapped, // a new store folder, swapped in for the old one
    InPlace, // into the store folder itself: the folders could not be swapped
};

struct SaveOutcome {
    bool saved = false;
    SavePath path = SavePath::Swapped;       // when saved
    SaveFailure reason = SaveFailure::Other; // when not
    std::string detail;                      // the failure's own text, for a log

    static SaveOutcome Saved(SavePath path) { return {true, path, SaveFailure::Other, {}}; }
    static SaveOutcome Failed(const std::exception& error) {
        return {false, SavePath::Swapped, ClassifySaveFailure(error), error.what()};
    }
};

} // namespace vn
