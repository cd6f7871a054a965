// The brush, gradient, shadow, font and shape editors on the sample chart's
// own objects: change with QTest, check the object, then Cancel (or not).
#include "EditorTestSupport.h"
#include "chart/component/ChartTitle.h"
#include "chart/component/ChartWalls.h"
#include "chart/panel/PlotShape.h"
#include "chart/style/ChartBrush.h"
#include "chart/style/PlotFont.h"
#include "chart/style/PlotGradient.h"
#include "chart/style/PlotShadow.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/common/PenDialog.h"
#include "charteditors/style/BrushDialog.h"
#include "charteditors/style/FontEditor.h"
#include "charteditors/style/GradientEditor.h"
#include "charteditors/style/ShadowEditor.h"
#include "charteditors/style/ShapeEditor.h"
#include "charteditors/style/StyleEditors.h"
#include "charteditors/style/StyleHelpers.h"
#include "platform/gfx/Bitmap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace cb::charteditors;
using namespace cb::chart;

namespace {

// Clicks the list entry with this text.
void ClickEntry(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    list->scrollToItem(found[0]);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
}

// Clicks a check box on its box (a click right of its text misses it).
void ClickCheck(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

template <class T>
std::unique_ptr<T> ShowDialog(const TEditedObject& object) {
    auto d = CreateEditorDialog<T>(nullptr);
    d->BindObject(object);
    d->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(d.get()));
    return d;
}

// Answers the next picture file question.
class TPictureAnswer {
public:
    explicit TPictureAnswer(std::string file) {
        SetPictureFileChooser([file](QWidget*) { return file; });
        SetPictureErrorSink([this](const std::string& m) { Error = m; });
    }
    ~TPictureAnswer() {
        SetPictureFileChooser({});
        SetPictureErrorSink({});
    }
    std::string Error;
};

TEST(StyleEditors, RegisteredUnderTheirClassNames) {
    RegisterStyleEditors();
    const std::vector<std::pair<std::string, std::function<bool(TEditorForm*)>>> cases = {
        {"TPenDialog", [](TEditorForm* f) { return dynamic_cast<TPenDialog*>(f) != nullptr; }},
        {"TBrushDialog", [](TEditorForm* f) { return dynamic_cast<TBrushDialog*>(f) != nullptr; }},
        {"TPlotGradientEditor", [](TEditorForm* f) { return dynamic_cast<TPlotGradientEditor*>(f) != nullptr; }},
        {"TPlotShadowEditor", [](TEditorForm* f) { return dynamic_cast<TPlotShadowEditor*>(f) != nullptr; }},
        {"TPlotFontEditor", [](TEditorForm* f) { return dynamic_cast<TPlotFontEditor*>(f) != nullptr; }},
        {"TFormPlotShape", [](TEditorForm* f) { return dynamic_cast<TFormPlotShape*>(f) != nullptr; }},
    };
    for (const auto& [name, isRight] : cases) {
        auto form = CreateEditorByName(name, nullptr);
        ASSERT_NE(form, nullptr) << name;
        EXPECT_TRUE(isRight(form.get())) << name;
    }
}

TEST(BrushDialog, HatchPatternAndTextureThenCancelRestores) {
    auto chart = cbtest::MakeSampleChart();
    TChartBrush& brush = chart->BackWall().Brush();
    brush.SetStyle(cb::gfx::bsCross);
    const auto d = ShowDialog<TBrushDialog>(TEditedObject::Part(&brush, chart.get()));
    EXPECT_EQ(d->windowTitle(), "Pattern Color Editor");
    EXPECT_EQ(d->LStyle->count(), BrushListEntries);
    EXPECT_EQ(d->LStyle->currentRow(), int(cb::gfx::bsCross));
    EXPECT_EQ(d->Button1->text(), "B&rowse...");

    ClickEntry(d->LStyle, "Back Diagonal");
    EXPECT_EQ(brush.Style(), cb::gfx::bsBDiagonal);
    EXPECT_FALSE(brush.HasImage() && !brush.Image().Empty());

    ClickEntry(d->LStyle, "Fill 20%");
    ASSERT_TRUE(brush.HasImage());
    EXPECT_EQ(brush.Image().Width(), 16);
    EXPECT_EQ(brush.Image().Height(), 16);
    EXPECT_EQ(d->Button1->text(), "Clea&r");

    ClickEntry(d->LStyle, "Metal");
    EXPECT_GT(brush.Image().Width(), 16);
    cbtest::Screenshot(d.get(), "brush_dialog");

    ClickEntry(d->LStyle, "None");
    EXPECT_EQ(brush.Style(), cb::gfx::bsClear);
    EXPECT_FALSE(d->BColor->isEnabled()) << "no colour for a clear brush";
    ClickEntry(d->LStyle, "Metal");

    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_EQ(brush.Style(), cb::gfx::bsCross);
    EXPECT_FALSE(brush.HasImage() && !brush.Image().Empty());
}

TEST(BrushDialog, PatternsAreDistinctSixteenSquareBitmaps) {
    std::set<std::vector<int>> seen;
    for (int i = 0; i < BrushPatternEntries; ++i) {
        auto b = MakeBrushBitmap(i);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->Width(), 16);
        EXPECT_TRUE(b->Transparent());
        EXPECT_EQ(b->TransparentColor(), cb::gfx::clWhite);
        std::vector<int> bits;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) bits.push_back(b->Image().pixel(x, y) == qRgb(0, 0, 0));
        EXPECT_TRUE(seen.insert(bits).second) << "pattern " << i << " repeats another";
    }
    EXPECT_EQ(MakeBrushBitmap(-1), nullptr);
    EXPECT_EQ(MakeBrushBitmap(BrushPatternEntries + BrushTextureEntries), nullptr);
}

TEST(BrushDialog, PictureFileLoadsAsBitmapOfItsSizeAndBadFilesAreNamed) {
    QTemporaryDir dir;
    const std::string jpeg = (dir.path() + "/photo.jpg").toStdString();
    QImage photo(37, 23, QImage::Format_RGB32);
    photo.fill(QColor(200, 40, 40));
    ASSERT_TRUE(photo.save(QString::fromStdString(jpeg), "JPG"));
    const std::string bad = (dir.path() + "/bad.png").toStdString();
    QFile f(QString::fromStdString(bad));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x89PNG\r\n\x1a\n not really");
    f.close();

    auto chart = cbtest::MakeSampleChart();
    TChartBrush& brush = chart->BackWall().Brush();
    const auto d = ShowDialog<TBrushDialog>(TEditedObject::Part(&brush, chart.get()));
    {
        TPictureAnswer answer(jpeg);
        QTest::mouseClick(d->Button1, Qt::LeftButton);
        EXPECT_EQ(answer.Error, "");
    }
    ASSERT_TRUE(brush.HasImage());
    EXPECT_EQ(brush.Image().Width(), 37);
    EXPECT_EQ(brush.Image().Height(), 23);
    EXPECT_EQ(d->Button1->text(), "Clea&r");
    EXPECT_FALSE(d->Image1->pixmap().isNull());

    QTest::mouseClick(d->Button1, Qt::LeftButton);  // clears
    EXPECT_TRUE(!brush.HasImage() || brush.Image().Empty());
    for (const std::string& file : {bad, (dir.path() + "/missing.png").toStdString()}) {
        TPictureAnswer answer(file);
        QTest::mouseClick(d->Button1, Qt::LeftButton);
        EXPECT_NE(answer.Error.find(file), std::string::npos) << answer.Error;
        EXPECT_TRUE(!brush.HasImage() || brush.Image().Empty()) << file;
    }
}

class GradientEditor : public ::testing::Test {
protected:
    void SetUp() override {
        chart = cbtest::MakeSampleChart();
        gradient = &chart->Gradient();
        gradient->SetVisible(true);
        gradient->SetStartColor(0x112233);
        gradient->SetEndColor(0x445566);
        d = ShowDialog<TPlotGradientEditor>(TEditedObject::Part(gradient, chart.get()));
    }
    std::unique_ptr<TChart> chart;
    TPlotGradient* gradient = nullptr;
    std::unique_ptr<TPlotGradientEditor> d;
};

TEST_F(GradientEditor, PresetsSetColoursDirectionBalanceAndMiddle) {
    EXPECT_EQ(d->windowTitle(), "Gradient Editor");
    ASSERT_EQ(d->Gallery->count(), 17);
    EXPECT_EQ(d->Gallery->item(0)->text(), "Ace") << "the gallery is sorted";
    ClickEntry(d->Gallery, "Hot");
    EXPECT_EQ(gradient->MidColor(), clNone);
    EXPECT_EQ(gradient->StartColor(), 0x0000FFu);
    EXPECT_EQ(gradient->EndColor(), 0x00FFFFu);
    EXPECT_TRUE(d->CBMid->isChecked());
    ClickEntry(d->Gallery, "Ace");
    EXPECT_EQ(gradient->MidColor(), 0xFF8080u);
    EXPECT_EQ(gradient->Direction(), gdBottomTop);
    EXPECT_EQ(gradient->Balance(), 74);
    EXPECT_FALSE(d->CBMid->isChecked());
    EXPECT_EQ(d->CBDirection->currentIndex(), int(gdBottomTop));
    EXPECT_EQ(d->LabelBalance->text(), "74 %");
    cbtest::Screenshot(d.get(), "gradient_editor");

    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_EQ(gradient->StartColor(), 0x112233u);
    EXPECT_EQ(gradient->EndColor(), 0x445566u);
    EXPECT_EQ(gradient->Direction(), gdTopBottom);
    EXPECT_EQ(gradient->Balance(), 50);
    EXPECT_FALSE(gradient->HasMidColor());
}

TEST_F(GradientEditor, DirectionDecidesWhichControlsAreEnabled) {
    struct Case {
        TGradientDirection direction;
        bool middle, radial;
    };
    for (const Case& c : {Case{gdRadial, false, true}, Case{gdFromCenter, false, false},
                          Case{gdLeftRight, true, false}, Case{gdDiagonalUp, true, false}}) {
        d->CBDirection->setCurrentIndex(int(c.direction));
        EXPECT_EQ(gradient->Direction(), c.direction);
        EXPECT_EQ(d->CBMid->isEnabled(), c.middle) << c.direction;
        EXPECT_EQ(d->BMid->isEnabled(), c.middle) << c.direction;
        EXPECT_EQ(d->TrackBar1->isEnabled(), c.radial) << c.direction;
        EXPECT_EQ(d->TrackBar2->isEnabled(), c.radial) << c.direction;
    }
    // A direction other than the first four leaves no preset chosen.
    ClickEntry(d->Gallery, "Golf");
    d->CBDirection->setCurrentIndex(int(gdRadial));
    EXPECT_EQ(d->Gallery->currentRow(), -1);
    d->TrackBar1->setFocus();
    QTest::keyClick(d->TrackBar1, Qt::Key_PageUp);
    EXPECT_NE(gradient->RadialX(), 0);
    EXPECT_EQ(d->LRadialX->text().toInt(), gradient->RadialX());
}

TEST_F(GradientEditor, MiddleColourSwapAndInvisibleGradient) {
    ASSERT_FALSE(gradient->HasMidColor());
    d->PageControl->setCurrentIndex(1);
    ASSERT_TRUE(d->CBMid->isChecked());
    ClickCheck(d->CBMid);
    EXPECT_EQ(gradient->MidColor(), clWhite) << "a gradient that never had a middle gets white";
    ClickCheck(d->CBMid);
    EXPECT_EQ(gradient->MidColor(), clNone);
    QTest::mouseClick(d->BSwap, Qt::LeftButton);
    EXPECT_EQ(gradient->StartColor(), 0x445566u);
    EXPECT_EQ(gradient->EndColor(), 0x112233u);
    ClickCheck(d->CBVisible);
    EXPECT_FALSE(gradient->Visible());
    EXPECT_FALSE(d->BStart->isEnabled());
    EXPECT_FALSE(d->Gallery->isEnabled());
    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_TRUE(gradient->Visible());
    EXPECT_EQ(gradient->StartColor(), 0x112233u);
}

TEST(GradientEditorDialog, OnlyStartHidesEndAndSwapAndOkKeepsChanges) {
    auto chart = cbtest::MakeSampleChart();
    TPlotGradient& g = chart->Gradient();
    cbtest::OnNextModal([](QWidget* w) {
        auto* d = dynamic_cast<TPlotGradientEditor*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(d->BEnd->isHidden());
        EXPECT_TRUE(d->BSwap->isHidden());
        EXPECT_TRUE(d->CBVisible->isHidden());
        EXPECT_TRUE(d->BStart->isEnabled()) << "only-start edits an invisible gradient too";
        d->PageControl->setCurrentIndex(2);
        d->SBBalance->setValue(30);
        QTest::mouseClick(d->BOk, Qt::LeftButton);
    });
    EXPECT_TRUE(EditGradientWithOptions(nullptr, TEditedObject::Part(&g, chart.get()), true, true));
    EXPECT_EQ(g.Balance(), 30);
}

TEST(ShadowEditor, EditsLiveAndClosingKeepsTheChanges) {
    auto chart = cbtest::MakeSampleChart();
    TPlotShadow& shadow = chart->Title().Shadow();
    shadow.SetHorizSize(3);
    cbtest::OnNextModal([&](QWidget* w) {
        auto* d = dynamic_cast<TPlotShadowEditor*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Shadow editor");
        EXPECT_TRUE(d->BOK->isVisible());
        EXPECT_EQ(d->Edit1->value(), 3);
        d->Edit1->setFocus();
        QTest::keyClick(d->Edit1, Qt::Key_Up);
        EXPECT_EQ(shadow.HorizSize(), 4);
        d->EShadowTransp->setValue(40);
        ClickCheck(d->CBSmooth);
        cbtest::Screenshot(d, "shadow_editor");
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EditShadow(nullptr, TEditedObject::Part(&shadow, chart.get()));
    EXPECT_EQ(shadow.HorizSize(), 4);
    EXPECT_EQ(shadow.Transparency(), 40);
    EXPECT_FALSE(shadow.Smooth());
}

class ShapeEditor : public ::testing::Test {
protected:
    void SetUp() override {
        chart = cbtest::MakeSampleChart();
        title = &chart->Title();
        object = TEditedObject::Part<TPlotCustomShape>(title, chart.get());
    }
    std::unique_ptr<TChart> chart;
    TChartTitle* title = nullptr;
    TEditedObject object;
};

TEST_F(ShapeEditor, FormatPageWritesTheShapeAndEscRestoresAWindow) {
    QWidget owner;
    TFormPlotShape* d = CreateShapeEditor(&owner, object, nullptr);
    d->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
    const bool round = title->ShapeStyle() == fosRoundRectangle;
    EXPECT_EQ(d->PC1->currentIndex(), 0);
    EXPECT_FALSE(d->EBevWidth->isEnabled());
    ClickCheck(d->CBRound);
    EXPECT_EQ(title->ShapeStyle() == fosRoundRectangle, !round);
    d->CBBevel->setCurrentIndex(2);
    EXPECT_EQ(title->Bevel(), bcRaised);
    EXPECT_TRUE(d->EBevWidth->isEnabled());
    d->EShadowTransp->setValue(25);
    EXPECT_EQ(title->Transparency(), 25);
    cbtest::Screenshot(d, "shape_editor_format");
    d->PC1->setCurrentIndex(1);
    cbtest::Screenshot(d, "shape_editor_text");
    d->PC1->setCurrentIndex(2);
    cbtest::Screenshot(d, "shape_editor_gradient");

    QTest::keyClick(d, Qt::Key_Escape);
    EXPECT_EQ(title->ShapeStyle() == fosRoundRectangle, round);
    EXPECT_EQ(title->Bevel(), bcNone);
    EXPECT_EQ(title->Transparency(), 0);
}

TEST_F(ShapeEditor, EmbeddedEditorsEditTheShapesFontGradientAndShadow) {
    QWidget host;
    host.resize(420, 320);
    TFormPlotShape* d = CreateShapeEditor(&host, object, &host);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_EQ(d->parentWidget(), &host);

    d->PC1->setCurrentIndex(1);
    TPlotFontEditor* font = d->FontEditor();
    font->Edit2->setValue(3);
    EXPECT_EQ(title->Font().InterCharSize(), 3);
    cbtest::ChooseColorInNextDialog(0x0000FF);
    QTest::mouseClick(font->SHText, Qt::LeftButton);
    EXPECT_EQ(title->Font().Color(), 0x0000FFu);
    EXPECT_EQ(font->SHText->palette().color(QPalette::Window), QColor(255, 0, 0));
    ClickCheck(font->CBOutGrad);
    EXPECT_TRUE(title->Font().Gradient().Outline());

    d->PC1->setCurrentIndex(2);
    EXPECT_TRUE(d->GradientEditor()->Panel1->isHidden()) << "no OK and Cancel inside a page";
    d->GradientEditor()->CBDirection->setCurrentIndex(int(gdLeftRight));
    EXPECT_EQ(title->Gradient().Direction(), gdLeftRight);

    d->PC1->setCurrentIndex(3);
    EXPECT_TRUE(d->ShadowEditor()->BOK->isHidden());
    d->ShadowEditor()->EVertSize->setValue(6);
    EXPECT_EQ(title->Shadow().VertSize(), 6);

    // Bound to another shape, every page follows it.
    d->Bind(TEditedObject::Part<TPlotCustomShape>(&chart->SubTitle(), chart.get()));
    d->ShadowEditor()->EVertSize->setValue(9);
    EXPECT_EQ(chart->SubTitle().Shadow().VertSize(), 9);
    EXPECT_EQ(title->Shadow().VertSize(), 6);
}

TEST_F(ShapeEditor, MergedPagesFollowTheHostsOwnAndStillEdit) {
    QTabWidget host;
    host.addTab(new QWidget, "Style");
    host.addTab(new QWidget, "Position");
    host.setCurrentIndex(1);
    TFormPlotShape* d = MergeShapeEditorPages(&host, object);
    QStringList captions;
    for (int i = 0; i < host.count(); ++i) captions << host.tabText(i);
    EXPECT_EQ(captions, QStringList({"Style", "Position", "Format", "Text", "Gradient", "Shadow"}));
    EXPECT_EQ(host.currentIndex(), 0);
    host.resize(420, 320);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    host.setCurrentIndex(2);
    ClickCheck(d->CBTransparent);
    EXPECT_EQ(title->Transparent(), d->CBTransparent->isChecked());
    host.setCurrentIndex(5);
    d->ShadowEditor()->Edit1->setValue(7);
    EXPECT_EQ(title->Shadow().HorizSize(), 7);
}

TEST(EditFont, WritesTheChosenFontOnOkOnly) {
    TPlotFont font;
    font.SetName("Liberation Sans");
    font.SetSize(9);
    cbtest::OnNextModal([](QWidget* w) {
        auto* d = qobject_cast<QFontDialog*>(w);
        ASSERT_NE(d, nullptr);
        QFont f("DejaVu Serif");
        f.setPointSize(14);
        f.setBold(true);
        d->setCurrentFont(f);
        d->accept();
    });
    EXPECT_TRUE(EditFont(nullptr, font));
    EXPECT_EQ(font.Size(), 14);
    EXPECT_TRUE(font.Bold());
    EXPECT_EQ(font.Name(), "DejaVu Serif");
    cbtest::OnNextModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_FALSE(EditFont(nullptr, font));
    EXPECT_EQ(font.Size(), 14);
}

}  // namespace
