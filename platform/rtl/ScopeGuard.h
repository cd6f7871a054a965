#pragma once
// Runs a function when the scope is left, normally or by an exception:
//
//     FUpdating = true;
//     auto restore = cb::rtl::OnScopeExit([&] { FUpdating = false; });
//
// Dismiss() cancels it (the work was committed and nothing is to be undone).
#include <exception>
#include <utility>

namespace cb::rtl {

template <class F>
class TScopeExit {
public:
    explicit TScopeExit(F fn) : FFn(std::move(fn)) {}
    TScopeExit(TScopeExit&& other) noexcept : FFn(std::move(other.FFn)), FActive(other.FActive) { other.FActive = false; }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;
    TScopeExit& operator=(TScopeExit&&) = delete;
    // A restore step that throws while another exception is already on its
    // way would end the program; that exception wins.
    ~TScopeExit() noexcept(false) {
        if (!FActive) return;
        if (std::uncaught_exceptions() > FUncaught) {
            try {
                FFn();
            } catch (...) {
            }
        } else {
            FFn();
        }
    }
    void Dismiss() noexcept { FActive = false; }

private:
    F FFn;
    bool FActive = true;
    int FUncaught = std::uncaught_exceptions();
};

template <class F>
[[nodiscard]] TScopeExit<F> OnScopeExit(F fn) {
    return TScopeExit<F>(std::move(fn));
}

}  // namespace cb::rtl
