// Entry of the Windows-side test program. `--child NAME` runs a helper role in a
// second process (tests that need two processes start this same program again).
#include <gtest/gtest.h>

#include "child_roles_win.h"

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"--child") return vn::test::RunChildRole(argv[2], argc - 3, argv + 3);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
