#pragma once
// File-type filters of the common file dialogs, written as "Description|*.ext"
// pairs joined by "|" and turned into the dialogs' list of NUL-terminated strings
// with a final extra NUL.
#include <string>

namespace vn {

// "A (*.a)|*.a|B|*.b" -> "A (*.a)\0*.a\0B\0*.b\0\0". A description without a
// pattern is dropped: its empty pattern would end the list for the dialog.
std::u16string FileDialogFilterList(const std::u16string& filter);

} // namespace vn
