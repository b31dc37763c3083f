#pragma once
// Runs a step when a scope ends, however it ends: the undo or tidy-up that must
// follow once its counterpart has run. The step runs in a destructor, so it must
// not throw (catch inside it when it may).
#include <type_traits>
#include <utility>

namespace vn {

template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F step) noexcept(std::is_nothrow_move_constructible_v<F>) : step_(std::move(step)) {}
    ~ScopeExit() noexcept { step_(); }

    // Bound to its scope: neither copied nor moved, so the step runs exactly once.
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ScopeExit(ScopeExit&&) = delete;
    ScopeExit& operator=(ScopeExit&&) = delete;

private:
    F step_;
};

// auto restore = OnScopeExit([&] { ... });
template <class F>
[[nodiscard]] ScopeExit<std::decay_t<F>> OnScopeExit(F&& step) {
    return ScopeExit<std::decay_t<F>>(std::forward<F>(step));
}

} // namespace vn
