#include "platform/rtl/Exception.h"

#include <gtest/gtest.h>

TEST(Exception, CarriesItsMessage) {
    try {
        throw cb::rtl::EInOutError("cannot write x.ini");
    } catch (const cb::rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "cannot write x.ini");
    }
}
