#include "app/balloon_queue.h"

#include <algorithm>
#include <utility>

namespace vn {

namespace {
int Weight(BalloonIcon icon) {
    switch (icon) {
    case BalloonIcon::Error: return 2;
    case BalloonIcon::Warning: return 1;
    case BalloonIcon::Info: return 0;
    }
    return 0;
}
} // namespace

std::uint64_t BalloonQueue::Post(Balloon balloon) {
    balloon.serial = ++lastSerial_;
    const std::uint64_t serial = balloon.serial;
    if (!current_) {
        ShowNow(std::move(balloon));
        return serial;
    }
    if (balloon.prompt) {
        Balloon displaced = std::move(*current_);
        if (!displaced.prompt) Enqueue(std::move(displaced), true);
        ShowNow(std::move(balloon));
        return serial;
    }
    const auto sameText = [&](const Balloon& other) { return other.text == balloon.text; };
    if (sameText(*current_) || std::any_of(waiting_.begin(), waiting_.end(), sameText)) return 0;
    Enqueue(std::move(balloon), false);
    return serial;
}

void BalloonQueue::TimerTimer() {
    timer_.Stop();
    current_.reset();
    ShowNext();
}

std::optional<Balloon> BalloonQueue::Dismissed() {
    std::optional<Balloon> gone = std::exchange(current_, std::nullopt);
    timer_.Stop();
    ShowNext();
    return gone;
}

void BalloonQueue::Withdraw(const std::u16string& text) {
    std::erase_if(waiting_, [&](const Balloon& b) { return b.text == text; });
}

void BalloonQueue::ShowNow(Balloon balloon) {
    current_ = std::move(balloon);
    timer_.Start();
    show_(*current_);
}

void BalloonQueue::ShowNext() {
    if (waiting_.empty()) return;
    Balloon next = std::move(waiting_.front());
    waiting_.pop_front();
    ShowNow(std::move(next));
}

// Heavier notices first; a displaced notice goes before the others of its weight,
// a new one after them.
void BalloonQueue::Enqueue(Balloon balloon, bool atHead) {
    const int weight = Weight(balloon.icon);
    auto at = std::find_if(waiting_.begin(), waiting_.end(), [&](const Balloon& b) {
        return atHead ? Weight(b.icon) <= weight : Weight(b.icon) < weight;
    });
    waiting_.insert(at, std::move(balloon));
}

} // namespace vn
