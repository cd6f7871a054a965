#include "platform/gfx/Color.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/rtl/Exception.h"

#include <QColor>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

using namespace cb::gfx;

TEST(GfxColor, SystemColoursResolveFromClassicTable) {
    struct Case {
        TColor sys;
        TColor rgb;
    };
    const Case cases[] = {
        {clBtnFace, RGB(212, 208, 200)},
        {clWindow, clWhite},
        {clWindowText, clBlack},
        {clHighlight, RGB(10, 36, 106)},
        {clHighlightText, clWhite},
        {clBtnShadow, clGray},
        {clBtnHighlight, clWhite},
        {cl3DDkShadow, RGB(64, 64, 64)},
        {clGrayText, clGray},
        {clInfoBk, RGB(255, 255, 225)},
        {clWindowFrame, clBlack},
    };
    for (const auto& c : cases) EXPECT_EQ(ColorToRGB(c.sys), c.rgb) << std::hex << c.sys;
    // Plain colours and the two markers pass unchanged; bad system numbers are black.
    EXPECT_EQ(ColorToRGB(clGreen), 0x008000u);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(clDefault), clDefault);
    EXPECT_EQ(ColorToRGB(0xFF0000FFu), clBlack);
}

TEST(GfxColor, ChannelsAndQtConversion) {
    const TColor c = RGB(1, 2, 3);
    EXPECT_EQ(c, 0x030201u);
    EXPECT_EQ(GetRValue(c), 1);
    EXPECT_EQ(GetGValue(c), 2);
    EXPECT_EQ(GetBValue(c), 3);
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(clBtnFace), QColor(212, 208, 200));
    EXPECT_EQ(ToQColor(clNone).alpha(), 0);
    EXPECT_EQ(FromQColor(QColor(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(FromQColor(QColor(0, 0, 0, 0)), clNone);
}

TEST(GfxColor, TextForm) {
    EXPECT_EQ(StringToColor("clRed"), clRed);
    EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
    EXPECT_EQ(StringToColor("$00FF0000"), clBlue);
    EXPECT_EQ(StringToColor("0xFF"), clRed);
    EXPECT_EQ(StringToColor("#FF0000"), clRed);
    EXPECT_EQ(StringToColor("32768"), clGreen);
    EXPECT_EQ(ColorToString(clNavy), "clNavy");
    EXPECT_EQ(ColorToString(RGB(1, 2, 3)), "$00030201");
    EXPECT_EQ(StringToColor(ColorToString(RGB(1, 2, 3))), RGB(1, 2, 3));
    for (const char* bad : {"", "clNothing", "$GG", "12x", "#12345"})
        EXPECT_THROW(StringToColor(bad), cb::rtl::EConvertError) << bad;
}

TEST(GfxObjects, ChangeNotificationOnlyOnEffectiveChange) {
    TPen pen;
    int n = 0;
    pen.OnChange = [&](TGraphicsObject&) { ++n; };
    pen.SetColor(clBlack);  // already black
    EXPECT_EQ(n, 0);
    pen.SetColor(clRed);
    pen.SetWidth(-2);  // becomes 1, unchanged
    EXPECT_EQ(n, 1);
    pen.BeginUpdate();
    pen.SetWidth(3);
    pen.SetStyle(psDash);
    EXPECT_EQ(n, 1);
    pen.EndUpdate();
    EXPECT_EQ(n, 2);

    TBrush brush;
    brush.SetStyle(bsClear);
    brush.SetColor(clRed);  // a colour makes a clear brush solid
    EXPECT_EQ(brush.Style(), bsSolid);
}

TEST(GfxObjects, FontSizeAndHeight) {
    TFont f;
    f.SetSize(8);
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Size(), 8);
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);
    TFont g;
    g.Assign(f);
    EXPECT_EQ(g.Height(), -16);
    EXPECT_EQ(g.Name(), f.Name());
}

TEST(GfxObjects, FontNamesResolveToInstalledFaces) {
    struct Case {
        const char* name;
        std::vector<std::string> faces;
    };
    const Case cases[] = {
        {"Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
        {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans"}},
        {"Tahoma", {"DejaVu Sans", "Liberation Sans"}},
        {"Courier New", {"Liberation Mono", "Cousine", "DejaVu Sans Mono"}},
        {"Times New Roman", {"Liberation Serif", "Tinos", "DejaVu Serif"}},
    };
    for (const auto& c : cases) {
        TFont f;
        f.SetName(c.name);
        const std::string fam = f.ResolvedFamily();
        EXPECT_NE(std::find(c.faces.begin(), c.faces.end(), fam), c.faces.end()) << c.name << " -> " << fam;
    }
}
