#pragma once
// Errors that cannot be passed on (in a destructor, an event handler, a save
// that must not stop a window from closing) are reported here instead of
// vanishing. The program sends them to its log; until it sets a sink they go
// to standard error.
#include <functional>
#include <string>

namespace cb::rtl {

// where: what was being done; message: the error's text.
using ErrorSink = std::function<void(const std::string& where, const std::string& message)>;

// Replaces the sink (an empty one restores standard error).
void SetErrorSink(ErrorSink sink);

// Reports the exception being handled; call it inside a catch block. Never
// throws: a sink that fails falls back to standard error.
void LogCurrentException(const char* where) noexcept;

}  // namespace cb::rtl
