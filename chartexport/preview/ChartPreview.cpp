#include "chartexport/preview/ChartPreview.h"

#include "chartexport/navigator/PlotNavigator.h"
#include "chartexport/preview/ChartPreviewer.h"

#include "chart/panel/CustomPlotPanel.h"
#include "platform/desktop/SaveDialog.h"
#include "platform/rtl/ScopeGuard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <string>

namespace cb::chartexport {

using cb::gfx::TRect;

namespace {

int& Side(TRect& r, int side) {
    switch (side) {
    case 0:
        return r.Left;
    case 1:
        return r.Top;
    case 2:
        return r.Right;
    default:
        return r.Bottom;
    }
}

}  // namespace

std::unique_ptr<QPrinter> NewChartPrinter() {
    auto printer = std::make_unique<QPrinter>();
    // Charts are wider than tall: a new printer starts in landscape; after
    // that the orientation is the user's.
    printer->setPageOrientation(QPageLayout::Landscape);
    return printer;
}

TChartPreview::TChartPreview(QWidget* parent)
    : QDialog(parent), FOwnPrinter(NewChartPrinter()), FPrinter(FOwnPrinter.get()) {
    // A title and a close button: window managers then offer no maximise button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle("DezAvoze Print Preview");
    resize(530, 378);
    auto* root = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* printerLabel = new QLabel("P&rinter:", this);
    CBPrinters = new QComboBox(this);
    printerLabel->setBuddy(CBPrinters);
    BSetupPrinter = new QPushButton("&Setup...", this);
    BPrint = new QPushButton("&Print", this);
    BClose = new QPushButton("Close", this);
    BClose->setDefault(true);
    top->addWidget(printerLabel);
    top->addWidget(CBPrinters, 1);
    top->addWidget(BSetupPrinter);
    top->addWidget(BPrint);
    top->addWidget(BClose);
    root->addLayout(top);

    auto* body = new QHBoxLayout;
    auto* left = FLeftPanel = new QVBoxLayout;
    Orientation = new QGroupBox("Orien&tation:", this);
    auto* orientation = new QVBoxLayout(Orientation);
    RBPortrait = new QRadioButton("P&ortrait", Orientation);
    RBLandscape = new QRadioButton("&Landscape", Orientation);
    orientation->addWidget(RBPortrait);
    orientation->addWidget(RBLandscape);
    left->addWidget(Orientation);

    GBMargins = new QGroupBox("Margins (%)", this);
    auto* margins = new QGridLayout(GBMargins);
    auto spin = [this](const char* name) {
        auto* s = new QSpinBox(GBMargins);
        s->setObjectName(name);
        s->setRange(0, 100);
        s->setSingleStep(5);
        s->setValue(0);
        return s;
    };
    UDTopMa = spin("UDTopMa");
    UDLeftMa = spin("UDLeftMa");
    UDBotMa = spin("UDBotMa");
    UDRightMa = spin("UDRightMa");
    margins->addWidget(UDTopMa, 0, 1);
    margins->addWidget(UDLeftMa, 1, 0);
    margins->addWidget(UDRightMa, 1, 2);
    margins->addWidget(UDBotMa, 2, 1);
    left->addWidget(GBMargins);

    ChangeDetailGroup = new QGroupBox("Detail:", this);
    auto* detail = new QHBoxLayout(ChangeDetailGroup);
    Resolution = new QSlider(Qt::Horizontal, ChangeDetailGroup);
    Resolution->setRange(0, 100);
    Resolution->setSingleStep(2);
    Resolution->setTickInterval(10);
    Resolution->setTickPosition(QSlider::TicksBelow);
    detail->addWidget(new QLabel("More", ChangeDetailGroup));
    detail->addWidget(Resolution, 1);
    detail->addWidget(new QLabel("Normal", ChangeDetailGroup));
    left->addWidget(ChangeDetailGroup);

    BReset = new QPushButton("Reset &Margins", this);
    BReset->setEnabled(false);
    ShowMargins = new QCheckBox("&View Margins", this);
    ShowMargins->setChecked(true);
    CBProp = new QCheckBox("Proport&ional", this);
    CBProp->setChecked(true);
    CheckBox1 = new QCheckBox("Sm&ooth", this);
    for (QWidget* w : {static_cast<QWidget*>(BReset), static_cast<QWidget*>(ShowMargins), static_cast<QWidget*>(CBProp),
                       static_cast<QWidget*>(CheckBox1)})
        left->addWidget(w);
    left->addStretch(1);
    body->addLayout(left);

    PlotPreviewPanel1 = new TPlotPreviewPanel(this);
    PlotPreviewPanel1->setObjectName("PlotPreviewPanel1");
    PlotPreviewPanel1->SetPrinter(FPrinter);
    PlotPreviewPanel1->setMinimumSize(200, 150);
    QPalette p = PlotPreviewPanel1->palette();
    p.setColor(QPalette::Window, QColor(192, 192, 192));
    PlotPreviewPanel1->setPalette(p);
    body->addWidget(PlotPreviewPanel1, 1);
    root->addLayout(body, 1);

    connect(BClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(BPrint, &QPushButton::clicked, this, [this] { PrintClicked(); });
    connect(BSetupPrinter, &QPushButton::clicked, this, [this] {
        QPageSetupDialog dialog(FPrinter, this);
        dialog.exec();
        FillPrinters();
        PlotPreviewPanel1->update();
    });
    connect(CBPrinters, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0 || FChangingMargins) return;
        if (PdfFileChosen()) {
            FPrinter->setOutputFormat(QPrinter::PdfFormat);
        } else {
            FPrinter->setOutputFormat(QPrinter::NativeFormat);
            FPrinter->setPrinterName(CBPrinters->itemText(index));
        }
        OrientationClicked();
    });
    connect(RBPortrait, &QRadioButton::clicked, this, [this] { OrientationClicked(); });
    connect(RBLandscape, &QRadioButton::clicked, this, [this] { OrientationClicked(); });
    connect(UDLeftMa, &QSpinBox::valueChanged, this, [this] { MarginChanged(UDLeftMa, 0); });
    connect(UDTopMa, &QSpinBox::valueChanged, this, [this] { MarginChanged(UDTopMa, 1); });
    connect(UDRightMa, &QSpinBox::valueChanged, this, [this] { MarginChanged(UDRightMa, 2); });
    connect(UDBotMa, &QSpinBox::valueChanged, this, [this] { MarginChanged(UDBotMa, 3); });
    connect(BReset, &QPushButton::clicked, this, [this] {
        if (auto* panel = PlotPreviewPanel1->Panel()) panel->SetPrintMargins(FOldMargins);
        SetSpins(FOldMargins);
        PlotPreviewPanel1->update();
        BReset->setEnabled(false);
    });
    connect(ShowMargins, &QCheckBox::toggled, this, [this](bool on) {
        PlotPreviewPanel1->Margins.Visible = on;
        PlotPreviewPanel1->update();
    });
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) { PlotPreviewPanel1->SetAsBitmap(on); });
    connect(CBProp, &QCheckBox::toggled, this, [this](bool on) {
        if (FChangingProp) return;
        if (auto* panel = PlotPreviewPanel1->Panel()) panel->SetPrintProportional(on);
        RefreshMargins();
    });
    connect(Resolution, &QSlider::valueChanged, this, [this](int position) {
        if (auto* panel = PlotPreviewPanel1->Panel()) panel->SetPrintResolution(position - 100);
        PlotPreviewPanel1->update();
    });
    PlotPreviewPanel1->OnChangeMargins = [this](TPlotPreviewPanel*, bool disableProportional, const TRect& m) {
        SetSpins(m);
        if (disableProportional) {
            if (auto* panel = PlotPreviewPanel1->Panel()) panel->SetPrintProportional(false);
            FChangingProp = true;
            CBProp->setChecked(false);
            FChangingProp = false;
        }
    };
}

TChartPreview::~TChartPreview() = default;

void TChartPreview::SetPrinter(QPrinter* printer) {
    FPrinter = printer ? printer : FOwnPrinter.get();
    PlotPreviewPanel1->SetPrinter(FPrinter);
}

void TChartPreview::FillPrinters() {
    FChangingMargins = true;
    const auto restore = cb::rtl::OnScopeExit([this] { FChangingMargins = false; });
    CBPrinters->clear();
    const auto printers = QPrinterInfo::availablePrinters();
    for (const auto& info : printers) CBPrinters->addItem(info.printerName());
    // A PDF file is always a printer, as on other desktops.
    CBPrinters->addItem(KPdfFileEntry);
    const bool any = !printers.isEmpty();
    if (!any || FPrinter->outputFormat() == QPrinter::PdfFormat) FPrinter->setOutputFormat(QPrinter::PdfFormat);
    BPrint->setEnabled(PlotPreviewPanel1->Panel() != nullptr);
    BSetupPrinter->setEnabled(any);
    Orientation->setEnabled(true);
    const int index = FPrinter->outputFormat() == QPrinter::PdfFormat ? CBPrinters->count() - 1
                                                                      : CBPrinters->findText(FPrinter->printerName());
    CBPrinters->setCurrentIndex(index < 0 ? 0 : index);
    const bool landscape = FPrinter->pageLayout().orientation() == QPageLayout::Landscape;
    RBLandscape->setChecked(landscape);
    RBPortrait->setChecked(!landscape);
}

bool TChartPreview::PdfFileChosen() const {
    return CBPrinters->currentIndex() == CBPrinters->count() - 1;
}

void TChartPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    TakePanel();
}

void TChartPreview::CreateNavigator() {
    if (!FNavigatorClass || FNavigator) return;
    FNavigator = FNavigatorClass(this);
    if (!FNavigator) return;
    FNavigator->setParent(this);
    FNavigator->SetAligned(true);
    FLeftPanel->addWidget(FNavigator);
    auto clicked = FNavigator->OnButtonClicked;
    FNavigator->OnButtonClicked = [this, clicked](TPlotNavigateBtn index) {
        if (clicked) clicked(index);
        PlotPreviewPanel1->update();
    };
    FNavigator->show();
    layout()->activate();
}

void TChartPreview::PrintClicked() {
    // A file the user chose is asked for again next time; one the creator set stays.
    bool askedFile = false;
    if (PdfFileChosen() && FPrinter->outputFileName().isEmpty()) {
        const std::string file =
            OnAskPdfFile ? OnAskPdfFile()
                         : cb::os::AskSaveFileName(this, {"Print to PDF File", "PDF Document (*.pdf)", {"pdf"}});
        if (file.empty()) return;
        FPrinter->setOutputFormat(QPrinter::PdfFormat);
        FPrinter->setOutputFileName(QString::fromStdString(file));
        askedFile = true;
    }
    const auto forget = cb::rtl::OnScopeExit([this, askedFile] {
        if (askedFile) FPrinter->setOutputFileName(QString());
    });
    std::string error;
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const auto cursor = cb::rtl::OnScopeExit([] { QGuiApplication::restoreOverrideCursor(); });
        try {
            if (FNavigator && FNavigator->PageCount() > 1)
                FNavigator->Print();
            else
                PlotPreviewPanel1->Print();
        } catch (const std::exception& e) {
            error = e.what();
        }
    }
    if (!error.empty()) QMessageBox::critical(this, windowTitle(), QString::fromStdString(error));
}

// The user's orientation stays: the dialog shows the printer's as it is.
void TChartPreview::TakePanel() {
    CreateNavigator();
    QGuiApplication::restoreOverrideCursor();
    FillPrinters();
    auto* panel = PlotPreviewPanel1->Panel();
    const bool hasPanel = panel != nullptr;
    CBProp->setEnabled(hasPanel);
    Resolution->setEnabled(hasPanel);
    GBMargins->setEnabled(hasPanel);
    if (!hasPanel) BPrint->setEnabled(false);
    if (hasPanel) {
        FChangingProp = true;
        CBProp->setChecked(panel->PrintProportional());
        FChangingProp = false;
        Resolution->setValue(std::clamp(panel->PrintResolution() + 100, 0, 100));
        FOldMargins = panel->PrintMargins();
        RefreshMargins();
    }
    if (FNavigator) FNavigator->SetPanel(panel);
    FChangingProp = true;
    CheckBox1->setChecked(PlotPreviewPanel1->AsBitmap());
    FChangingProp = false;
    if (!(Options & cpoChangePrinter)) CBPrinters->setEnabled(false);
    if (!(Options & cpoSetupPrinter)) BSetupPrinter->setEnabled(false);
    if (!(Options & cpoChangeDetail)) ChangeDetailGroup->setEnabled(false);
    if (!(Options & cpoChangePaperOrientation)) Orientation->setEnabled(false);
    if (!(Options & cpoChangeMargins)) {
        GBMargins->setEnabled(false);
        BReset->setEnabled(false);
    }
}

void TChartPreview::SetSpins(const TRect& m) {
    FChangingMargins = true;
    const auto restore = cb::rtl::OnScopeExit([this] { FChangingMargins = false; });
    UDLeftMa->setValue(m.Left);
    UDRightMa->setValue(m.Right);
    UDTopMa->setValue(m.Top);
    UDBotMa->setValue(m.Bottom);
}

void TChartPreview::RefreshMargins() {
    auto* panel = PlotPreviewPanel1->Panel();
    if (!panel) return;
    if (panel->PrintProportional() && PlotPreviewPanel1->HasPrinter()) {
        FOldMargins = panel->ProportionalPrintMargins(FPrinter);
        panel->SetPrintMargins(FOldMargins);
    }
    SetSpins(panel->PrintMargins());
    PlotPreviewPanel1->update();
}

void TChartPreview::MarginChanged(QSpinBox* box, int side) {
    auto* panel = PlotPreviewPanel1->Panel();
    if (!panel || FChangingMargins) return;
    TRect m = panel->PrintMargins();
    const int opposite = Side(m, (side + 2) % 4);
    if (opposite + box->value() >= 100) {
        FChangingMargins = true;
        box->setValue(Side(m, side));
        FChangingMargins = false;
        return;
    }
    Side(m, side) = box->value();
    panel->SetPrintMargins(m);
    PlotPreviewPanel1->update();
    const TRect& old = FOldMargins;
    BReset->setEnabled(m.Left != old.Left || m.Top != old.Top || m.Right != old.Right || m.Bottom != old.Bottom);
    panel->SetPrintProportional(false);
    FChangingProp = true;
    CBProp->setChecked(false);
    FChangingProp = false;
}

void TChartPreview::OrientationClicked() {
    FPrinter->setPageOrientation(RBLandscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
    RefreshMargins();
    PlotPreviewPanel1->update();
}

}  // namespace cb::chartexport
