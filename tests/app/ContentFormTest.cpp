#include "app/ui/widgets/ContentForm.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

using namespace cb::app;

namespace {

// A form that colours a control of its own, as most forms do.
class TColouredForm : public TContentForm {
public:
    using TContentForm::TContentForm;
    QLabel* label = new QLabel(this);
    void ApplyTheme(const TTheme* theme) override {
        TContentForm::ApplyTheme(theme);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, cb::gfx::ToQColor(theme->TextColor));
        label->setPalette(p);
    }
};

}  // namespace

TEST(ContentForm, ThemeIsTakenByIdentity) {
    TColouredForm form;
    EXPECT_EQ(form.Theme(), nullptr);
    TTheme a, b;
    a.BackgroundColor = 0x0000FF;
    a.TextColor = 0x00FF00;
    form.ApplyTheme(&a);
    EXPECT_EQ(form.Theme(), &a);
    EXPECT_EQ(form.Color(), 0x0000FFu);

    // The same object again: the base leaves the form's colour alone, the
    // override still recolours its controls.
    a.BackgroundColor = 0x123456;
    a.TextColor = 0xABCDEF;
    form.ApplyTheme(&a);
    EXPECT_EQ(form.Color(), 0x0000FFu);
    EXPECT_EQ(cb::gfx::FromQColor(form.label->palette().color(QPalette::WindowText)), 0xABCDEFu);

    b.BackgroundColor = 0x0A0B0C;
    form.ApplyTheme(&b);
    EXPECT_EQ(form.Theme(), &b);
    EXPECT_EQ(form.Color(), 0x0A0B0Cu);
    EXPECT_TRUE(form.CanLeavePage());
}

TEST(ContentForm, DockedFormFillsAndFollowsItsParent) {
    QWidget host;
    host.resize(300, 200);
    auto* form = new TContentForm(&host);
    EXPECT_FALSE(form->isWindow());
    form->ShowDocked();
    host.show();
    QApplication::processEvents();
    EXPECT_EQ(form->geometry(), QRect(0, 0, 300, 200));
    host.resize(420, 150);
    host.layout()->activate();
    EXPECT_EQ(form->geometry(), QRect(0, 0, 420, 150));

    // Escape must not hide a pane.
    QTest::keyClick(form, Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());

    // A second docked form replaces nothing by itself; the first is freed by
    // its creator, and the parent frees what is left.
    QPointer<TContentForm> watch(form);
    delete form;
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(host.layout()->count(), 0);
}

TEST(ContentForm, WithoutParentShowsAsItsOwnWindow) {
    TContentForm form;
    form.resize(333, 222);
    form.ShowDocked();
    EXPECT_TRUE(form.isWindow());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.size(), QSize(333, 222));
}

TEST(ContentForm, ListKeepsOrderAndOwnsNothing) {
    TContentForm a, b;
    {
        TContentFormList list;
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_EQ(list.Add(&a), 0);
        EXPECT_EQ(list.Add(&b), 1);
        EXPECT_EQ(list.GetCount(), 2);
        EXPECT_EQ(list.GetForm(1), &b);
        EXPECT_THROW(list.GetForm(2), std::out_of_range);
    }  // the forms live on the stack: a list that freed them would crash here
}
