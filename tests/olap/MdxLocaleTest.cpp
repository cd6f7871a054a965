// Numbers in MDX use '.' as the decimal point whatever the process's locale
// (the application takes the user's locale for its numeric formats).
#include "olap/engine/OlapError.h"
#include "tests/common/TestCubes.h"
#include "olap/mdx/Mdx.h"
#include "platform/rtl/Strings.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

namespace {

using namespace cb::olap;

TEST(MdxLocaleTest, DecimalPointUnderACommaLocale) {
    // A German locale, built for the test (its decimal separator is ',').
    cbtest::TempDir dir;
    const std::string command = "localedef -i de_DE -f UTF-8 '" + dir.file("de_DE.UTF-8") + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "localedef (libc-bin, locales) is needed";
    ASSERT_EQ(setenv("LOCPATH", dir.path().c_str(), 1), 0);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    ASSERT_EQ(std::strtod("1.5", nullptr), 1.0);  // the locale is in force

    auto cube = MakeTinyCube();
    cube->calculatedMembers.push_back({"Half Again", "[Measures].[Half Again]", "[Measures].[Sales] * 1.5", ""});
    mdx::QueryResult r;
    std::string error;
    try {
        mdx::Execute("SELECT {[Measures].[Half Again]} ON COLUMNS FROM [Tiny]", *cube, r);
    } catch (const EOlapError& e) {
        error = e.Message();
    }
    double big = 0;
    const bool bigParsed = cb::rtl::TryStrToFloat("1.5e999", big);
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");

    EXPECT_EQ(error, "");
    ASSERT_EQ(r.values.size(), 1u);
    EXPECT_DOUBLE_EQ(r.values[0], 1145 * 1.5);
    EXPECT_FALSE(bigParsed) << big;  // overflow is refused, not read as 1
}

}  // namespace
