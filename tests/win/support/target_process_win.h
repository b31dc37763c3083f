#pragma once
// A second process that shows top-level windows with given captions: real
// windows of another program for the identity and placement tests.
#include <windows.h>

#include <string>
#include <vector>

namespace vn::test {

class TargetProcess {
public:
    // Starts the child and waits until every window is there. Window i has the
    // i-th caption and is 300 + i pixels wide (how the parent tells them apart).
    explicit TargetProcess(const std::vector<std::u16string>& captions);
    ~TargetProcess();
    TargetProcess(const TargetProcess&) = delete;
    TargetProcess& operator=(const TargetProcess&) = delete;

    HWND Window(size_t i) const { return windows_.at(i); }
    DWORD ProcessId() const { return process_.dwProcessId; }
    // The child stops answering messages for `milliseconds`, as a hung program does.
    void Hang(DWORD milliseconds);
    // Ends the child at once: its windows go without being destroyed one by one.
    void Kill();
    // Closes every window and waits for the process to end.
    void Quit();

private:
    PROCESS_INFORMATION process_{};
    std::vector<HWND> windows_;
};

// Lets the system deliver sent messages and timers for a while.
void PumpMessagesFor(DWORD milliseconds);

} // namespace vn::test
