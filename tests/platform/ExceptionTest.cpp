#include "platform/rtl/Exception.h"

#include "platform/rtl/ErrorLog.h"
#include "platform/rtl/ScopeGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

TEST(Exception, CarriesItsMessage) {
    try {
        throw cb::rtl::EInOutError("cannot write x.ini");
    } catch (const cb::rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "cannot write x.ini");
    }
}

TEST(ErrorLog, ReportsTheErrorBeingHandledToTheSink) {
    std::vector<std::string> lines;
    cb::rtl::SetErrorSink(
        [&](const std::string& where, const std::string& message) { lines.push_back(where + ": " + message); });
    const auto reset = cb::rtl::OnScopeExit([] { cb::rtl::SetErrorSink(nullptr); });
    try {
        throw cb::rtl::EInOutError("cannot write x.ini");
    } catch (...) {
        cb::rtl::LogCurrentException("Saving settings");
    }
    try {
        throw 42;
    } catch (...) {
        cb::rtl::LogCurrentException("Drawing");
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"Saving settings: cannot write x.ini", "Drawing: unknown error"}));
}

TEST(ErrorLog, ASinkThatFailsFallsBackToStandardError) {
    cb::rtl::SetErrorSink([](const std::string&, const std::string&) { throw std::runtime_error("log is full"); });
    const auto reset = cb::rtl::OnScopeExit([] { cb::rtl::SetErrorSink(nullptr); });
    testing::internal::CaptureStderr();
    try {
        throw cb::rtl::EConvertError("\"x\" is not a number");
    } catch (...) {
        cb::rtl::LogCurrentException("Reading a width");
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Reading a width: \"x\" is not a number\n");
}
