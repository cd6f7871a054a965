// The number format dialog: a format read into the controls and built back.
#include "EditorTestSupport.h"
#include "charteditors/format/FormatEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace cb::charteditors;

namespace {

TEST(FormatEditor, ReadsAFormatAndBuildsItBack) {
    struct Case {
        const char* format;
        bool number, thousands, percent, fixed;
        int decimals, digits;
    };
    for (const Case c : {Case{"#,##0.00", true, true, false, true, 2, 1}, Case{"0.0%", true, false, true, true, 1, 1},
                         Case{"#,##0.###", true, true, false, false, 3, 1}, Case{"0", true, false, false, false, 0, 1},
                         Case{"0.0 kg", false, false, false, false, 0, 0}}) {
        TFormatEditor d;
        d.Format = c.format;
        d.show();
        EXPECT_EQ(d.RBInteger->isChecked(), c.number) << c.format;
        EXPECT_TRUE(d.Panel1->isVisible());
        if (c.number) {
            EXPECT_EQ(d.CBThousands->isChecked(), c.thousands) << c.format;
            EXPECT_EQ(d.CBPercent->isChecked(), c.percent) << c.format;
            EXPECT_EQ(d.CBFixedDecimals->isChecked(), c.fixed) << c.format;
            EXPECT_EQ(d.UpDown1->value(), c.decimals) << c.format;
            EXPECT_EQ(d.UpDown2->value(), c.digits) << c.format;
            EXPECT_EQ(d.CBThousands->isEnabled(), !c.percent) << c.format;
            EXPECT_EQ(d.CBCurrency->isEnabled(), !c.percent) << c.format;
        } else {
            EXPECT_TRUE(d.RBCustom->isChecked());
            EXPECT_EQ(d.CBCustom->currentText(), c.format);
        }
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        EXPECT_EQ(d.Format, c.format);
    }
}

TEST(FormatEditor, BuildsIntegerDigitsWithThousands) {
    struct Case {
        int digits;
        bool thousands;
        const char* format;
    };
    for (const Case c : {Case{0, false, "#"}, Case{0, true, "#,###"}, Case{2, false, "00"}, Case{1, true, "#,##0"},
                         Case{5, true, "00,000"}}) {
        TFormatEditor d;
        d.Format = "0";
        d.show();
        d.UpDown2->setValue(c.digits);
        d.CBThousands->setChecked(c.thousands);
        EXPECT_EQ(d.TheFormat(), c.format) << c.digits;
    }
}

TEST(FormatEditor, DateFormatsAndCancel) {
    TFormatEditor d;
    d.Format = "mm-yyyy";
    d.show();
    EXPECT_TRUE(d.RBDate->isChecked());
    EXPECT_TRUE(d.CBDate->isEnabled());
    EXPECT_FALSE(d.CBCustom->isEnabled());
    cbtest::Screenshot(&d, "format_editor_date");

    cbtest::OnNextModal([](QWidget* w) {
        auto* e = dynamic_cast<TFormatEditor*>(w);
        ASSERT_NE(e, nullptr);
        e->UpDown1->setValue(4);
        cbtest::Screenshot(e, "format_editor_number");
        QTest::mouseClick(e->Button2, Qt::LeftButton);
    });
    EXPECT_EQ(EditValueFormat(nullptr, "#,##0.###"), "#,##0.###");
    cbtest::OnNextModal([](QWidget* w) {
        auto* e = dynamic_cast<TFormatEditor*>(w);
        e->UpDown1->setValue(1);
        QTest::mouseClick(e->Button1, Qt::LeftButton);
    });
    EXPECT_EQ(EditValueFormat(nullptr, "#,##0.###"), "#,##0.#");
}

}  // namespace
