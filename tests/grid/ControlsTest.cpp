// The editors' controls driven as a person would: the spin edit and its
// arrows, the edit with a button, the unit menu and the flat combo box.
#include "grid/controls/EditWithButton.h"
#include "grid/controls/FlatCombo.h"
#include "grid/controls/SpinEdit.h"
#include "grid/controls/UnitEdit.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/ScopeGuard.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace cb::grid;

namespace {

void Shoot(QWidget& w, const char* name) {
    QDir().mkpath(QString(CB_BIN_DIR) + "/../screenshots");
    w.grab().save(QString(CB_BIN_DIR) + "/../screenshots/" + name + ".png");
}

// Puts a short date format in place for one test.
auto WithDateFormat(const std::string& format) {
    auto& fs = cb::rtl::FormatSettings();
    std::string old = fs.ShortDateFormat;
    fs.ShortDateFormat = format;
    return cb::rtl::OnScopeExit([old] { cb::rtl::FormatSettings().ShortDateFormat = old; });
}

struct SpinCase {
    const char* name;
    TExtGridSpinType type;
    const char* text;
    int caret;
    int steps;  // +n up, -n down
    const char* expected;
};

}  // namespace

TEST(SpinEditTest, StepsByTypeAndField) {
    auto fmt = WithDateFormat("dd/mm/yyyy");
    const SpinCase cases[] = {
        {"integer up", sptNormal, "5", 0, 3, "8"},
        {"integer clamps at max", sptNormal, "99", 0, 2, "100"},
        {"float", sptFloat, "1.5", 0, -1, "1"},
        {"day field", sptDate, "31/01/2024", 1, 1, "01/02/2024"},
        {"month field cuts the day", sptDate, "31/01/2023", 4, 1, "28/02/2023"},
        {"year field", sptDate, "15/06/2024", 8, -1, "15/06/2023"},
        {"year from 29 February clamps", sptDate, "29/02/2024", 8, 1, "28/02/2025"},
        {"month wraps the year", sptDate, "10/12/2024", 4, 1, "10/01/2025"},
        {"minute down wraps midnight", sptTime, "00:00:30", 4, -1, "23:59:30"},
        {"hour up", sptTime, "10:15:00", 0, 1, "11:15:00"},
        {"second up", sptTime, "10:15:59", 7, 1, "10:16:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TExtGridSpinEdit edit;
        edit.IncrementFloat = 0.5;
        edit.SetSpinType(c.type);
        edit.setText(c.text);
        edit.setCursorPosition(c.caret);
        for (int i = 0; i < std::abs(c.steps); ++i) c.steps > 0 ? edit.StepUp() : edit.StepDown();
        EXPECT_EQ(edit.text().toStdString(), c.expected);
    }
}

TEST(SpinEditTest, DateFieldFollowsTheLocaleOrder) {
    auto fmt = WithDateFormat("mm/dd/yyyy");
    TExtGridSpinEdit edit;
    edit.SetSpinType(sptDate);
    edit.setText("01/31/2023");
    edit.setCursorPosition(0);  // month first in this locale
    edit.StepUp();
    EXPECT_EQ(edit.text().toStdString(), "02/28/2023");
    edit.setCursorPosition(4);
    edit.StepUp();
    EXPECT_EQ(edit.text().toStdString(), "03/01/2023");
}

TEST(SpinEditTest, EqualBoundsMeanNoRangeAndExitClamps) {
    TExtGridSpinEdit edit;
    edit.MinValue = edit.MaxValue = 0;
    edit.SetValue(500);
    edit.StepUp();
    EXPECT_EQ(edit.Value(), 501);
    edit.MaxValue = 10;
    edit.setText("77");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&edit, &out);
    EXPECT_EQ(edit.text().toStdString(), "10");
    // Unreadable texts fall back rather than raise.
    edit.setText("abc");
    EXPECT_EQ(edit.Value(), 0);
    edit.SetSpinType(sptTime);
    edit.setText("zz");
    EXPECT_EQ(edit.TimeValue(), 0);
}

TEST(SpinEditTest, TypedCharactersAndKeys) {
    TExtGridSpinEdit edit;
    edit.show();
    edit.SetSpinType(sptFloat);
    edit.SetPrecision(2);
    edit.setText("1.25");
    edit.setCursorPosition(4);
    QTest::keyClick(&edit, Qt::Key_7);
    EXPECT_EQ(edit.text().toStdString(), "1.25") << "no room after the separator";
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_3);
    EXPECT_EQ(edit.text().toStdString(), "13.25") << "room before it";
    QTest::keyClick(&edit, Qt::Key_Period);
    EXPECT_EQ(edit.text().toStdString(), "13.25") << "a second separator";
    QTest::keyClicks(&edit, "x");
    EXPECT_EQ(edit.text().toStdString(), "13.25");

    edit.SetSpinType(sptNormal);
    edit.setText("4");
    QTest::keyClick(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.text().toStdString(), "5");
    edit.setText("4");
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_Slash);
    EXPECT_EQ(edit.text().toStdString(), "4") << "a date separator in a number";

    // Editor off: typing and Delete do nothing, the keys still step and
    // each integer step selects the text.
    edit.SetEditorEnabled(false);
    edit.setCursorPosition(0);
    QTest::keyClicks(&edit, "9");
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text().toStdString(), "4");
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text().toStdString(), "5");
    EXPECT_EQ(edit.selectedText().toStdString(), "5");

    // Read-only: steps change nothing.
    edit.SetEditorEnabled(true);
    edit.SetReadOnly(true);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text().toStdString(), "5");
}

TEST(SpinEditTest, PageKeysStayInRange) {
    TExtGridSpinEdit edit;
    edit.Increment = 5;
    edit.SetValue(99);
    EXPECT_TRUE(edit.StepByPageKey(Qt::Key_PageUp));
    EXPECT_EQ(edit.Value(), 99);
    edit.SetValue(95);
    edit.StepByPageKey(Qt::Key_PageUp);
    EXPECT_EQ(edit.Value(), 100);
    edit.SetValue(3);
    edit.StepByPageKey(Qt::Key_PageDown);
    EXPECT_EQ(edit.Value(), 3);
    edit.StepByPageKey(Qt::Key_Home);
    EXPECT_EQ(edit.Value(), 100);
    edit.StepByPageKey(Qt::Key_End);
    EXPECT_EQ(edit.Value(), 0);
    edit.SetSpinType(sptDate);
    EXPECT_FALSE(edit.StepByPageKey(Qt::Key_PageUp));
}

TEST(SpinEditTest, ArrowsStepOnPressAndRepeatWhileHeld) {
    QWidget form;
    form.resize(160, 60);
    auto* edit = new TExtGridSpinEdit(&form);
    edit->setGeometry(10, 10, 120, 24);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    Shoot(form, "spin_edit");
    auto& up = edit->Button().UpButton();
    auto& down = edit->Button().DownButton();
    // The arrows sit at the right edge, up above down, overlapping by one.
    EXPECT_GE(edit->Button().geometry().left(), edit->width() - 20);
    EXPECT_LT(up.geometry().top(), down.geometry().top());
    EXPECT_EQ(up.geometry().bottom() + 1, down.geometry().top() + 1);

    QTest::mousePress(&up, Qt::LeftButton, {}, up.rect().center());
    EXPECT_EQ(edit->Value(), 1) << "a step on the press";
    ASSERT_NE(up.RepeatTimer(), nullptr);
    EXPECT_EQ(up.RepeatTimer()->interval(), 400);
    EXPECT_TRUE(up.RepeatTimer()->isActive());
    up.RepeatTick();
    EXPECT_EQ(up.RepeatTimer()->interval(), 100);
    EXPECT_EQ(edit->Value(), 2);
    // Held for real: a few more steps arrive on their own.
    QTest::qWait(700);
    int held = edit->Value();
    EXPECT_GE(held, 4);
    QTest::mouseRelease(&up, Qt::LeftButton, {}, up.rect().center());
    EXPECT_FALSE(up.RepeatTimer()->isActive());
    QTest::qWait(250);
    EXPECT_EQ(edit->Value(), held) << "no steps after the release";
    QTest::mouseClick(&down, Qt::LeftButton, {}, down.rect().center());
    EXPECT_EQ(edit->Value(), held - 1);
    EXPECT_TRUE(edit->hasFocus() || !form.isActiveWindow());
}

TEST(SpinButtonTest, KeysAndHorizontalLayout) {
    TExtGridSpinButton spin;
    int ups = 0, downs = 0;
    spin.OnUpClick = [&](QObject*) { ++ups; };
    spin.OnDownClick = [&](QObject*) { ++downs; };
    spin.resize(15, 30);
    spin.show();
    QTest::keyClick(&spin, Qt::Key_Up);
    QTest::keyClick(&spin, Qt::Key_Down);
    QTest::keyClick(&spin, Qt::Key_Space);  // the down arrow is focused now
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(downs, 2);
    spin.SetDirection(spHorizontal);
    EXPECT_EQ(spin.width(), 20);
    EXPECT_LT(spin.DownButton().geometry().left(), spin.UpButton().geometry().left());
    EXPECT_EQ(spin.UpButton().Arrow, adRight);
    spin.resize(5, 30);
    EXPECT_EQ(spin.width(), 20) << "never narrower than 20 across";
}

TEST(EditBtnTest, ButtonFiresOnPressAndF4) {
    QWidget form;
    form.resize(200, 60);
    auto* edit = new TExtGridEditBtn(&form);
    edit->SetButtonCaption("...");
    edit->setGeometry(10, 10, 150, 24);
    std::vector<QObject*> senders;
    edit->OnClickBtn = [&](QObject* sender) { senders.push_back(sender); };
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    Shoot(form, "edit_with_button");
    auto& container = edit->ButtonContainer();
    EXPECT_GE(container.geometry().left(), 150 - 18 - 4);
    QTest::mousePress(&container.Button(), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(senders.size(), 1u) << "fires on the press";
    EXPECT_EQ(senders[0], &container);
    QTest::mouseRelease(&container.Button(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(senders.size(), 1u);
    QTest::mousePress(&container.Button(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(senders.size(), 1u) << "only the left button";
    QTest::keyClick(edit, Qt::Key_F4);
    ASSERT_EQ(senders.size(), 2u);
    EXPECT_EQ(senders[1], edit);

    // Editor off: typing and pasting do nothing; the button and F4 work.
    edit->SetEditorEnabled(false);
    edit->setText("12");
    QTest::keyClicks(edit, "34");
    QApplication::clipboard();
    edit->paste();
    EXPECT_EQ(edit->text().toStdString(), "12");
    QTest::keyClick(edit, Qt::Key_F4);
    EXPECT_EQ(senders.size(), 3u);

    edit->SetButtonWidth(30);
    EXPECT_EQ(container.width(), 30);
}

TEST(UnitEditTest, MenuChoosesTheUnit) {
    QWidget form;
    form.resize(200, 60);
    auto* edit = new TExtGridUnitEditBtn(&form);
    edit->setGeometry(10, 10, 150, 24);
    edit->Units = {"mm", "cm", "in"};
    edit->SetUnitID("mm");
    edit->setText("12");
    bool fired = false;
    edit->OnClickBtn = [&](QObject*) { fired = true; };
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    QStringList shown;
    QTimer::singleShot(50, [&] {
        QMenu* menu = edit->OpenMenu();
        ASSERT_NE(menu, nullptr);
        for (auto* a : menu->actions()) shown << a->text();
        Shoot(*menu, "unit_menu");
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::keyClick(edit, Qt::Key_F4);
    EXPECT_EQ(shown, (QStringList{"mm", "cm", "in"}));
    EXPECT_EQ(edit->UnitID(), "cm");
    EXPECT_FALSE(fired) << "the menu replaces OnClickBtn";
    form.repaint();
    Shoot(form, "unit_edit");

    // The unit is drawn left of the button, the number right-aligned
    // before it.
    QImage img = edit->grab().toImage();
    QRect unit = edit->UnitRect();
    EXPECT_EQ(unit.right() + 1, edit->width() - edit->ButtonContainer().width() - 3);
    int dark = 0;
    for (int x = unit.left(); x <= unit.right(); ++x)
        for (int y = unit.top(); y <= unit.bottom(); ++y)
            if (qGray(img.pixel(x, y)) < 100) ++dark;
    EXPECT_GT(dark, 5) << "the unit text is drawn";

    // Dismissed: the unit stays.
    QTimer::singleShot(50, [&] {
        if (QMenu* menu = edit->OpenMenu()) menu->close();
    });
    QTest::keyClick(edit, Qt::Key_F4);
    EXPECT_EQ(edit->UnitID(), "cm");
}

TEST(FlatComboTest, HotFrameButtonWidthAndDropWidth) {
    QWidget form;
    form.setStyleSheet("");
    form.resize(260, 80);
    auto* combo = new TExtGridComboBox(&form);
    combo->setGeometry(20, 20, 120, 22);
    combo->addItems({"Alpha", "Beta", "a much longer item than the box"});
    combo->SetFocusBorder(true);
    auto* other = new QLineEdit(&form);
    other->setGeometry(20, 50, 120, 22);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    other->setFocus();

    QImage cold = combo->grab().toImage();
    Shoot(*combo, "flat_combo_cold");
    EXPECT_FALSE(combo->Hot());
    QEnterEvent enter(QPointF(5, 5), QPointF(25, 25), QPointF(25, 25));
    QApplication::sendEvent(combo, &enter);
    EXPECT_TRUE(combo->Hot());
    EXPECT_TRUE(combo->ShowsFocusBorder());
    QImage hot = combo->grab().toImage();
    Shoot(*combo, "flat_combo_hot");
    // Cold: the border is in the parent's colour; hot: a sunken edge (a
    // shadow on the top left).
    EXPECT_NE(cold.pixel(0, 5), hot.pixel(0, 5));
    // Hot: the button carries a raised edge (a dark line at its right).
    QRect b = combo->ButtonRect();
    EXPECT_GT(qGray(cold.pixel(b.right(), b.center().y())), qGray(hot.pixel(b.right(), b.center().y())) + 40);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(combo, &leave);
    EXPECT_FALSE(combo->Hot());

    int width = combo->ButtonWidth();
    combo->SetButtonWidth(13);
    combo->SetButtonWidth(33);
    EXPECT_EQ(combo->ButtonWidth(), width);
    combo->SetButtonWidth(14);
    EXPECT_EQ(combo->ButtonWidth(), 14);
    combo->SetButtonWidth(32);
    EXPECT_EQ(combo->ButtonWidth(), 32);

    combo->showPopup();
    QTest::qWait(50);
    int asWide = combo->view()->window()->width();
    combo->hidePopup();
    EXPECT_GE(asWide, combo->width());
    combo->SetDropWidth(240);
    combo->showPopup();
    QTest::qWait(50);
    EXPECT_GE(combo->view()->window()->width(), 240);
    EXPECT_TRUE(combo->DroppedDown());
    Shoot(*combo->view()->window(), "flat_combo_dropped");
    combo->hidePopup();

    // Disabled: the parent's colour shows; enabled again: its own.
    QColor own = combo->palette().color(QPalette::Base);
    combo->setEnabled(false);
    EXPECT_EQ(combo->palette().color(QPalette::Base), form.palette().color(QPalette::Window));
    combo->setEnabled(true);
    EXPECT_EQ(combo->palette().color(QPalette::Base), own);

    combo->SetFlat(false);
    EXPECT_TRUE(combo->Ctl3D());
}
