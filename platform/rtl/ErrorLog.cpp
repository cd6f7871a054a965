#include "platform/rtl/ErrorLog.h"

#include <cstdio>
#include <exception>
#include <mutex>

namespace cb::rtl {

namespace {

std::mutex gSinkMutex;
ErrorSink gSink;

std::string CurrentMessage() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}

}  // namespace

void SetErrorSink(ErrorSink sink) {
    std::lock_guard lock(gSinkMutex);
    gSink = std::move(sink);
}

void LogCurrentException(const char* where) noexcept {
    try {
        const std::string message = std::current_exception() ? CurrentMessage() : "no error";
        ErrorSink sink;
        {
            std::lock_guard lock(gSinkMutex);
            sink = gSink;
        }
        if (sink) {
            try {
                sink(where, message);
                return;
            } catch (...) {
                // the sink failed: standard error below
            }
        }
        std::fprintf(stderr, "%s: %s\n", where, message.c_str());
    } catch (...) {
        std::fputs("An error could not be reported\n", stderr);
    }
}

}  // namespace cb::rtl
