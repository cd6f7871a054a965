#include "grid/ExtStringGrid.h"

#include <gtest/gtest.h>

#include <functional>

using namespace cb::grid;

namespace {

// Each setter announces a change once, and nothing when the value stays.
TEST(Settings, SettersAnnounceRealChangesOnly) {
    TBands bands;
    TBackGround background;
    TControlLook look;
    TCellNode node;
    TFloatingFooter footer;
    int calls = 0;
    auto count = [&] { ++calls; };
    bands.OnChange = background.OnChange = look.OnChange = node.OnChange = footer.OnChange = footer.OnLayoutChange =
        count;
    struct Case {
        const char* name;
        std::function<void()> change;
        int expected;
    };
    const Case cases[] = {
        {"bands active", [&] { bands.SetActive(true); }, 1},
        {"bands colour while active", [&] { bands.SetPrimaryColor(0x123456); }, 1},
        {"bands same colour", [&] { bands.SetPrimaryColor(0x123456); }, 0},
        {"bands inactive", [&] { bands.SetActive(false); }, 1},
        {"bands colour while inactive", [&] { bands.SetSecondaryColor(0x654321); }, 0},
        {"background left", [&] { background.SetLeft(4); }, 1},
        {"background same left", [&] { background.SetLeft(4); }, 0},
        {"background cells", [&] { background.SetCells(bcAll); }, 1},
        {"look check size", [&] { look.SetCheckSize(20); }, 1},
        {"look same style", [&] { look.SetControlStyle(look.ControlStyle()); }, 0},
        {"look glyph", [&] { look.SetCheckedGlyph(cb::gfx::TBitmap()); }, 1},
        {"node type", [&] { node.SetNodeType(cnGlyph); }, 1},
        {"node same tree", [&] { node.SetShowTree(false); }, 0},
        {"footer visible", [&] { footer.SetVisible(true); }, 1},
        {"footer same template", [&] { footer.SetCustomTemplate(""); }, 0},
        {"footer template", [&] { footer.SetCustomTemplate("<#1>"); }, 1},
    };
    for (const auto& c : cases) {
        calls = 0;
        c.change();
        EXPECT_EQ(calls, c.expected) << c.name;
    }
    // The period follows both lengths.
    bands.SetPrimaryLength(3);
    bands.SetSecondaryLength(2);
    EXPECT_EQ(bands.Period(), 5);
}

TEST(Settings, WithoutListenerSettersStillStore) {
    TBands bands;
    bands.SetActive(true);
    bands.SetPrimaryLength(4);
    EXPECT_TRUE(bands.Active());
    EXPECT_EQ(bands.Period(), 5);
}

TEST(Settings, GridLaysOutItsFooterFromTheFooterSettings) {
    TExtStringGrid grid;
    grid.resize(300, 200);
    grid.SetColCount(4);
    grid.SetRowCount(10);
    grid.FloatingFooter.SetVisible(true);
    EXPECT_FALSE(grid.FooterPanel()->isHidden());
    EXPECT_EQ(grid.FixedFooters(), 1);
    EXPECT_TRUE(grid.FooterRowFixed());
    grid.FloatingFooter.SetFooterStyle(fsCustomPreview);
    EXPECT_FALSE(grid.FooterRowFixed());
    EXPECT_EQ(grid.FixedFooters(), 1);
    grid.SetDefaultRowHeight(30);  // the panel follows the row height
    EXPECT_EQ(grid.FooterPanel()->height(), 29);
    grid.FloatingFooter.SetVisible(false);
    EXPECT_TRUE(grid.FooterPanel()->isHidden());
    EXPECT_EQ(grid.FixedFooters(), 0);
    // A height change of a hidden footer leaves the footer rows alone.
    grid.SetFixedFooters(2);
    grid.SetDefaultRowHeight(25);
    EXPECT_EQ(grid.FixedFooters(), 2);
}

}  // namespace
