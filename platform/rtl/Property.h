#pragma once
// The one way settings objects change a field and announce it: assign when
// the value differs, then call the change callback (an empty one is allowed).
#include <functional>
#include <type_traits>
#include <utility>

namespace cb::rtl {

// Called by a settings object after one of its values changed; its owner
// assigns it to repaint or re-layout. Empty: nobody listens.
using TChangeEvent = std::function<void()>;

// Field = Value and Changed() when they differ; true when it changed.
template <class T, class U, class F>
bool SetProperty(T& Field, U&& Value, F&& Changed) {
    if (Field == Value) return false;
    Field = std::forward<U>(Value);
    if constexpr (std::is_same_v<std::decay_t<F>, TChangeEvent>) {
        if (Changed) Changed();
    } else {
        Changed();
    }
    return true;
}

}  // namespace cb::rtl
