#include "store/store_snapshot.h"

#include <memory>

#include "store/record_line.h"

namespace vn {

StoreSnapshot CaptureStore(std::span<StoreNote* const> notes) {
    StoreSnapshot snapshot;
    snapshot.notes.reserve(notes.size());
    for (StoreNote* note : notes) {
        snapshot.notes.push_back({note->ExeName(), note->Caption(), note->OwnerLabel(), note->TimeLabel(),
                                  CheckStatesForRecord(note->CheckStateString()),
                                  std::make_shared<const std::string>(note->SaveBody())});
    }
    return snapshot;
}

} // namespace vn
