// The two-list selector: moving items between the lists and ordering them,
// with their values, the buttons' states and the change event.
#include "EditorTestSupport.h"
#include "charteditors/format/SelectListForm.h"

#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using cb::charteditors::TSelectListForm;

namespace {

QStringList Texts(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text() + "=" + list->item(i)->data(Qt::UserRole).toString();
    return out;
}

class SelectList : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a", "b", "c", "d"}) {
            auto* item = new QListWidgetItem(name);
            item->setData(Qt::UserRole, QString(name).toUpper());
            form.FromList->addItem(item);
        }
        form.OnChange = [this](TSelectListForm* sender) {
            EXPECT_EQ(sender, &form);
            ++changes;
        };
        form.resize(360, 220);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void Select(QListWidget* list, std::initializer_list<int> rows) {
        list->clearSelection();
        for (int r : rows) list->item(r)->setSelected(true);
        list->setCurrentRow(*std::prev(rows.end()), QItemSelectionModel::NoUpdate);
    }
    TSelectListForm form;
    int changes = 0;
};

TEST_F(SelectList, MovesSelectedAndAllItemsWithTheirValues) {
    EXPECT_FALSE(form.BLeftOne->isEnabled());
    EXPECT_TRUE(form.FromList->hasFocus());
    Select(form.FromList, {1, 3});
    QTest::mouseClick(form.BRightOne, Qt::LeftButton);
    EXPECT_EQ(Texts(form.ToList), QStringList({"b=B", "d=D"}));
    EXPECT_EQ(Texts(form.FromList), QStringList({"a=A", "c=C"}));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(form.BLeftOne->isEnabled());

    QTest::mouseClick(form.BRightAll, Qt::LeftButton);
    EXPECT_EQ(Texts(form.ToList), QStringList({"b=B", "d=D", "a=A", "c=C"}));
    EXPECT_FALSE(form.BRightOne->isEnabled());
    EXPECT_FALSE(form.BRightAll->isEnabled());
    EXPECT_TRUE(form.ToList->hasFocus()) << "an emptied left list hands the focus over";

    Select(form.ToList, {0});
    QTest::mouseClick(form.BLeftOne, Qt::LeftButton);
    EXPECT_EQ(Texts(form.FromList), QStringList({"b=B"}));
    QTest::mouseClick(form.BLeftAll, Qt::LeftButton);
    EXPECT_EQ(form.ToList->count(), 0);
    EXPECT_EQ(Texts(form.FromList), QStringList({"b=B", "d=D", "a=A", "c=C"}));
    EXPECT_EQ(changes, 4);
}

TEST_F(SelectList, DoubleClicksMoveAndUpDownOrderTheSelectedList) {
    const auto doubleClick = [](QListWidget* list, int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };
    doubleClick(form.FromList, 2);
    doubleClick(form.FromList, 0);
    EXPECT_EQ(Texts(form.ToList), QStringList({"c=C", "a=A"}));
    EXPECT_EQ(form.ToList->currentRow(), 1) << "the item moved last is current";
    EXPECT_TRUE(form.BMoveUP->isEnabled());
    EXPECT_FALSE(form.BMoveDown->isEnabled());

    const int before = changes;
    QTest::mouseClick(form.BMoveUP, Qt::LeftButton);
    EXPECT_EQ(Texts(form.ToList), QStringList({"a=A", "c=C"}));
    EXPECT_EQ(form.ToList->currentRow(), 0);
    EXPECT_TRUE(form.ToList->item(0)->isSelected());
    EXPECT_FALSE(form.BMoveUP->isEnabled());
    EXPECT_TRUE(form.BMoveDown->isEnabled());
    QTest::mouseClick(form.BMoveDown, Qt::LeftButton);
    EXPECT_EQ(Texts(form.ToList), QStringList({"c=C", "a=A"}));
    EXPECT_EQ(changes, before + 2);

    doubleClick(form.ToList, 0);
    EXPECT_EQ(Texts(form.ToList), QStringList({"a=A"}));
    EXPECT_EQ(Texts(form.FromList), QStringList({"b=B", "d=D", "c=C"}));
}

}  // namespace
