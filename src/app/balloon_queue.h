#pragma once
// The one owner of the tray's balloons. The shell shows one balloon at a time and a
// new one replaces the one on screen at once, so every part of the program that has
// something to say hands its balloon here, and the queue decides what shows when:
//
//   - a balloon on screen keeps it for kBalloonTime (the time a person needs to read
//     it) before the next one replaces it: none is cut short;
//   - a prompt (the program asks the person to act now, as picking a window does)
//     shows at once; a notice it displaces goes back to the head of the queue and
//     gets its whole time again afterwards: none is lost;
//   - notices wait in order of weight (errors, then warnings, then information),
//     first come first served within one weight;
//   - a notice with the text of one on screen or already waiting is not queued again.
//
// The queue drives a Timer whose interval is kBalloonTime, and calls `show` for each
// balloon it puts on screen.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "platform/timer.h"

namespace vn {

inline constexpr std::chrono::milliseconds kBalloonTime{5000};

enum class BalloonIcon { Info, Warning, Error };

struct Balloon {
    BalloonIcon icon = BalloonIcon::Info;
    std::u16string text;
    // Shown at once, over whatever is on screen.
    bool prompt = false;
    // Set by the queue: tells the balloon on screen from the others (a click on a
    // balloon does not say which one it was).
    std::uint64_t serial = 0;
};

class BalloonQueue {
public:
    using Show = std::function<void(const Balloon& balloon)>;

    BalloonQueue(Timer& timer, Show show) : timer_(timer), show_(std::move(show)) {}

    // Hands a balloon over; it shows now or when its turn comes. Returns its serial.
    std::uint64_t Post(Balloon balloon);
    // The timer's tick: the balloon on screen has had its time.
    void TimerTimer();
    // The person clicked the balloon on screen, or closed it: it is gone, and the next
    // one may show. Returns the balloon that was on screen, if any.
    std::optional<Balloon> Dismissed();
    // Takes back every waiting balloon with this text (its news went stale); one on
    // screen stays until its time is up.
    void Withdraw(const std::u16string& text);

    // The balloon on screen, while its time runs.
    const std::optional<Balloon>& Current() const noexcept { return current_; }
    const std::deque<Balloon>& Waiting() const noexcept { return waiting_; }

private:
    void ShowNow(Balloon balloon);
    void ShowNext();
    void Enqueue(Balloon balloon, bool atHead);

    Timer& timer_;
    Show show_;
    std::optional<Balloon> current_;
    std::deque<Balloon> waiting_;
    std::uint64_t lastSerial_ = 0;
};

} // namespace vn
