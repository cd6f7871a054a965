// The editors' common ground: the registry, the guarded reference, embedding,
// the backup and Cancel, the colour and pen buttons, the pen dialog.
#include "EditorTestSupport.h"
#include "chart/axis/ChartAxis.h"
#include "chart/style/ChartPen.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorForm.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/common/PenDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

using namespace cb::charteditors;
using cb::chart::TChartPen;

namespace {

// An editor of a pen's width with one spin box.
class TWidthEditor : public TEditorForm {
public:
    explicit TWidthEditor(QWidget* owner = nullptr) : TEditorForm(owner), Width(new QSpinBox(this)) {
        resize(200, 90);
        Width->setRange(1, 100);
        connect(Width, &QSpinBox::valueChanged, this, [this](int v) {
            ++Changes;
            if (Filling()) return;
            if (auto* pen = Edited().As<TChartPen>()) pen->SetWidth(v);
        });
    }
    QSpinBox* Width;
    int Shows = 0;
    int Changes = 0;

protected:
    void FormShow() override {
        ++Shows;
        auto* pen = Edited().As<TChartPen>();
        KeepBackup(*pen);
        Width->setValue(pen->Width());
    }
};

TEST(EditorRegistry, FindsRegisteredNamesOnly) {
    RegisterEditorClass<TWidthEditor>("TCustomSeriesEditor");
    auto chart = cbtest::MakeSampleChart();
    cb::chart::TChartSeries* line = chart->SeriesAt(0);
    ASSERT_EQ(line->EditorClassName(), "TCustomSeriesEditor");
    EXPECT_TRUE(FindSeriesEditorClass(*line));
    auto form = CreateEditorByName("TCustomSeriesEditor", nullptr);
    EXPECT_NE(dynamic_cast<TWidthEditor*>(form.get()), nullptr);
    for (const char* none : {"", "TPyramidSeriesEditor", "TNoSuchEditor"}) {
        EXPECT_FALSE(FindEditorClass(none)) << none;
        EXPECT_EQ(CreateEditorByName(none, nullptr), nullptr) << none;
    }
    UnregisterEditorClass("TCustomSeriesEditor");
    EXPECT_FALSE(FindSeriesEditorClass(*line));
}

TEST(ObjectGuard, ClearsWhenTheObjectOrItsOwnerGoes) {
    auto chart = cbtest::MakeSampleChart();
    cb::chart::TChartSeries* series = chart->SeriesAt(1);
    TObjectGuard element, part, axis;
    int gone = 0;
    element.OnGone = part.OnGone = axis.OnGone = [&] { ++gone; };
    element.Set(TEditedObject::Element(series));
    part.Set(TEditedObject::Part(&series->Pen(), series));
    axis.Set(TEditedObject::Part(&chart->LeftAxis(), chart.get()));
    EXPECT_EQ(element.As<cb::chart::TChartSeries>(), series);
    EXPECT_EQ(part.As<TChartPen>(), &series->Pen());
    EXPECT_EQ(part.As<cb::gfx::TPen>(), nullptr) << "a part is read as the type it was bound as";

    delete series;
    EXPECT_TRUE(element.Empty());
    EXPECT_TRUE(part.Empty());
    EXPECT_FALSE(axis.Empty());
    EXPECT_EQ(gone, 2);

    chart.reset();
    EXPECT_TRUE(axis.Empty());
    EXPECT_EQ(gone, 3);
}

TEST(ObjectGuard, MayTakeAnotherObjectWhileHearingOfTheFirstGoing) {
    auto chart = cbtest::MakeSampleChart();
    cb::chart::TChartSeries* first = chart->SeriesAt(0);
    cb::chart::TChartSeries* second = chart->SeriesAt(1);
    TObjectGuard guard;
    guard.OnGone = [&] { guard.Set(TEditedObject::Element(second)); };
    guard.Set(TEditedObject::Element(first));
    delete first;
    EXPECT_EQ(guard.As<cb::chart::TChartSeries>(), second);
    guard.OnGone = nullptr;
    delete second;
    EXPECT_TRUE(guard.Empty());
}

TEST(EmbedFormWithObject, PlacesTheFormAndKeepsTheContainersVisibility) {
    auto chart = cbtest::MakeSampleChart();
    TChartPen& pen = chart->SeriesAt(0)->Pen();
    struct Case {
        int formHeight;
        bool containerHidden;
        int top;
    };
    // top = min(4, |container - form| / 2) with a 100-pixel container.
    for (const Case c : {Case{90, true, 4}, Case{94, false, 3}, Case{100, true, 0}, Case{160, false, 4}}) {
        QWidget host;
        host.resize(300, 200);
        auto* container = new QWidget(&host);
        container->resize(300, 100);
        host.show();
        container->setHidden(c.containerHidden);
        auto* form = new TWidthEditor;
        form->resize(200, c.formHeight);
        EmbedFormWithObject(form, container, TEditedObject::Part(&pen, chart->SeriesAt(0)));
        EXPECT_EQ(container->isHidden(), c.containerHidden) << c.formHeight;
        EXPECT_EQ(form->parentWidget(), container);
        EXPECT_FALSE(form->isWindow());
        EXPECT_EQ(form->pos(), QPoint(4, c.top)) << c.formHeight;
        EXPECT_EQ(form->Shows, 1) << "loaded once on showing";
        EXPECT_EQ(form->Width->value(), pen.Width());
    }
}

TEST(EditorForm, FillingWritesNothingBackAndCancelRestoresTheBackup) {
    auto chart = cbtest::MakeSampleChart();
    TChartPen& pen = chart->SeriesAt(0)->Pen();
    pen.SetWidth(3);
    int notified = 0;
    pen.OnChange = [&](cb::gfx::TGraphicsObject&) { ++notified; };
    for (const bool ok : {true, false}) {
        auto form = CreateEditorDialog<TWidthEditor>(nullptr);
        form->BindObject(TEditedObject::Part(&pen, chart->SeriesAt(0)));
        form->show();
        EXPECT_EQ(notified, 0) << "loading the controls writes nothing";
        form->Width->setFocus();
        QTest::keyClick(form->Width, Qt::Key_Up);
        EXPECT_EQ(pen.Width(), 4) << "edits go to the object at once";
        if (ok)
            form->accept();
        else
            QTest::keyClick(form.get(), Qt::Key_Escape);
        EXPECT_EQ(pen.Width(), ok ? 4 : 3);
        pen.SetWidth(3);
        notified = 0;
    }
    pen.OnChange = nullptr;
}

TEST(EditorForm, AModalEditorWhoseObjectGoesClosesAndAnEmbeddedOneIsDisabled) {
    auto chart = cbtest::MakeSampleChart();
    cb::chart::TChartSeries* a = chart->SeriesAt(0);
    cb::chart::TChartSeries* b = chart->SeriesAt(1);
    auto modal = CreateEditorDialog<TWidthEditor>(nullptr);
    modal->BindObject(TEditedObject::Part(&a->Pen(), a));
    cbtest::OnNextModal([&](QWidget*) { delete a; });
    EXPECT_EQ(modal->exec(), QDialog::Rejected);
    EXPECT_TRUE(modal->Edited().Empty());

    QWidget host;
    auto* embedded = new TWidthEditor;
    EmbedFormWithObject(embedded, &host, TEditedObject::Part(&b->Pen(), b));
    delete b;
    EXPECT_FALSE(embedded->isEnabled());
    EXPECT_TRUE(embedded->Edited().Empty());
}

TEST(ColorButton, RunsItsClickHandlerOnlyAfterAChange) {
    auto chart = cbtest::MakeSampleChart();
    TChartPen& pen = chart->SeriesAt(0)->Pen();
    pen.SetColor(0x0000FF);
    TColorButton button;
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    button.LinkColor(
        &pen, [&] { return pen.Color(); }, [&](cb::gfx::TColor c) { pen.SetColor(c); });
    button.show();

    cbtest::CancelNextColorDialog();
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 0);
    cbtest::ChooseColorInNextDialog(0x0000FF);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 0) << "the same colour is no change";
    cbtest::ChooseColorInNextDialog(0x00FF00);
    button.setFocus();
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(pen.Color(), 0x00FF00u);
}

TEST(PenButton, DrawsAWidePenSixWideAndLeavesItAsItWas) {
    auto chart = cbtest::MakeSampleChart();
    TChartPen& pen = chart->SeriesAt(0)->Pen();
    pen.SetWidth(10);
    pen.SetColor(0x0000FF);
    for (const bool withEvent : {false, true}) {
        int notified = 0;
        pen.OnChange = withEvent ? [&](cb::gfx::TGraphicsObject&) { ++notified; }
                                 : std::function<void(cb::gfx::TGraphicsObject&)>();
        TButtonPen button;
        button.resize(75, 25);
        button.LinkPen(TEditedObject::Part(&pen, chart->SeriesAt(0)));
        const QImage shot = button.grab().toImage();
        EXPECT_EQ(pen.Width(), 10);
        EXPECT_EQ(notified, 0);
        // The sample runs from 17 to 6 pixels left of the right edge, 6 high.
        int red = 0;
        for (int y = 0; y < shot.height(); ++y) {
            const QColor c = shot.pixelColor(75 - 12, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60) ++red;
        }
        EXPECT_GE(red, 5);
        EXPECT_LE(red, 7);
        pen.OnChange = nullptr;
    }
}

TEST(PenButton, ForgetsAPenThatGoes) {
    auto chart = cbtest::MakeSampleChart();
    cb::chart::TChartSeries* s = chart->SeriesAt(0);
    TButtonPen button;
    button.LinkPen(TEditedObject::Part(&s->Pen(), s));
    delete s;
    EXPECT_EQ(button.Pen(), nullptr);
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1) << "without a pen only the click handler runs";
}

TEST(PenDialog, EditsAChartPenLiveAndCancelRestoresIt) {
    auto chart = cbtest::MakeSampleChart();
    TChartPen& pen = chart->BottomAxis().AxisPen();
    const int width = pen.Width();
    TButtonPen button;
    button.LinkPen(TEditedObject::Part(&pen, chart.get()));
    button.show();
    bool ok = true;
    button.OnClick = [&] { ok = true; };
    ok = false;
    cbtest::OnNextModal([&](QWidget* w) {
        auto* d = dynamic_cast<TPenDialog*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Border Editor");
        EXPECT_TRUE(d->CBVisible->isVisibleTo(d));
        EXPECT_EQ(d->CBStyle->count(), 6);
        EXPECT_TRUE(d->CBEndStyle->isVisibleTo(d));
        d->SEWidth->setFocus();
        QTest::keyClick(d->SEWidth, Qt::Key_Up);
        EXPECT_EQ(pen.Width(), width + 1);
        QTest::mouseClick(d->CBVisible, Qt::LeftButton, {}, QPoint(8, d->CBVisible->height() / 2));
        EXPECT_FALSE(pen.Visible());
        cbtest::Screenshot(d, "pen_dialog");
        QTest::mouseClick(d->BCancel, Qt::LeftButton);
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(ok) << "Cancel runs no click handler";
    EXPECT_EQ(pen.Width(), width);
    EXPECT_TRUE(pen.Visible());

    cbtest::OnNextModal([&](QWidget* w) {
        auto* d = dynamic_cast<TPenDialog*>(w);
        d->CBStyle->setCurrentIndex(2);
        emit d->CBStyle->activated(2);
        QTest::mouseClick(d->BOk, Qt::LeftButton);
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_TRUE(ok);
    EXPECT_EQ(pen.Style(), cb::gfx::psDot);
}

TEST(PenDialog, PlainPenAndSmallDots) {
    cb::gfx::TPen plain;
    plain.SetStyle(cb::gfx::psDash);
    cbtest::OnNextModal([&](QWidget* w) {
        auto* d = dynamic_cast<TPenDialog*>(w);
        EXPECT_FALSE(d->CBVisible->isVisibleTo(d));
        EXPECT_FALSE(d->CBEndStyle->isVisibleTo(d));
        EXPECT_EQ(d->CBStyle->count(), 5);
        EXPECT_EQ(d->CBStyle->currentIndex(), 1);
        d->reject();
    });
    EXPECT_FALSE(EditChartPen(nullptr, TEditedObject::Unowned(&plain)));

    TChartPen dots;
    dots.SetSmallDots(true);
    cbtest::OnNextModal([&](QWidget* w) {
        auto* d = dynamic_cast<TPenDialog*>(w);
        EXPECT_EQ(d->CBStyle->currentText(), "Small Dots");
        EXPECT_FALSE(d->SEWidth->isEnabled());
        d->accept();
    });
    EXPECT_TRUE(EditChartPen(nullptr, TEditedObject::Unowned(&dots)));
}

TEST(PenDialog, CancelAfterAColourChangeRestoresItWithOneNotification) {
    TChartPen pen;
    pen.SetColor(0x0000FF);
    int notified = 0;
    pen.OnChange = [&](cb::gfx::TGraphicsObject&) { ++notified; };
    cbtest::OnNextModal([&](QWidget* w) {
        auto* d = dynamic_cast<TPenDialog*>(w);
        cbtest::ChooseColorInNextDialog(0x00FF00);
        QTest::mouseClick(d->BColor, Qt::LeftButton);
        EXPECT_EQ(pen.Color(), 0x00FF00u);
        notified = 0;
        d->reject();
    });
    EXPECT_FALSE(EditChartPen(nullptr, TEditedObject::Unowned(&pen)));
    EXPECT_EQ(pen.Color(), 0x0000FFu);
    EXPECT_EQ(notified, 1);
}

TEST(EditorHelpers, DeleteQuestionAndPresets) {
    cbtest::TConfirmAnswer yes(true);
    EXPECT_TRUE(ConfirmDelete("Series1"));
    EXPECT_EQ(yes.Asked, "Delete Series1 ?");
    QStringList presets;
    AddValueFormatPresets(presets);
    ASSERT_EQ(presets.size(), 9);
    EXPECT_EQ(presets.front(), "#,##0.###");
    EXPECT_EQ(presets[7], "#.0 \"x10\" E+0");
}

}  // namespace
