#pragma once
// The publishing dialog ("Publish Report"): writes the current view as an
// HTML report (with the chart picture beside it), an Excel workbook (with
// the chart below the data), a PDF or an RTF document, opens the result and
// on request hands it to the mail program.
#include "app/core/base/AppContext.h"
#include "app/ui/widgets/ContentForm.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace cb::chart {
class TCustomPlotPanel;
}
namespace cb::grid {
class TExtStringGrid;
}
namespace cb::tabexport {
class TTabExportText;
}

namespace cb::app {

class TDisplayManager;

class TfrmExport : public TContentForm {
    Q_OBJECT
public:
    // The display manager gives the grid, the chart and the cube's caption
    // (not owned); messages go to the context.
    TfrmExport(TDisplayManager* displayManager, TAppContext context, QWidget* owner = nullptr);
    ~TfrmExport() override;

    void ApplyTheme(const TTheme* theme) override;

    // The report's lines; none (the user was told) without a grid or when
    // the chart picture could not be written.
    std::unique_ptr<std::vector<std::string>> BuildHTMLReport();
    bool ExportXLS(const std::string& fileName);
    bool ExportPDF(const std::string& fileName);
    bool ExportRTF(const std::string& fileName);
    // "&Publish".
    void Publish();

    // The chart drawn into the reports; none leaves the chart out.
    void SetChartPanel(cb::chart::TCustomPlotPanel* panel);
    // The files of the last publication: the report, then the chart picture.
    const std::vector<std::string>& Attachments() const { return FAttachments; }
    // Opens the written file; empty: the desktop's handler.
    std::function<bool(const std::string& fileName)> OnOpenFile;
    // Asks for the file to publish to; empty: a save dialog.
    std::function<std::string(const std::string& filter, const std::string& suffix)> OnSelectFile;

    QRadioButton* rbHTML = nullptr;
    QRadioButton* rbPDF = nullptr;
    QRadioButton* rbRTF = nullptr;
    QRadioButton* rbExcel = nullptr;
    QCheckBox* chkReportTitle = nullptr;
    QLineEdit* editReportTitle = nullptr;
    QCheckBox* chkIncludeGraphInExport = nullptr;
    QLineEdit* editFilename = nullptr;
    QPushButton* btnSelectFile = nullptr;
    QCheckBox* chkEmailWhenComplete = nullptr;
    QPushButton* btnNext = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    // Escape cancels, as the Cancel button does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormatChanged();
    bool ChartAvailable() const;
    bool IncludeChart() const;
    void UpdateChartBox();
    void SelectFile();
    // Extensions of the chosen format, the one given to a bare name first.
    std::vector<std::string> Extensions() const;
    // The typed or chosen name, completed and checked as a save dialog
    // does; empty (the user was told) when it cannot be used.
    std::string ChosenFile();
    cb::grid::TExtStringGrid* Grid() const;
    // "<cube caption> - <chart measure>".
    std::string ChartTitle() const;
    std::vector<std::string> HeaderLines() const;
    // Writes the chart picture beside the report, asking before it replaces
    // one; false when the user said no.
    bool WriteChartPicture(const std::string& reportFile);
    bool PublishHTML(const std::string& fileName);
    // Opens the written report; says so when no program opens its type.
    void OpenReport(const std::string& fileName);
    // One table writer over the pivot grid: the selection hidden and every
    // row data while it writes, the header lines, then configure; a failure
    // is logged and gives false.
    bool RunExport(cb::tabexport::TTabExportText& writer, const std::string& fileName,
                   const std::function<void(cb::grid::TExtStringGrid&)>& configure);

    TDisplayManager* FDisplayManager;
    TAppContext FContext;
    cb::chart::TCustomPlotPanel* FChartPanel = nullptr;
    std::vector<std::string> FAttachments;
    QWidget* panTop = nullptr;
    QWidget* panContainer = nullptr;
    QWidget* panBottom = nullptr;
    QLabel* lblWizardHeader = nullptr;
    QLabel* lblInstructions = nullptr;
};

}  // namespace cb::app
