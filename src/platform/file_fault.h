#pragma once
// Telling "in use" from "not allowed" when the system says only "access denied".
//
// Windows answers ERROR_ACCESS_DENIED both when another program holds a file or
// folder (a command prompt whose current folder it is, a scan holding a file
// inside a folder that is being renamed) and when the change is not allowed (a
// read-only file, a folder whose permissions forbid it). The Windows file
// system looks closer at what was refused and hands what it found to this rule.
#include "platform/errors.h"

namespace vn {

// How opening a file or folder for a change went, sharing everything with
// whoever else has it open.
enum class ProbeOpen {
    Opened,  // allowed, and nobody holds it against a change
    Shared,  // a sharing violation: another program holds it
    Denied,  // its permissions forbid the change
    Missing, // it is not there (or could not be asked)
};

struct AccessProbe {
    bool readOnlyAttribute = false;          // the refused file or folder carries the read-only attribute
    ProbeOpen target = ProbeOpen::Missing;   // the refused file or folder, opened for deletion
    ProbeOpen folder = ProbeOpen::Missing;   // the folder holding it, opened to add and remove entries
};

// The read-only attribute or a refused permission: ReadOnly. A sharing
// violation: InUse. Everything allowed and still refused: something inside is
// held open (a folder is renamed only when nothing below it is open), InUse.
// Neither the file nor its folder could be looked at: Unknown.
FileFault FaultOfAccessDenied(const AccessProbe& probe);

} // namespace vn
