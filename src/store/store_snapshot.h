#pragma once
// What a store save writes, taken from the notes in one go.
//
// A save has two halves. The capture runs on the interface thread, where the
// notes live: it asks every note for its identity, labels, body bytes and check
// states, and touches no file. The snapshot it returns is a plain value that
// refers to no note, so the write (NoteStore::Write) can run on another thread
// while the person goes on typing. A note changed after the capture is saved by
// the next capture, never half: the snapshot holds each note as it was.
#include <span>
#include <string>
#include <vector>

#include "store/staged_bodies.h"
#include "store/store_note.h"

namespace vn {

struct CapturedNote {
    std::u16string exeName, caption;
    std::u16string ownerLabel, timeLabel;
    std::u16string checkStates; // as the record holds them (CheckStatesForRecord)
    BodyBytes body;             // the body file's bytes, never null
};

struct StoreSnapshot {
    std::vector<CapturedNote> notes; // in list order: position p names body file "p.txt"
};

// Raises what a note raises (a body that cannot be streamed out); nothing is
// written then.
StoreSnapshot CaptureStore(std::span<StoreNote* const> notes);

} // namespace vn
