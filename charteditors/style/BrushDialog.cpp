#include "charteditors/style/BrushDialog.h"

#include "chart/core/PlotTexts.h"
#include "chart/style/ChartBrush.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/style/StyleHelpers.h"
#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exception.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <array>
#include <cmath>
#include <cstdint>

namespace cb::charteditors {

using cb::chart::TChartBrush;

namespace {

const std::array<const char*, BrushListEntries> EntryNames = {
    "Solid",          "None",         "Horizontal",     "Vertical",         "Diagonal",    "Back Diagonal",
    "Cross",          "Diagonal Cross", "Fill 80%",     "Fill 60%",         "Fill 40%",    "Fill 20%",
    "Fill 10%",       "Zig zag",      "Vertical small", "Horiz. small",     "Diag. small", "Back Diag. small",
    "Cross small",    "Diag. Cross small", "Metal",     "Wood",             "Stone",       "Clouds",
    "Grass",          "Fire",         "Snow"};

// Whether pattern p (0 .. 11) sets pixel (x, y) of its 16 x 16 cell.
bool PatternPixel(int p, int x, int y) {
    switch (p) {
    case 0: return (x + 2 * y) % 5 != 0;  // 80 %
    case 1: return (x + 2 * y) % 5 < 3;   // 60 %
    case 2: return (x + 2 * y) % 5 < 2;   // 40 %
    case 3: return (x + 2 * y) % 5 == 0;  // 20 %
    case 4: return (x + 3 * y) % 10 == 0; // 10 %
    case 5: {                             // zig zag, 4 rows high
        const int phase = x % 8;
        return y % 4 == (phase < 4 ? phase : 7 - phase);
    }
    case 6: return x % 4 == 0;
    case 7: return y % 4 == 0;
    case 8: return (x + y) % 4 == 3;
    case 9: return (x - y + 16) % 4 == 0;
    case 10: return x % 4 == 0 || y % 4 == 0;
    case 11: return (x + y) % 4 == 3 || (x - y + 16) % 4 == 0;
    default: return false;
    }
}

// A small repeatable noise in 0 .. 1 for the textures.
double Noise(int x, int y, int seed) {
    std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u + std::uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

QRgb Mix(QColor a, QColor b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return qRgb(int(a.red() + (b.red() - a.red()) * t), int(a.green() + (b.green() - a.green()) * t),
                int(a.blue() + (b.blue() - a.blue()) * t));
}

// Texture t (0 .. 6: metal, wood, stone, clouds, grass, fire, snow), 64 x 64.
QImage Texture(int t) {
    constexpr int Side = 64;
    QImage img(Side, Side, QImage::Format_RGB32);
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) {
            const double n = Noise(x, y, t);
            const double soft = (Noise(x / 4, y / 4, t + 10) + Noise(x / 8, y / 8, t + 20)) / 2;
            QRgb c = 0;
            switch (t) {
            case 0:  // brushed metal: horizontal streaks
                c = Mix(QColor(150, 155, 160), QColor(225, 228, 232), 0.6 * Noise(0, y, 7) + 0.4 * n);
                break;
            case 1: {  // wood: rings
                const double ring = std::sin((std::hypot(x - 10.0, y * 0.3 - 40.0) + 4 * soft) * 0.9);
                c = Mix(QColor(120, 70, 30), QColor(190, 130, 70), 0.5 + 0.5 * ring);
                break;
            }
            case 2:  // stone
                c = Mix(QColor(95, 95, 90), QColor(185, 180, 170), 0.7 * soft + 0.3 * n);
                break;
            case 3:  // clouds
                c = Mix(QColor(70, 130, 220), QColor(250, 250, 255), soft * soft * 1.6);
                break;
            case 4:  // grass: vertical blades
                c = Mix(QColor(20, 90, 20), QColor(110, 190, 60), 0.6 * Noise(x, y / 6, 4) + 0.4 * n);
                break;
            case 5:  // fire: yellow below, red above
                c = Mix(QColor(200, 20, 0), QColor(255, 230, 60), double(y) / Side * 0.7 + 0.4 * soft);
                break;
            default:  // snow: white with blue-grey flakes
                c = n > 0.93 ? qRgb(170, 190, 215) : Mix(QColor(235, 240, 250), QColor(255, 255, 255), soft);
            }
            img.setPixel(x, y, c);
        }
    return img;
}

// Each entry: a 14-pixel sample of the fill on white (none for "None"),
// then the text.
class TBrushEntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
        const QRect r = option.rect;
        const QRect sample(r.left() + 2, r.top() + 2, 14, r.height() - 4);
        const int row = index.row();
        if (row != 1) {
            painter->fillRect(sample, Qt::white);
            if (row < BrushStyleEntries) {
                static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,       Qt::HorPattern,
                                                        Qt::VerPattern,   Qt::BDiagPattern,  Qt::FDiagPattern,
                                                        Qt::CrossPattern, Qt::DiagCrossPattern};
                painter->fillRect(sample, QBrush(Qt::black, styles[row]));
            } else if (auto bitmap = MakeBrushBitmap(row - BrushStyleEntries)) {
                painter->drawImage(sample, bitmap->Image());
            }
        }
        painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
        painter->drawText(r.adjusted(20, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, index.data().toString());
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        return {s.width() + 20, std::max(18, s.height())};
    }
};

}  // namespace

std::unique_ptr<cb::gfx::TBitmap> MakeBrushBitmap(int index) {
    if (index < 0 || index >= BrushPatternEntries + BrushTextureEntries) return nullptr;
    auto bitmap = std::make_unique<cb::gfx::TBitmap>();
    if (index < BrushPatternEntries) {
        QImage img(16, 16, QImage::Format_RGB32);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) img.setPixel(x, y, PatternPixel(index, x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        bitmap->SetImage(img);
        bitmap->SetTransparent(true);
        bitmap->SetTransparentColor(cb::gfx::clWhite);
    } else {
        bitmap->SetImage(Texture(index - BrushPatternEntries));
    }
    return bitmap;
}

TBrushDialog::TBrushDialog(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Pattern Color Editor");
    LStyle = new QListWidget(this);
    for (const char* name : EntryNames) LStyle->addItem(name);
    LStyle->setItemDelegate(new TBrushEntryDelegate(LStyle));
    LStyle->setMinimumSize(170, 260);
    BColor = new TColorButton(this);
    BColor->setText("&Color...");
    BColor->setMinimumWidth(95);
    Image1 = new QLabel(this);
    Image1->setFixedSize(80, 80);
    Image1->setFrameShape(QFrame::StyledPanel);
    Image1->setAlignment(Qt::AlignCenter);
    Button1 = new QPushButton("&Image...", this);
    Button2 = new QPushButton("OK", this);
    Button2->setDefault(true);
    Button3 = new QPushButton("Cancel", this);

    auto* right = new QVBoxLayout;
    right->addWidget(BColor);
    right->addSpacing(8);
    right->addWidget(Image1);
    right->addWidget(Button1);
    right->addStretch();
    right->addWidget(Button2);
    right->addWidget(Button3);
    auto* top = new QHBoxLayout(this);
    top->addWidget(LStyle, 1);
    top->addLayout(right);
    setTabOrder(LStyle, BColor);
    setTabOrder(BColor, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);

    connect(LStyle, &QListWidget::currentRowChanged, this, [this](int row) { StyleClicked(row); });
    connect(Button1, &QPushButton::clicked, this, [this] { ImageClicked(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

TChartBrush* TBrushDialog::Brush() const {
    return Edited().As<TChartBrush>();
}

void TBrushDialog::FormShow() {
    TChartBrush* brush = Brush();
    if (!brush) return;
    KeepBackup(*brush);
    SelectStyleEntry();
    BColor->LinkColor(
        brush, [brush] { return brush->Color(); }, [brush](cb::gfx::TColor c) { brush->SetColor(c); });
    UpdateImageButton();
    UpdateColorButton();
}

void TBrushDialog::SelectStyleEntry() {
    TChartBrush* brush = Brush();
    TFilling filling(*this);
    const bool picture = brush->HasImage() && !brush->Image().Empty();
    LStyle->setCurrentRow(picture ? -1 : std::clamp(int(brush->Style()), 0, BrushStyleEntries - 1));
}

void TBrushDialog::StyleClicked(int row) {
    TChartBrush* brush = Brush();
    if (!brush || Filling() || row < 0) return;
    if (row < BrushStyleEntries) {
        brush->BeginUpdate();
        brush->SetStyle(cb::gfx::TBrushStyle(row));
        brush->SetImage(nullptr);
        brush->EndUpdate();
    } else if (auto bitmap = MakeBrushBitmap(row - BrushStyleEntries)) {
        brush->SetImage(bitmap.get());
    }
    UpdateImageButton();
    UpdateColorButton();
}

void TBrushDialog::ImageClicked() {
    TChartBrush* brush = Brush();
    if (!brush) return;
    SelectStyleEntry();
    if (Button1->property("Tag").toInt() == 1) {
        brush->SetImage(nullptr);
    } else {
        const std::string file = ChoosePictureFile(this);
        if (!file.empty()) {
            try {
                std::unique_ptr<cb::gfx::TBitmap> bitmap = LoadPictureBitmap(file);
                brush->SetImage(bitmap.get());
                SelectStyleEntry();
            } catch (const cb::rtl::Exception& e) {
                ShowPictureError(this, e.what());
            }
        }
    }
    UpdateImageButton();
    UpdateColorButton();
}

void TBrushDialog::UpdateImageButton() {
    TChartBrush* brush = Brush();
    const bool picture = brush && brush->HasImage() && !brush->Image().Empty();
    Button1->setProperty("Tag", picture ? 1 : 0);
    if (picture) {
        Button1->setText(QString::fromStdString(cb::chart::PlotText(cb::chart::TPlotText::txtClear)));
        Image1->setPixmap(QPixmap::fromImage(brush->Image().Image().scaled(Image1->size() - QSize(4, 4),
                                                                            Qt::KeepAspectRatio)));
    } else {
        Button1->setText(QString::fromStdString(cb::chart::PlotText(cb::chart::TPlotText::txtBrowse)));
        Image1->clear();
    }
}

void TBrushDialog::UpdateColorButton() {
    TChartBrush* brush = Brush();
    BColor->setEnabled(brush && brush->Style() != cb::gfx::bsClear);
}

bool EditChartBrush(QWidget* form, const TEditedObject& brush) {
    auto dialog = CreateEditorDialog<TBrushDialog>(form);
    dialog->BindObject(brush);
    return dialog->exec() == QDialog::Accepted;
}

}  // namespace cb::charteditors
