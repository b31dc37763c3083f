#pragma once
// A folder of its own for a test on real files: below the system's temporary
// folder, named for the kind of test, the test program's process and the test, so
// that runs side by side and a test's leftovers never meet another test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/text_win.h"

namespace vn::test {

inline std::u16string TestFolderPath(const std::u16string& kind) {
    wchar_t temp[MAX_PATH + 1] = {};
    EXPECT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u) << "no temporary folder";
    return U16(temp) + u"vn-" + kind + u"-" + FromUtf8(std::to_string(GetCurrentProcessId())) + u"-" +
           FromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
}

} // namespace vn::test
