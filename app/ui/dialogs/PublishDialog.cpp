#include "app/ui/dialogs/PublishDialog.h"

#include "app/core/query/DisplayManager.h"
#include "app/core/base/Helpers.h"
#include "app/core/publish/PublishMail.h"
#include "app/core/publish/PublishReport.h"
#include "app/ui/dialogs/Features.h"
#include "chart/component/Chart.h"
#include "chart/panel/CustomPlotPanel.h"
#include "grid/ExtStringGrid.h"
#include "platform/desktop/SaveDialog.h"
#include "platform/desktop/Shell.h"
#include "platform/gfx/Color.h"
#include "platform/os/Files.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/Strings.h"
#include "tabexport/pdf/TabExportPDF.h"
#include "tabexport/rtf/TabExportRTF.h"
#include "tabexport/xls/TabExportXLS.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <filesystem>

namespace cb::app {

namespace {

const char* const kNoDisplay =
    "There is no active display to export. Please return to the main screen and build a display then return here to "
    "export.";
const char* const kExportFailed = "Error during export. Please ensure the filename you select is writable.";
// The pivot grid indents a member's caption by two blanks per level.
constexpr size_t kMemberIndentBlanks = 2;

void SetPanelColor(QWidget* w, TColor color) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, gfx::ToQColor(color));
    w->setPalette(p);
}

void SetTextColor(QWidget* w, TColor color) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, gfx::ToQColor(color));
    w->setPalette(p);
}

// The grid's selection display off until the scope ends.
auto HideSelection(cb::grid::TExtStringGrid* grid) {
    const bool shown = grid->ShowSelection();
    grid->SetShowSelection(false);
    return cb::rtl::OnScopeExit([grid, shown] { grid->SetShowSelection(shown); });
}

// The table writers skip fixed rows as captions; the pivot grid's header
// rows belong in the report, so every row is data while they write.
auto AllRowsAsData(cb::grid::TExtStringGrid* grid) {
    const int fixed = grid->FixedRows();
    grid->SetFixedRows(0);
    return cb::rtl::OnScopeExit([grid, fixed] { grid->SetFixedRows(fixed); });
}

}  // namespace

TfrmExport::TfrmExport(TDisplayManager* displayManager, TAppContext context, QWidget* owner)
    : TContentForm(nullptr), FDisplayManager(displayManager), FContext(context) {
    setObjectName("frmExport");
    setWindowFlags(kDialogFlags);
    if (owner) setParent(owner, kDialogFlags);
    setWindowTitle("Publish Report");
    setModal(true);
    resize(454, 429);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    panTop = new QWidget(this);
    panTop->setObjectName("panTop");
    panTop->setMinimumHeight(57);
    auto* top = new QVBoxLayout(panTop);
    top->setContentsMargins(12, 6, 12, 6);
    lblWizardHeader = new QLabel("Publish Report", panTop);
    lblWizardHeader->setObjectName("lblWizardHeader");
    QFont headerFont = lblWizardHeader->font();
    headerFont.setBold(true);
    lblWizardHeader->setFont(headerFont);
    lblInstructions = new QLabel(
        "Select the file format and the filename you wish to save your published report as. Then click Publish to "
        "publish your file.",
        panTop);
    lblInstructions->setObjectName("lblInstructions");
    lblInstructions->setWordWrap(true);
    top->addWidget(lblWizardHeader);
    top->addWidget(lblInstructions);
    layout->addWidget(panTop);

    panContainer = new QWidget(this);
    panContainer->setObjectName("panContainer");
    auto* body = new QVBoxLayout(panContainer);
    body->setContentsMargins(16, 12, 16, 12);
    body->addWidget(new QLabel("Select the format you wish to publish to", panContainer));
    auto* formats = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    auto radio = [&](QRadioButton*& button, const char* name, const char* caption) {
        button = new QRadioButton(caption, panContainer);
        button->setObjectName(name);
        group->addButton(button);
        formats->addWidget(button);
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on) FormatChanged();
        });
    };
    radio(rbHTML, "rbHTML", "HTML");
    radio(rbPDF, "rbPDF", "PDF");
    radio(rbRTF, "rbRTF", "RTF");
    radio(rbExcel, "rbExcel", "Excel");
    formats->addStretch();
    body->addLayout(formats);
    body->addSpacing(8);

    chkReportTitle = new QCheckBox("Display Header In Report", panContainer);
    chkReportTitle->setObjectName("chkReportTitle");
    chkReportTitle->setChecked(true);
    body->addWidget(chkReportTitle);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(new QLabel("Report Title", panContainer));
    editReportTitle = new QLineEdit(panContainer);
    editReportTitle->setObjectName("editReportTitle");
    editReportTitle->setMaxLength(200);
    titleRow->addWidget(editReportTitle, 1);
    body->addLayout(titleRow);
    connect(chkReportTitle, &QCheckBox::toggled, editReportTitle, &QWidget::setEnabled);

    chkIncludeGraphInExport = new QCheckBox("Include Graph in Report", panContainer);
    chkIncludeGraphInExport->setObjectName("chkIncludeGraphInExport");
    chkIncludeGraphInExport->setChecked(true);
    body->addWidget(chkIncludeGraphInExport);
    body->addSpacing(8);

    body->addWidget(new QLabel("Filename to publish to", panContainer));
    auto* fileRow = new QHBoxLayout;
    editFilename = new QLineEdit(panContainer);
    editFilename->setObjectName("editFilename");
    btnSelectFile = new QPushButton("Browse ...", panContainer);
    btnSelectFile->setObjectName("btnSelectFile");
    fileRow->addWidget(editFilename, 1);
    fileRow->addWidget(btnSelectFile);
    body->addLayout(fileRow);
    connect(btnSelectFile, &QPushButton::clicked, this, [this] { SelectFile(); });

    chkEmailWhenComplete = new QCheckBox("&Email When Complete", panContainer);
    chkEmailWhenComplete->setObjectName("chkEmailWhenComplete");
    chkEmailWhenComplete->setToolTip("Email when complete");
    body->addWidget(chkEmailWhenComplete);
    body->addStretch();
    layout->addWidget(panContainer, 1);

    panBottom = new QWidget(this);
    panBottom->setObjectName("panBottom");
    auto* bottom = new QHBoxLayout(panBottom);
    bottom->setContentsMargins(12, 8, 12, 8);
    bottom->addStretch();
    btnNext = new QPushButton("&Publish", panBottom);
    btnNext->setObjectName("btnNext");
    btnNext->setDefault(true);
    btnCancel = new QPushButton("&Cancel", panBottom);
    btnCancel->setObjectName("btnCancel");
    bottom->addWidget(btnNext);
    bottom->addWidget(btnCancel);
    layout->addWidget(panBottom);
    connect(btnNext, &QPushButton::clicked, this, [this] { Publish(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    rbHTML->setChecked(true);
    UpdateChartBox();
}

bool TfrmExport::IncludeChart() const {
    return chkIncludeGraphInExport->isChecked() && ChartAvailable();
}

bool TfrmExport::ChartAvailable() const {
    return FChartPanel && FDisplayManager && FDisplayManager->GetChartEnabled();
}

void TfrmExport::UpdateChartBox() {
    // Offered and ticked exactly when there is a chart to draw.
    chkIncludeGraphInExport->setEnabled(ChartAvailable());
    chkIncludeGraphInExport->setChecked(ChartAvailable());
}

TfrmExport::~TfrmExport() = default;

void TfrmExport::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (!theme) return;
    SetTextColor(lblWizardHeader, theme->TextColor);
    SetTextColor(lblInstructions, theme->TextColor);
    for (QWidget* w : {panTop, panContainer, panBottom}) SetPanelColor(w, theme->BackgroundColor);
}

void TfrmExport::SetChartPanel(cb::chart::TCustomPlotPanel* panel) {
    FChartPanel = panel;
    UpdateChartBox();
    FormatChanged();
}

void TfrmExport::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && btnCancel->isEnabled()) {
        reject();
        return;
    }
    TContentForm::keyPressEvent(event);
}

void TfrmExport::FormatChanged() {
    const bool pictures = rbHTML->isChecked() || rbExcel->isChecked();
    if (!pictures && chkIncludeGraphInExport->isChecked()) chkIncludeGraphInExport->setChecked(false);
    chkIncludeGraphInExport->setEnabled(pictures && ChartAvailable());
}

std::vector<std::string> TfrmExport::Extensions() const {
    if (rbExcel->isChecked()) return {"xls"};
    if (rbPDF->isChecked()) return {"pdf"};
    if (rbRTF->isChecked()) return {"rtf"};
    return {"html", "htm"};
}

void TfrmExport::SelectFile() {
    std::string filter = "HTML (*.html *.htm)";
    if (rbExcel->isChecked()) filter = "Excel Workbook (*.xls)";
    if (rbPDF->isChecked()) filter = "PDF Document (*.pdf)";
    if (rbRTF->isChecked()) filter = "RTF Document (*.rtf)";
    const std::string chosen = OnSelectFile ? OnSelectFile(filter, Extensions().front())
                                            : cb::os::AskSaveFileName(this, {"Publish Report", filter, Extensions()});
    if (!chosen.empty()) editFilename->setText(QString::fromStdString(chosen));
}

std::string TfrmExport::ChosenFile() {
    std::string error;
    const std::string file = cb::os::CompleteSaveFileName(editFilename->text().toStdString(), Extensions(), error);
    if (!error.empty()) {
        FContext.ShowError(error);
        return {};
    }
    const std::string folder = cb::rtl::ExtractFilePath(file);
    if (!folder.empty() && !cb::os::DirectoryExists(folder)) {
        FContext.ShowError("The folder " + folder + " does not exist. Please choose the file again.");
        return {};
    }
    editFilename->setText(QString::fromStdString(file));
    return file;
}

std::string TfrmExport::ChartTitle() const {
    return FDisplayManager ? ReportChartTitle(FDisplayManager->GetCubeCaption(), FDisplayManager->GetChartMeasure())
                           : std::string();
}

cb::grid::TExtStringGrid* TfrmExport::Grid() const {
    return FDisplayManager ? FDisplayManager->GetGrid() : nullptr;
}

std::vector<std::string> TfrmExport::HeaderLines() const {
    if (!chkReportTitle->isChecked()) return {};
    return {editReportTitle->text().toStdString(), ""};
}

bool TfrmExport::WriteChartPicture(const std::string& reportFile) {
    const std::string picture = cb::rtl::IncludeTrailingPathDelimiter(
                                    cb::rtl::ExtractFilePath(std::filesystem::absolute(reportFile).string())) +
                                kReportChartFile;
    // A picture an earlier report wrote is replaced; another file only when the user agrees.
    if (std::filesystem::exists(picture) && !IsReportChartPicture(picture) &&
        !FContext.ConfirmYesNo("The file " + picture + " already exists. Do you want to replace it with the chart?"))
        return false;
    std::string bytes;
    {
        TReportChartDressing dressing(*FChartPanel, ChartTitle());
        bytes = ChartJPEGBytes(*FChartPanel);
    }
    cb::rtl::WriteFileAtomic(picture, bytes);
    FAttachments.push_back(picture);
    return true;
}

std::unique_ptr<std::vector<std::string>> TfrmExport::BuildHTMLReport() {
    cb::grid::TExtStringGrid* grid = Grid();
    if (!grid) {
        FContext.ShowError(kNoDisplay);
        return nullptr;
    }
    auto restore = HideSelection(grid);
    THTMLReportOptions options;
    options.ShowTitle = chkReportTitle->isChecked();
    options.Title = editReportTitle->text().toStdString();
    options.IncludeChart = IncludeChart();
    return std::make_unique<std::vector<std::string>>(cb::app::BuildHTMLReport(*grid, options));
}

bool TfrmExport::PublishHTML(const std::string& fileName) {
    auto lines = BuildHTMLReport();
    if (!lines) return false;
    // The picture first, so the report never points at a stale one.
    if (IncludeChart() && !WriteChartPicture(fileName)) return false;
    SaveReportLines(*lines, fileName);
    return true;
}

bool TfrmExport::RunExport(cb::tabexport::TTabExportText& writer, const std::string& fileName,
                           const std::function<void(cb::grid::TExtStringGrid&)>& configure) {
    try {
        cb::grid::TExtStringGrid* grid = Grid();
        if (!grid) throw cb::tabexport::ETabExportError(kNoDisplay);
        auto restore = HideSelection(grid);
        auto allRows = AllRowsAsData(grid);
        writer.FileName = fileName;
        writer.ExportSource = cb::tabexport::esStringGrid;
        writer.StringGrid = grid;
        writer.AllowCaptions = false;
        for (const std::string& line : HeaderLines()) writer.Header.Add(line);
        configure(*grid);
        writer.Execute();
        return true;
    } catch (const std::exception& e) {
        FContext.WriteLog("Publishing " + fileName + " failed: " + e.what());
        return false;
    }
}

bool TfrmExport::ExportXLS(const std::string& fileName) {
    cb::tabexport::TTabExportXLS xls;
    return RunExport(xls, fileName, [&](cb::grid::TExtStringGrid& grid) {
        xls.OnlyVisibleFields = true;
        xls.AutoCalcColWidth = true;
        xls.Options.SetSheetTitle(
            cb::tabexport::TTabExportXLS::CleanSheetName(FDisplayManager ? FDisplayManager->GetCubeCaption() : ""));
        xls.Options.PageFooter = "Page &P of &N";
        xls.Options.HeaderFormat.Font.Size = 12;
        xls.Options.HeaderFormat.Font.SetStyle(cb::tabexport::xfsBold, true);
        xls.Options.DataFormat.Fill.Pattern = cb::tabexport::ptSolid;
        xls.Options.DataFormat.Alignment.Horizontal = cb::tabexport::halRight;
        // Data cells (right-justified) are numbers with the picture they are
        // shown with; a member's indentation is the cell's indent.
        xls.OnGetCellValue = [&grid](cb::tabexport::TxlsSheet&, int, int col, int recNo,
                                     cb::tabexport::TxlsCellValue& cell) {
            const int row = grid.FixedRows() + recNo;
            if (grid.GetCellAlignment(col, row) == cb::grid::taRightJustify) {
                cell.Type = cb::tabexport::ectFloat;
                return;
            }
            const size_t blanks = cell.Text.find_first_not_of(' ');
            if (blanks == std::string::npos || blanks == 0) return;
            cell.Indent = int(blanks / kMemberIndentBlanks);
            cell.Text.erase(0, blanks);
        };
        if (IncludeChart()) {
            // The picture travels in memory: nothing is written beside the workbook.
            xls.Pictures().Clear();
            cb::tabexport::TxlsPicture& picture = xls.Pictures().Add();
            picture.SetFileName(kReportChartFile);
            TReportChartDressing dressing(*FChartPanel, ChartTitle());
            picture.SetData(ChartJPEGBytes(*FChartPanel));
            xls.Images.Clear();
            cb::tabexport::TxlsImage& image = xls.Images.Add();
            image.PictureName = picture.Name();
            image.Row = xls.Header.Count() + grid.RowCount() + 1;
        }
    });
}

bool TfrmExport::ExportPDF(const std::string& fileName) {
    cb::tabexport::TTabExportPDF pdf;
    return RunExport(pdf, fileName, [&](cb::grid::TExtStringGrid& grid) {
        pdf.OnlyVisibleFields = true;
        auto& page = pdf.Options.PageOptions;
        page.SetFormat(cb::tabexport::pfUser);
        page.Units = cb::tabexport::unInch;
        page.SetWidth(8.5);
        page.SetHeight(11);
        page.SetOrientation(cb::tabexport::poLandscape);
        page.SetMarginLeft(0.78);
        page.SetMarginRight(0.78);
        page.SetMarginTop(1.17);
        page.SetMarginBottom(0.57);
        pdf.Options.HeaderFont.FontSize = 12;
        pdf.Options.ColSpacing = 5;
        pdf.Options.GridLineWidth = 2;
        pdf.OnGetCellParams = [&grid](cb::tabexport::TTabExportPDF&, int recNo, int colNo, const std::string&,
                                      cb::tabexport::TTabExportColAlign& align, cb::gfx::TFont&,
                                      cb::gfx::TColor& background) {
            if (colNo < 0 || colNo >= grid.ColCount() || recNo < 0 || recNo >= grid.RowCount()) return;
            if (grid.GetCellAlignment(colNo, recNo) == cb::grid::taRightJustify) {
                align = cb::tabexport::ecaRight;
            } else {
                align = cb::tabexport::ecaLeft;
                background = 0xCCCCCC;
            }
        };
    });
}

bool TfrmExport::ExportRTF(const std::string& fileName) {
    cb::tabexport::TTabExportRTF rtf;
    return RunExport(rtf, fileName, [&](cb::grid::TExtStringGrid& grid) {
        for (cb::tabexport::TrtfStyle* style :
             {&rtf.Options.CaptionStyle, &rtf.Options.DataStyle, &rtf.Options.HeaderStyle, &rtf.Options.FooterStyle}) {
            style->Font.SetName("Arial");
            style->Font.SetHeight(-13);  // 10 points at 96 dots per inch
            style->Font.SetColor(0);
        }
        rtf.Options.CaptionStyle.Font.SetStyle(cb::gfx::fsBold);
        rtf.Options.CaptionStyle.Alignment = cb::tabexport::talCenter;
        rtf.Options.DataStyle.Alignment = cb::tabexport::talRight;
        rtf.OnGetDataStyle = [&grid](cb::tabexport::TTabExportRTF&, int row, int col, cb::tabexport::TrtfStyle& style) {
            if (col < 0 || col >= grid.ColCount() || row < 0 || row >= grid.RowCount()) return;
            const TColor background = grid.GetCellBrushColor(col, row);
            const TColor font = grid.GetCellFontColor(col, row);
            style.AllowBackground = background != cb::gfx::clNone;
            if (style.AllowBackground) style.BackgroundColor = background;
            if (font != cb::gfx::clNone) style.Font.SetColor(font);
            style.Alignment = grid.GetCellAlignment(col, row) == cb::grid::taRightJustify ? cb::tabexport::talRight
                                                                                          : cb::tabexport::talLeft;
        };
    });
}

void TfrmExport::OpenReport(const std::string& fileName) {
    const bool opened = OnOpenFile ? OnOpenFile(fileName) : cb::os::HasOpenerFor(fileName) && ShellOpen(fileName);
    if (opened) return;
    std::string type = cb::rtl::ExtractFileExt(fileName);
    type = type.empty() ? "this type of" : cb::rtl::UpperCase(type.substr(1));
    FContext.ShowInformation("The report was saved as " + fileName + ", but no program is registered to open " + type +
                             " files. Open it from your file manager with the program of your choice.");
}

void TfrmExport::Publish() {
    FAttachments.clear();
    if (IsBlankString(editFilename->text().toStdString())) {
        FContext.ShowError("Please Select a Filename to publish to.");
        return;
    }
    const std::string fileName = ChosenFile();
    if (fileName.empty()) return;
    setEnabled(false);
    FContext.SetBusy(true);
    auto enable = cb::rtl::OnScopeExit([this] {
        FContext.SetBusy(false);
        setEnabled(true);
    });
    FAttachments.push_back(fileName);

    bool ok = false;
    try {
        if (rbHTML->isChecked()) {
            // No report (no grid, or the user kept an old picture): the dialog stays.
            if (!PublishHTML(fileName)) return;
            ok = true;
        } else if (rbExcel->isChecked()) {
            ok = ExportXLS(fileName);
        } else if (rbPDF->isChecked()) {
            ok = ExportPDF(fileName);
        } else {
            ok = ExportRTF(fileName);
        }
    } catch (const std::exception& e) {
        FContext.WriteLog("Publishing " + fileName + " failed: " + e.what());
        ok = false;
    }

    if (ok) {
        FContext.ShowInformation("Data successfully exported");
        OpenReport(fileName);
        if (chkEmailWhenComplete->isChecked()) SendEmail("Emailing " + fileName, "", "", &FAttachments, FContext);
    } else {
        FContext.ShowInformation(kExportFailed);
    }
    accept();
}

namespace {

// The chart shown in the window: the first chart panel among its widgets.
cb::chart::TCustomPlotPanel* FindChartPanel(QWidget* window) {
    if (!window) return nullptr;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (auto* panel = dynamic_cast<cb::chart::TCustomPlotPanel*>(w)) return panel;
    return nullptr;
}

}  // namespace

void ShowPublishDialog(const TFeatureContext& context) {
    TfrmExport dialog(context.DisplayManager, context.App, context.Owner);
    dialog.ApplyTheme(context.Theme);
    cb::chart::TCustomPlotPanel* chart = context.DisplayManager ? context.DisplayManager->GetChart() : nullptr;
    dialog.SetChartPanel(chart ? chart : FindChartPanel(context.Owner));
    dialog.exec();
}

}  // namespace cb::app
