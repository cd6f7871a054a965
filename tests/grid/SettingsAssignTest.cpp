// Assign copies every setting of the grid's value objects: each row sets all
// of them on a source, copies into a fresh object and compares the whole
// settings records, so a setting that Assign leaves behind fails here. What
// an Assign keeps to itself (owned objects, the grid, callbacks) is checked
// beside.
#include "grid/CellGraphic.h"
#include "grid/CellProperties.h"
#include "grid/paint/FilePicture.h"
#include "grid/settings/BackGround.h"
#include "platform/gfx/Bitmap.h"
#include "tests/common/TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using namespace cb::grid;

namespace {

void SetGraphic(TCellGraphic& g) {
    g.CellType = ctProgress;
    g.CellVAlign = vaFull;
    g.CellHAlign = haAfterText;
    g.CellIndex = 7;
    g.CellTransparent = true;
    g.CellBoolean = true;
    g.CellAngle = 45;
    g.CellValue = 2.5;
    g.CellErrFrom = 3;
    g.CellErrLen = 4;
    g.CellText = "caption";
    g.CellColor = cb::gfx::clMaroon;
    g.CellColorTo = cb::gfx::clLime;
}

void SetProperties(TCellProperties& p) {
    p.IsBaseCell = false;
    p.CellSpanX = 2;
    p.CellSpanY = 3;
    p.OwnerCol = 4;
    p.OwnerRow = 5;
    p.Alignment = taCenter;
    p.BorderColor = cb::gfx::clNavy;
    p.BorderWidth = 2;
    p.FontColor = cb::gfx::clOlive;
    p.FontSize = 14;
    p.FontStyle = 1;
    p.Editor = edComboEdit;
    p.ReadOnly = true;
    p.NodeLevel = 2;
    p.BrushStyle = 1;
    p.SetBrushColor(cb::gfx::clTeal);
    p.SetFontName("Serif");
    p.SetVAlignment(vtaBottom);
    p.SetWordWrap(true);
}

}  // namespace

TEST(GridSettingsAssign, EveryObjectCopiesEverySetting) {
    cbtest::TempDir dir;
    const std::string png = dir.file("p.png");
    QImage img(5, 2, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(QString::fromStdString(png), "PNG"));

    struct Row {
        const char* name;
        // Sets every setting of a source, assigns it to a fresh object; the
        // first is "set differs from the default", the second "copy equals".
        std::function<std::pair<bool, bool>()> run;
    };
    const Row rows[] = {
        {"background",
         [] {
             TBackGround source, fresh, target;
             source.SetTop(3);
             source.SetLeft(4);
             source.SetDisplay(bdFixed);
             source.SetCells(bcAll);
             target.Assign(source);
             return std::pair{source.Settings() != fresh.Settings(), target.Settings() == source.Settings()};
         }},
        {"file picture",
         [&png] {
             TFilePicture source, fresh, target;
             source.SetFilename(png);
             target.Assign(source);
             return std::pair{source.Settings() != fresh.Settings(), target.Settings() == source.Settings()};
         }},
        {"cell graphic",
         [] {
             TCellGraphic source, fresh, target;
             SetGraphic(source);
             target.Assign(source);
             return std::pair{source.Settings() != fresh.Settings(), target.Settings() == source.Settings()};
         }},
        {"cell properties",
         [] {
             TCellProperties source(nullptr, 0, 0), fresh(nullptr, 0, 0), target(nullptr, 0, 0);
             SetProperties(source);
             target.Assign(source);
             return std::pair{source.Settings() != fresh.Settings(), target.Settings() == source.Settings()};
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const auto [setsSomething, copiedAll] = r.run();
        EXPECT_TRUE(setsSomething) << "the row sets nothing";
        EXPECT_TRUE(copiedAll);
    }
}

TEST(GridSettingsAssign, OwnedObjectsGridAndCallbacksStayWithTheTarget) {
    // Background: the bitmap is copied, the callback stays and is called once.
    TBackGround source, target;
    source.SetBitmap(cb::gfx::TBitmap(6, 4));
    int calls = 0;
    target.OnChange = [&calls] { ++calls; };
    target.Assign(source);
    EXPECT_EQ(target.Bitmap().Width(), 6);
    EXPECT_EQ(calls, 1);

    // Cell graphic: objects and the grid-made flag are not taken over.
    TCellGraphic graphic, plain;
    graphic.TakeBitmap(std::make_unique<cb::gfx::TBitmap>(3, 3));
    graphic.RadioItems = {"a", "b"};
    plain.Assign(graphic);
    EXPECT_EQ(plain.Bitmap(), nullptr);
    EXPECT_FALSE(plain.CellCreated);
    EXPECT_TRUE(plain.RadioItems.empty());

    // Cell properties: the cell object, graphic, paint stamp and footer kind
    // stay the target's own.
    int object = 0;
    TCellProperties from(nullptr, 1, 1), to(nullptr, 2, 2);
    from.CellObject = &object;
    from.Graphic.reset(new TCellGraphic);
    from.PaintStamp = 9;
    from.FooterCalcKind = 2;
    to.Assign(from);
    EXPECT_EQ(to.CellObject, nullptr);
    EXPECT_EQ(to.Graphic, nullptr);
    EXPECT_EQ(to.PaintStamp, 0u);
    EXPECT_EQ(to.FooterCalcKind, 0);
}
