#pragma once
// The controller's view of a note window. The controller lists notes but does not
// own them: a note frees itself when its window goes, and tells the controller
// through the removal notice that the controller registered.
#include <functional>

#include "store/store_note.h"

namespace vn {

class Jotlet {
public:
    using RemovalNotice = std::function<void(Jotlet& note)>;

    virtual ~Jotlet() = default;
    // Registers (or, with an empty function, cancels) the notice called once when
    // the note's window is destroyed.
    virtual void SetRemovalNotice(RemovalNotice notice) = 0;
    virtual void Hide() = 0;
    // Destroys the note's window; the note frees itself. The removal notice, if
    // still registered, is called on the way.
    virtual void Destroy() = 0;
    // Asks the note to close: it forgets its target and frees itself when the
    // message loop next runs (the removal notice comes then).
    virtual void Close() = 0;
    // The note as the store writes and fills it.
    virtual StoreNote& Stored() noexcept = 0;
};

} // namespace vn
