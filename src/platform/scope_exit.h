#pragma once
// Runs a callable when the scope ends, however it ends: a counter put back, a flag
// cleared, a release handed on, without a guard struct written for each.
#include <utility>

namespace vn {

template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F f) noexcept : f_(std::move(f)) {}
    ~ScopeExit() noexcept { f_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F f_;
};

// auto restore = OnScopeExit([&] { ... });
template <class F>
[[nodiscard]] ScopeExit<F> OnScopeExit(F f) noexcept {
    return ScopeExit<F>(std::move(f));
}

} // namespace vn
