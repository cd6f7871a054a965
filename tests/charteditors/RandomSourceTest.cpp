// The random sample choice of a series' data source: the count shown, the
// default box, Apply, and the bound on the count.
#include "EditorTestSupport.h"

#include "chart/series/bar/BarSeries.h"
#include "chart/series/pie/PieSeries.h"
#include "charteditors/series/RandomSourcePanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace cb::chart;
using namespace cb::charteditors;

namespace {

void Type(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
}

TEST(RandomSource, HandEnteredPointsShowTheDefaultCountAndApplyReplacesThem) {
    TChart chart;
    auto* s = chart.CreateSeries<TBarSeries>();
    for (double v : {1.0, 2.0}) s->AddValue(v);
    TRandomSourcePanel panel;
    panel.SetSeries(s);
    panel.show();
    cbtest::Screenshot(&panel, "random-source");
    EXPECT_EQ(panel.ESamples->text().toInt(), s->DefaultSampleCount());
    EXPECT_TRUE(panel.CBSamplesDefault->isChecked());
    EXPECT_FALSE(panel.CBSamplesDefault->isEnabled());
    EXPECT_FALSE(panel.BApplyRandom->isEnabled());

    Type(panel.ESamples, "12");
    EXPECT_EQ(s->SampleCount(), 12);
    EXPECT_FALSE(panel.CBSamplesDefault->isChecked());
    EXPECT_TRUE(panel.CBSamplesDefault->isEnabled());
    ASSERT_TRUE(panel.BApplyRandom->isEnabled());
    QTest::mouseClick(panel.BApplyRandom, Qt::LeftButton);
    EXPECT_EQ(s->PointCount(), 12);

    // Ticking "Default" puts the type's count back.
    QTest::mouseClick(panel.CBSamplesDefault, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(panel.ESamples->text().toInt(), s->DefaultSampleCount());
    EXPECT_FALSE(panel.CBSamplesDefault->isEnabled());
}

TEST(RandomSource, CountIsBoundedAndPartialInputRaisesNothing) {
    TChart chart;
    auto* s = chart.CreateSeries<TPieSeries>();
    TRandomSourcePanel panel;
    panel.SetSeries(s);
    panel.show();
    const struct {
        const char* text;
        bool apply;
        bool message;
    } cases[] = {{"2000000000", false, true}, {"100001", false, true}, {"0", false, true},
                 {"-5", false, true},         {"", false, false},      {"-", false, false},
                 {"1e", false, false},        {"100000", true, false}, {"7", true, false}};
    // Each as the box holds it after a keystroke or a paste.
    for (const auto& c : cases) {
        EXPECT_NO_THROW(panel.ESamples->setText(c.text)) << c.text;
        EXPECT_EQ(panel.BApplyRandom->isEnabled(), c.apply) << c.text;
        EXPECT_EQ(!panel.LMessage->text().isEmpty(), c.message) << c.text;
    }
    EXPECT_EQ(s->SampleCount(), 7);
    panel.ESamples->setText("2000000000");
    EXPECT_EQ(panel.LMessage->text().toStdString(), "The number of sample values must be from 1 to 100,000.");
    EXPECT_EQ(s->SampleCount(), 7);  // the refused count is not stored
    QTest::mouseClick(panel.BApplyRandom, Qt::LeftButton);
    EXPECT_EQ(s->PointCount(), 0);
}

}  // namespace
