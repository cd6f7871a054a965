#include "platform/rtl/Property.h"
#include "platform/rtl/ScopeGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace cb::rtl;

TEST(RtlScopeGuard, RestoresOnReturnAndThrowUnlessDismissed) {
    int state = 0;
    {
        state = 1;
        auto restore = OnScopeExit([&] { state = 0; });
    }
    EXPECT_EQ(state, 0);
    EXPECT_THROW(
        {
            state = 1;
            auto restore = OnScopeExit([&] { state = 0; });
            throw std::runtime_error("x");
        },
        std::runtime_error);
    EXPECT_EQ(state, 0);
    {
        state = 1;
        auto restore = OnScopeExit([&] { state = 0; });
        restore.Dismiss();
    }
    EXPECT_EQ(state, 1);
    // A restore step that throws during unwinding does not replace the first exception.
    try {
        auto restore = OnScopeExit([] { throw std::logic_error("restore"); });
        throw std::runtime_error("first");
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "first");
    }
}

TEST(RtlProperty, AnnouncesOnlyRealChanges) {
    int field = 1, calls = 0;
    TChangeEvent changed = [&] { ++calls; };
    EXPECT_FALSE(SetProperty(field, 1, changed));
    EXPECT_TRUE(SetProperty(field, 2, changed));
    EXPECT_EQ(field, 2);
    EXPECT_EQ(calls, 1);
    TChangeEvent nobody;
    EXPECT_TRUE(SetProperty(field, 3, nobody));  // an empty callback is allowed
}
