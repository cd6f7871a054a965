// The axis increment dialog: captions map to their own steps, custom texts
// are read as days and a time, bad text keeps the dialog open.
#include "EditorTestSupport.h"
#include "chart/core/PlotHelpers.h"
#include "charteditors/format/AxisIncrementDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

using namespace cb::charteditors;
using cb::chart::DateTimeSteps;

namespace {

TEST(AxisIncrement, EachCaptionStandsForItsOwnStep) {
    struct Case {
        const char* caption;
        double days;
    };
    for (const Case c : {Case{"One Millisecond", 1.0 / 86400000}, Case{"One Second", 1.0 / 86400},
                         Case{"Twelve Hours", 0.5}, Case{"One Day", 1}, Case{"One Week", 7},
                         Case{"One Year", 365}}) {
        TAxisIncrement d;
        d.IsDateTime = true;
        d.IsExact = true;
        d.Step = cb::chart::DateTimeStepIndex(c.days);
        d.show();
        EXPECT_TRUE(d.RBStandard->isChecked()) << c.caption;
        EXPECT_EQ(d.CBSteps->currentText().toStdString(), c.caption);
        EXPECT_EQ(DateTimeStepCaption(d.Step), c.caption);
        QTest::mouseClick(d.BOk, Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_NEAR(d.Increment, c.days, 1e-12) << c.caption;
    }
}

TEST(AxisIncrement, ChoosingAStepByCaption) {
    TAxisIncrement d;
    d.IsDateTime = true;
    d.Increment = 3;
    d.show();
    EXPECT_TRUE(d.RBCustom->isChecked());
    EXPECT_EQ(d.ECustom->text(), "3");
    QTest::mouseClick(d.RBStandard, Qt::LeftButton, {}, QPoint(5, d.RBStandard->height() / 2));
    EXPECT_TRUE(d.IsExact);
    d.CBSteps->setCurrentText("One Day");
    emit d.CBSteps->activated(d.CBSteps->currentIndex());
    QTest::mouseClick(d.BOk, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(d.Increment, 1.0);
    EXPECT_EQ(DateTimeStepCaption(d.Step), "One Day");
}

TEST(AxisIncrement, CustomTexts) {
    struct Case {
        const char* text;
        double days;
    };
    for (const Case c : {Case{"2 06:00:00", 2.25}, Case{"1.5", 1.5}, Case{"06:00", 0.25},
                         Case{"00:00:30", 30.0 / 86400}}) {
        TAxisIncrement d;
        d.IsDateTime = true;
        d.show();
        d.ECustom->setText(c.text);
        QTest::mouseClick(d.BOk, Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted) << c.text;
        EXPECT_NEAR(d.Increment, c.days, 1e-9) << c.text;
    }
}

TEST(AxisIncrement, BadTextShowsTheReasonAndKeepsTheDialogOpen) {
    for (const bool dateTime : {true, false}) {
        TAxisIncrement d;
        d.IsDateTime = dateTime;
        d.Increment = 5;
        d.show();
        d.ECustom->setText("abc");
        std::string shown;
        cbtest::OnNextModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            shown = box->text().toStdString();
            box->accept();
        });
        QTest::mouseClick(d.BOk, Qt::LeftButton);
        EXPECT_EQ(shown.rfind("Incorrect value. Reason: ", 0), 0u) << shown;
        EXPECT_NE(shown.find("abc"), std::string::npos);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.Increment, 5);
    }
}

TEST(AxisIncrement, NumberModeShowsOnlyTheEditBox) {
    TAxisIncrement d;
    d.Increment = 2.5;
    d.show();
    EXPECT_FALSE(d.RadioGroup1->isVisible());
    EXPECT_FALSE(d.CBExact->isVisible());
    EXPECT_EQ(d.ECustom->text(), "2.5");
    cbtest::Screenshot(&d, "axis_increment_number");
    d.ECustom->setText("10");
    QTest::mouseClick(d.BOk, Qt::LeftButton);
    EXPECT_EQ(d.Increment, 10);
}

TEST(AxisIncrement, IncrementTextNamesTheIncrement) {
    EXPECT_EQ(IncrementText(true, false, "", 1.0), "1");
    EXPECT_EQ(IncrementText(true, true, "", 1.0), "One Day");
    EXPECT_EQ(IncrementText(true, false, "", 2.25), "2 06:00:00");
    EXPECT_EQ(IncrementText(true, false, "", 0), "00:00:01");
    EXPECT_EQ(IncrementText(true, false, "", 0.5), "12:00:00");
    EXPECT_EQ(IncrementText(false, false, "0.00", 2.5), "2.50");
}

TEST(AxisIncrement, Screenshot) {
    TAxisIncrement d;
    d.IsDateTime = true;
    d.IsExact = true;
    d.Step = cb::chart::DateTimeStepIndex(1.0 / 24);
    d.show();
    cbtest::Screenshot(&d, "axis_increment_datetime");
}

}  // namespace
