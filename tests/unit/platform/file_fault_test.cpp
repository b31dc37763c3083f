#include "platform/file_fault.h"

#include <gtest/gtest.h>

namespace vn {
namespace {

// "Access denied" is told apart by what the refused path shows on a closer look.
TEST(FileFault, AccessDeniedIsReadOnlyOrInUseByWhatTheProbeFinds) {
    using enum ProbeOpen;
    struct Case {
        AccessProbe probe;
        FileFault fault;
    } const cases[] = {
        {{true, Opened, Opened}, FileFault::ReadOnly},   // a read-only file to replace
        {{true, Shared, Opened}, FileFault::ReadOnly},   // read-only stays read-only when let go
        {{false, Denied, Opened}, FileFault::ReadOnly},  // its permissions forbid deleting it
        {{false, Opened, Denied}, FileFault::ReadOnly},  // the folder's forbid changing its entries
        {{false, Missing, Denied}, FileFault::ReadOnly}, // a new file in such a folder
        {{false, Shared, Opened}, FileFault::InUse},     // held without sharing deletion
        {{false, Opened, Opened}, FileFault::InUse},     // allowed, yet refused: something inside is open
        {{false, Missing, Opened}, FileFault::InUse},    // a name still held by a deleted file
        {{false, Missing, Missing}, FileFault::Unknown}, // nothing to look at
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FaultOfAccessDenied(c.probe), c.fault)
            << c.probe.readOnlyAttribute << " " << static_cast<int>(c.probe.target) << " "
            << static_cast<int>(c.probe.folder);
    }
}

} // namespace
} // namespace vn
