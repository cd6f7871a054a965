#include "chartexport/raster/RasterOptions.h"

#include "chartexport/raster/BMPExportFormat.h"
#include "chartexport/raster/GIFExportFormat.h"
#include "chartexport/raster/JPEGExportFormat.h"
#include "chartexport/raster/PNGExportFormat.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace cb::chartexport {

namespace {

// Two choices side by side in a titled group.
QGroupBox* RadioPair(QWidget* parent, const QString& title, QRadioButton*& first, const QString& firstText,
                     QRadioButton*& second, const QString& secondText) {
    auto* box = new QGroupBox(title, parent);
    auto* row = new QHBoxLayout(box);
    first = new QRadioButton(firstText, box);
    second = new QRadioButton(secondText, box);
    row->addWidget(first);
    row->addWidget(second);
    row->addStretch();
    return box;
}

QComboBox* Combo(QWidget* parent, std::initializer_list<const char*> items) {
    auto* combo = new QComboBox(parent);
    for (const char* item : items) combo->addItem(QString::fromUtf8(item));
    return combo;
}

QSpinBox* Spin(QWidget* parent, int low, int high) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(low, high);
    return spin;
}

// A form row whose label's hot key moves to the field. Labels stand above their fields: the forms are narrow.
void AddRow(QFormLayout* form, const QString& text, QWidget* field) {
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    auto* label = new QLabel(text, field->parentWidget());
    label->setBuddy(field);
    form->addRow(label, field);
}

}  // namespace

TPlotJPEGOptions::TPlotJPEGOptions(TJPEGExportFormat& format) : FFormat(format) {
    auto* column = new QVBoxLayout(this);
    column->addWidget(RadioPair(this, tr("&Performance:"), RBQuality, tr("Q&uality"), RBSpeed, tr("&Speed")));
    CBGray = new QCheckBox(tr("&Gray scale"), this);
    column->addWidget(CBGray);
    auto* form = new QFormLayout;
    EQuality = Spin(this, 1, 100);
    AddRow(form, tr("% &Quality:"), EQuality);
    column->addLayout(form);
    column->addStretch();
    Refresh();
    connect(RBSpeed, &QRadioButton::toggled, this,
            [this](bool on) { FFormat.Performance = on ? jpBestSpeed : jpBestQuality; });
    connect(CBGray, &QCheckBox::toggled, this, [this](bool on) { FFormat.GrayScale = on; });
    connect(EQuality, &QSpinBox::valueChanged, this, [this](int v) { FFormat.Quality = v; });
}

void TPlotJPEGOptions::Refresh() {
    const QSignalBlocker a(RBQuality), b(RBSpeed), c(CBGray), d(EQuality);
    (FFormat.Performance == jpBestSpeed ? RBSpeed : RBQuality)->setChecked(true);
    CBGray->setChecked(FFormat.GrayScale);
    EQuality->setValue(FFormat.Quality);
}

TPlotPNGOptions::TPlotPNGOptions(TPNGExportFormat& format) : FFormat(format) {
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    ELevel = Spin(this, 0, 9);
    AddRow(form, tr("&Compression level:"), ELevel);
    column->addLayout(form);
    column->addStretch();
    Refresh();
    connect(ELevel, &QSpinBox::valueChanged, this, [this](int v) { FFormat.CompressionLevel = v; });
}

void TPlotPNGOptions::Refresh() {
    const QSignalBlocker a(ELevel);
    ELevel->setValue(FFormat.CompressionLevel);
}

TPlotGIFOptions::TPlotGIFOptions(TGIFExportFormat& format) : FFormat(format) {
    auto* column = new QVBoxLayout(this);
    column->addWidget(RadioPair(this, tr("&Compression:"), RBLZW, QStringLiteral("LZW"), RBRLE, QStringLiteral("RLE")));
    auto* form = new QFormLayout;
    // Item positions are the GIF image's dither and reduction kinds.
    CBDither = Combo(this, {"Nearest", "Floyd Steinberg", "Stucki", "Sierra", "JaJuNI", "Steve Arche", "Burkes"});
    CBReduction = Combo(this, {"None", "Windows 20", "Windows 256", "Windows Gray", "Monochrome", "Gray Scale",
                               "Netscape", "Quantize", "Quantize 256"});
    AddRow(form, tr("&Dither:"), CBDither);
    AddRow(form, tr("&Reduction:"), CBReduction);
    column->addLayout(form);
    column->addStretch();
    Refresh();
    connect(RBRLE, &QRadioButton::toggled, this,
            [this](bool on) { FFormat.Compression = on ? cb::gif::cmRLE : cb::gif::cmLZW; });
    connect(CBDither, &QComboBox::currentIndexChanged, this,
            [this](int i) { FFormat.Dither = static_cast<cb::gif::TGIFDitherKind>(std::max(i, 0)); });
    connect(CBReduction, &QComboBox::currentIndexChanged, this,
            [this](int i) { FFormat.Reduction = static_cast<cb::gif::TGIFReductionKind>(std::max(i, 0)); });
}

void TPlotGIFOptions::Refresh() {
    const QSignalBlocker a(RBLZW), b(RBRLE), c(CBDither), d(CBReduction);
    (FFormat.Compression == cb::gif::cmRLE ? RBRLE : RBLZW)->setChecked(true);
    CBDither->setCurrentIndex(FFormat.Dither);
    CBReduction->setCurrentIndex(FFormat.Reduction);
}

TBMPOptions::TBMPOptions(TBMPExportFormat& format) : FFormat(format) {
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    // Item positions are TBMPColors.
    CBColors = Combo(this, {"Default", "2 (1 bit)", "16 (4 bit)", "256 (8 bit)", "32768 (15 bit)", "65536 (16 bit)",
                            "16M (24 bit)", "16M (32 bit)"});
    AddRow(form, tr("&Colors:"), CBColors);
    column->addLayout(form);
    CBMono = new QCheckBox(tr("&Monochrome"), this);
    column->addWidget(CBMono);
    column->addStretch();
    Refresh();
    connect(CBColors, &QComboBox::currentIndexChanged, this,
            [this](int i) { FFormat.Colors = static_cast<TBMPColors>(std::max(i, 0)); });
    connect(CBMono, &QCheckBox::toggled, this, [this](bool on) { FFormat.Monochrome = on; });
}

void TBMPOptions::Refresh() {
    const QSignalBlocker a(CBColors), b(CBMono);
    CBColors->setCurrentIndex(FFormat.Colors);
    CBMono->setChecked(FFormat.Monochrome);
}

}  // namespace cb::chartexport
