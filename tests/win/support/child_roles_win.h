#pragma once
// Roles that the Windows-side test program can play in a second process.
#include <functional>
#include <string>
#include <vector>

#include "platform/unique_handle_win.h"

namespace vn::test {

using ChildRole = std::function<int(int argc, wchar_t** argv)>;

// Registers a role under a name (call from a static initialiser in a test file).
bool RegisterChildRole(const std::wstring& name, ChildRole role);
int RunChildRole(const std::wstring& name, int argc, wchar_t** argv);

// Path of the running test program, to start it again as a child.
std::wstring SelfPath();

// Starts this program again playing `role` with `args`; the child's process, or an
// empty handle when it could not be started.
UniqueKernelHandle StartChildRole(const std::wstring& role, const std::vector<std::wstring>& args);

} // namespace vn::test
