#include "extras/KitListBox.h"

#include <QApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace cb::extras;

namespace {

// Records the drag a list box starts instead of running one.
class DragProbe : public TKitCustomListBox {
public:
    Qt::DropAction answer = Qt::IgnoreAction;
    std::vector<std::vector<int>> drags;  // the selection at each drag start
    std::string lastText;

    std::vector<int> selection() const {
        std::vector<int> s;
        for (int i = 0; i < Items().Count(); ++i)
            if (Selected(i)) s.push_back(i);
        return s;
    }

protected:
    Qt::DropAction ExecuteDrag(QMimeData* data) override {
        drags.push_back(selection());
        lastText = data->text().toStdString();
        delete data;
        return answer;
    }
};

void send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {}) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, mods);
    QApplication::sendEvent(w, &e);
}

QPoint centre(const TKitCustomListBox& box, int index) {
    const auto r = box.ItemRect(index);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

TEST(ListBox, ColumnsRunTopToBottomThenAcross) {
    TKitCustomListBox box;
    box.SetStyle(lbOwnerDrawFixed);
    box.SetItemHeight(20);
    box.resize(200, 100);
    for (int i = 0; i < 30; ++i) box.Items().Add("Item " + std::to_string(i));
    box.SetColumns(2);
    box.show();
    const int rows = box.viewport()->height() / 20;
    const int width = (200 + 2 - 3) / 2;  // 99
    ASSERT_GT(rows, 1);
    struct {
        int index, left, top;
    } cases[] = {{0, 0, 0}, {rows - 1, 0, (rows - 1) * 20}, {rows, width, 0}, {rows + 1, width, 20}};
    for (const auto& c : cases) {
        const auto r = box.ItemRect(c.index);
        EXPECT_EQ(r.Left, c.left) << c.index;
        EXPECT_EQ(r.Top, c.top) << c.index;
        EXPECT_EQ(r.Width(), width) << c.index;
        EXPECT_EQ(box.ItemAtPos({c.left + 5, c.top + 5}, true), c.index);
    }
    EXPECT_EQ(box.HorizontalExtent(), 0);  // not managed with columns
    EXPECT_EQ(box.verticalScrollBar()->maximum(), 0);
    EXPECT_GT(box.horizontalScrollBar()->maximum(), 0);

    // Right moves a column on; going past the view scrolls whole columns.
    box.setFocus();
    box.SetItemIndex(1);
    QTest::keyClick(&box, Qt::Key_Right);
    EXPECT_EQ(box.ItemIndex(), 1 + rows);
    QTest::keyClick(&box, Qt::Key_Right);
    EXPECT_EQ(box.ItemIndex(), 1 + 2 * rows);
    EXPECT_EQ(box.TopIndex(), rows);
    EXPECT_EQ(box.ItemRect(1 + 2 * rows).Left, width);
    QTest::keyClick(&box, Qt::Key_Left);
    EXPECT_EQ(box.ItemIndex(), 1 + rows);
    box.SetItemIndex(0);
    EXPECT_EQ(box.TopIndex(), 0);

    // Columns follow the control's width.
    box.resize(300, 100);
    EXPECT_EQ(box.ItemRect(rows).Left, (300 + 2 - 3) / 2);
}

TEST(ListBox, VariableHeightsFromOnMeasureItem) {
    TKitCustomListBox box;
    box.SetStyle(lbOwnerDrawVariable);
    box.OnMeasureItem = [](TKitCustomListBox&, int index, int& height) { height = 10 + 5 * index; };
    box.resize(150, 100);
    std::vector<std::pair<int, int>> drawn;  // index, height
    box.OnDrawItem = [&](TKitCustomListBox&, int index, const cb::gfx::TRect& r, TOwnerDrawState) {
        drawn.emplace_back(index, r.Height());
    };
    for (int i = 0; i < 8; ++i) box.Items().Add("Item");
    box.show();
    // Heights 10, 15, 20, 25, 30, ...: tops 0, 10, 25, 45, 70, 100.
    const int tops[] = {0, 10, 25, 45, 70, 100};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(box.ItemRect(i).Top, tops[i]) << i;
        EXPECT_EQ(box.ItemRect(i).Height(), 10 + 5 * i) << i;
    }
    EXPECT_EQ(box.ItemAtPos({5, 24}, true), 1);
    EXPECT_EQ(box.ItemAtPos({5, 25}, true), 2);
    EXPECT_EQ(box.ItemRect(8).Top, box.ItemRect(7).Bottom);  // below the last
    ASSERT_TRUE(QTest::qWaitFor([&] { return !drawn.empty(); }, 5000));
    EXPECT_EQ(drawn[3], std::make_pair(3, 25));

    // Selecting the last item scrolls until it shows whole: 40 + 45 <= 100.
    box.SetItemIndex(7);
    EXPECT_EQ(box.TopIndex(), 6);
    EXPECT_EQ(box.ItemRect(7).Bottom, 85);
    EXPECT_LE(box.ItemRect(7).Bottom, box.viewport()->height());
    // Fixed style: every item takes the stored height again.
    box.SetStyle(lbOwnerDrawFixed);
    box.SetItemHeight(12);
    EXPECT_EQ(box.ItemRect(box.TopIndex() + 1).Top, 12);
}

TEST(ListBox, IntegralHeightShowsWholeItemsOnly) {
    for (bool integral : {false, true}) {
        TKitCustomListBox box;
        box.SetStyle(lbOwnerDrawFixed);
        box.SetItemHeight(16);
        box.SetIntegralHeight(integral);
        box.resize(120, 107);
        box.show();
        const int frame = box.height() - box.viewport()->height();
        if (integral) {
            EXPECT_EQ(box.viewport()->height() % 16, 0);
            EXPECT_LE(box.height(), 107);
            EXPECT_GT(box.height(), 107 - 16);
        } else {
            EXPECT_EQ(box.height(), 107);
        }
        EXPECT_EQ(frame, box.height() - box.viewport()->height());
    }
}

struct DragCase {
    const char* name;
    bool multi;
    std::vector<int> before;  // selected before the press
    int press;
    Qt::KeyboardModifiers mods;
    bool moves;
    std::vector<std::vector<int>> drags;  // selections dragged
    std::vector<int> after;
};

class ListBoxDrag : public ::testing::TestWithParam<DragCase> {};

TEST_P(ListBoxDrag, AutomaticDragKeepsOrMakesTheSelection) {
    const DragCase& c = GetParam();
    DragProbe box;
    box.resize(150, 120);
    box.SetMultiSelect(c.multi);
    box.SetDragMode(dmAutomatic);
    for (const char* s : {"a", "b", "c", "d"}) box.Items().Add(s);
    for (int i : c.before) box.SetSelected(i, true);
    std::vector<bool> ends;
    box.OnEndDrag = [&](TKitCustomListBox&, bool accepted) { ends.push_back(accepted); };
    box.show();
    QWidget* v = box.viewport();
    const QPoint p = centre(box, c.press);
    send(v, QEvent::MouseButtonPress, p, Qt::LeftButton, c.mods);
    if (c.moves)
        send(v, QEvent::MouseMove, p + QPoint(QApplication::startDragDistance() + 2, 0), Qt::LeftButton, c.mods);
    send(v, QEvent::MouseButtonRelease, p, Qt::NoButton, c.mods);
    EXPECT_EQ(box.drags, c.drags) << c.name;
    EXPECT_EQ(box.selection(), c.after) << c.name;
    EXPECT_EQ(ends.size(), c.drags.size()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListBoxDrag,
    ::testing::Values(
        DragCase{"single", false, {}, 1, {}, true, {{1}}, {1}},
        DragCase{"selected items stay", true, {0, 2}, 2, {}, true, {{0, 2}}, {0, 2}},
        DragCase{"ctrl on a selected item drags", true, {0, 2}, 0, Qt::ControlModifier, true, {{0, 2}}, {0, 2}},
        DragCase{"unselected item selected first", true, {0, 2}, 1, {}, true, {{1}}, {1}},
        DragCase{"ctrl extends, no drag", true, {0}, 1, Qt::ControlModifier, true, {}, {0, 1}},
        DragCase{"shift extends, no drag", true, {0}, 2, Qt::ShiftModifier, true, {}, {0, 1, 2}},
        DragCase{"click on a selected item", true, {0, 2}, 2, {}, false, {}, {2}},
        DragCase{"ctrl click on a selected item", true, {0, 2}, 2, Qt::ControlModifier, false, {}, {0}}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(ListBox, CancelledDragEndsThePress) {
    DragProbe box;
    box.resize(150, 120);
    box.SetDragMode(dmAutomatic);
    for (const char* s : {"a", "b", "c", "d"}) box.Items().Add(s);
    std::vector<bool> ends;
    box.OnEndDrag = [&](TKitCustomListBox&, bool accepted) { ends.push_back(accepted); };
    box.show();
    QWidget* v = box.viewport();
    send(v, QEvent::MouseButtonPress, centre(box, 0), Qt::LeftButton);
    send(v, QEvent::MouseMove, centre(box, 0) + QPoint(20, 0), Qt::LeftButton);
    EXPECT_EQ(box.lastText, "a");
    // Moves still reported with the button held change nothing any more.
    send(v, QEvent::MouseMove, centre(box, 3), Qt::LeftButton);
    EXPECT_EQ(box.ItemIndex(), 0);
    EXPECT_EQ(box.drags.size(), 1u);
    box.answer = Qt::MoveAction;
    send(v, QEvent::MouseButtonPress, centre(box, 1), Qt::LeftButton);
    send(v, QEvent::MouseMove, centre(box, 1) + QPoint(20, 0), Qt::LeftButton);
    EXPECT_EQ(ends, (std::vector<bool>{false, true}));
}

TEST(ListBox, PressAndMoveTracksTheSelection) {
    DragProbe box;
    box.resize(150, 120);
    box.SetMultiSelect(true);
    for (const char* s : {"a", "b", "c", "d"}) box.Items().Add(s);
    box.show();
    QWidget* v = box.viewport();
    send(v, QEvent::MouseButtonPress, centre(box, 1), Qt::LeftButton);
    send(v, QEvent::MouseMove, centre(box, 3), Qt::LeftButton);
    send(v, QEvent::MouseButtonRelease, centre(box, 3), Qt::NoButton);
    EXPECT_EQ(box.selection(), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(box.drags.empty());  // manual drag mode
    send(v, QEvent::MouseMove, centre(box, 0), Qt::NoButton);
    EXPECT_EQ(box.selection(), (std::vector<int>{1, 2, 3}));
}

}  // namespace
