// Assign copies every setting of a pen, brush and font: each row sets all of
// them on a source, assigns, and compares the whole settings record, so a
// setting that Assign leaves behind fails here.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/GdiObjects.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace cb::gfx;

namespace {

struct TAssignCase {
    std::string name;
    std::function<void()> run;
};

TBitmap& Pattern() {
    static TBitmap b(8, 8);
    return b;
}

// Source with every setting off its default; the copy must match it whole,
// announce the change once, and a second Assign of the same must be silent.
template <class T, class Set>
TAssignCase Case(std::string name, Set setAll) {
    return {name, [name, setAll] {
                T source;
                setAll(source);
                ASSERT_FALSE(source.Settings() == T().Settings()) << name;
                T target;
                int changes = 0;
                target.OnChange = [&](TGraphicsObject&) { ++changes; };
                target.Assign(source);
                EXPECT_TRUE(target.Settings() == source.Settings()) << name;
                EXPECT_EQ(changes, 1) << name;
                target.Assign(source);
                EXPECT_EQ(changes, 1) << name << ": assigning the same again";
            }};
}

}  // namespace

TEST(GfxSettingsAssign, CopiesEverySettingWithOneNotification) {
    const TAssignCase cases[] = {
        Case<TPen>("pen",
                   [](TPen& p) {
                       p.SetColor(clRed);
                       p.SetWidth(3);
                       p.SetStyle(psDashDot);
                       p.SetMode(pmXor);
                       p.SetEndStyle(esFlat);
                   }),
        Case<TBrush>("brush",
                     [](TBrush& b) {
                         b.SetColor(clBlue);
                         b.SetStyle(bsCross);
                         b.SetBitmap(&Pattern());
                     }),
        Case<TFont>("font",
                    [](TFont& f) {
                        f.SetName("Courier New");
                        f.SetPixelsPerInch(120);
                        f.SetHeight(-17);
                        f.SetStyle(fsBold | fsUnderline);
                        f.SetColor(clGreen);
                        f.SetOrientation(900);
                        f.SetCharset(0);
                        f.SetPitch(fpFixed);
                    }),
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.run();
    }
}

TEST(GfxSettingsAssign, FontKeepsItsResolvedFaceOnlyWhileTheFaceIsUnchanged) {
    TFont source, target;
    source.SetName("Courier New");
    target.Assign(source);
    const std::string face = target.ResolvedFamily();
    source.SetColor(clRed);  // not part of the face
    target.Assign(source);
    EXPECT_EQ(target.ResolvedFamily(), face);
    source.SetName("Arial");
    target.Assign(source);
    EXPECT_EQ(target.ResolvedFamily(), source.ResolvedFamily());
}
