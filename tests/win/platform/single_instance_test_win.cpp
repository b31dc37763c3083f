#include "platform/single_instance_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_roles_win.h"
#include "platform/unique_handle_win.h"

namespace vn {
namespace {

// Each test uses its own guard name, so tests never see each other's instances.
std::wstring UniqueName(const wchar_t* what) {
    static int counter = 0;
    return L"VnShellTest." + std::wstring(what) + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
           std::to_wstring(++counter);
}

DWORD WaitExitCode(HANDLE process) {
    if (WaitForSingleObject(process, 20000) != WAIT_OBJECT_0) return 0xDEAD;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

// A first instance: takes the guard, says so, and keeps it until told to end.
// args: guard name, ready event, end event.
const bool kHolderRegistered = test::RegisterChildRole(L"shell-guard-holder", [](int argc, wchar_t** argv) {
    if (argc < 3) return 90;
    SingleInstanceGuard guard(argv[0]);
    if (guard.AnotherInstanceRuns() || !guard.Holds()) return 91;
    UniqueKernelHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]));
    UniqueKernelHandle end(OpenEventW(SYNCHRONIZE, FALSE, argv[2]));
    if (!ready || !end) return 92;
    SetEvent(ready.get());
    WaitForSingleObject(end.get(), 30000);
    return 0;
});

// One of several simultaneous starts: waits for the common start signal, tries the
// guard, reports, then holds it until everyone has decided.
// args: guard name, start event, decided semaphore, end event. Exit 0: got the guard.
const bool kRacerRegistered = test::RegisterChildRole(L"shell-guard-racer", [](int argc, wchar_t** argv) {
    if (argc < 4) return 90;
    UniqueKernelHandle start(OpenEventW(SYNCHRONIZE, FALSE, argv[1]));
    UniqueKernelHandle decided(OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, argv[2]));
    UniqueKernelHandle end(OpenEventW(SYNCHRONIZE, FALSE, argv[3]));
    if (!start || !decided || !end) return 92;
    WaitForSingleObject(start.get(), 30000);
    SingleInstanceGuard guard(argv[0]);
    int result = guard.AnotherInstanceRuns() ? 1 : 0;
    ReleaseSemaphore(decided.get(), 1, nullptr);
    WaitForSingleObject(end.get(), 30000);
    return result;
});

TEST(SingleInstanceGuard, ASecondStartSeesTheFirstAndANewStartProceedsOnceTheFirstIsGone) {
    struct Case {
        const char* how;
        bool killed;
    } cases[] = {{"the first instance quits", false}, {"the first instance is killed", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        std::wstring name = UniqueName(L"guard");
        std::wstring readyName = name + L".ready", endName = name + L".end";
        UniqueKernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
        UniqueKernelHandle end(CreateEventW(nullptr, TRUE, FALSE, endName.c_str()));
        UniqueKernelHandle first = test::StartChildRole(L"shell-guard-holder", {name, readyName, endName});
        ASSERT_TRUE(first);
        ASSERT_EQ(WaitForSingleObject(ready.get(), 20000), WAIT_OBJECT_0) << "the first instance never took the guard";

        {
            SingleInstanceGuard second(name.c_str());
            EXPECT_TRUE(second.AnotherInstanceRuns());
        }

        if (c.killed) {
            TerminateProcess(first.get(), 1);
            EXPECT_EQ(WaitExitCode(first.get()), 1u);
        } else {
            SetEvent(end.get());
            EXPECT_EQ(WaitExitCode(first.get()), 0u);
        }

        SingleInstanceGuard next(name.c_str());
        EXPECT_FALSE(next.AnotherInstanceRuns());
        EXPECT_TRUE(next.Holds());
        next.Release();
        SingleInstanceGuard afterRelease(name.c_str());
        EXPECT_FALSE(afterRelease.AnotherInstanceRuns()) << "a released guard still blocks";
    }
}

TEST(SingleInstanceGuard, OfSimultaneousStartsExactlyOneRuns) {
    constexpr int kStarts = 4;
    std::wstring name = UniqueName(L"race");
    std::wstring startName = name + L".start", decidedName = name + L".decided", endName = name + L".end";
    UniqueKernelHandle start(CreateEventW(nullptr, TRUE, FALSE, startName.c_str()));
    UniqueKernelHandle decided(CreateSemaphoreW(nullptr, 0, kStarts, decidedName.c_str()));
    UniqueKernelHandle end(CreateEventW(nullptr, TRUE, FALSE, endName.c_str()));
    std::vector<UniqueKernelHandle> racers;
    for (int i = 0; i < kStarts; ++i) {
        racers.push_back(test::StartChildRole(L"shell-guard-racer", {name, startName, decidedName, endName}));
        ASSERT_TRUE(racers.back());
    }
    Sleep(300);  // let every racer reach the start line
    SetEvent(start.get());
    for (int i = 0; i < kStarts; ++i) ASSERT_EQ(WaitForSingleObject(decided.get(), 20000), WAIT_OBJECT_0);
    SetEvent(end.get());
    int running = 0;
    for (auto& racer : racers) {
        DWORD code = WaitExitCode(racer.get());
        ASSERT_TRUE(code == 0 || code == 1) << code;
        if (code == 0) ++running;
    }
    EXPECT_EQ(running, 1);
}

} // namespace
} // namespace vn
