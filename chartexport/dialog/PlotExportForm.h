#pragma once
// The chart export dialog: the chart as a picture in any listed format
// (with the format's options and a size), as a native chart file or as
// series data; each copied to the clipboard, saved to a file or sent as
// an e-mail attachment through the mail program.
#include "chartexport/core/PlotExportFormat.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace cb::chart {
class TCustomPlotPanel;
class TCustomAxisPanel;
}  // namespace cb::chart
namespace cb::chart {
class TPlotExportData;
}

namespace cb::chartexport {

class TPlotExportFormBase : public QDialog {
public:
    explicit TPlotExportFormBase(QWidget* parent = nullptr);
    ~TPlotExportFormBase() override;

    // The panel to export (not owned); read when the dialog is shown.
    cb::chart::TCustomPlotPanel* Panel = nullptr;
    // Errors go here; empty: a message box.
    std::function<void(const std::string&)> OnError;
    // The program that takes a message with its attachment.
    std::string MailProgram = "xdg-email";

    // Fills list (may be null) with the listed formats, each made for panel
    // with its filter index, and appends their filters to filter (joined
    // with "|"). The counter starts at 1 when filter is not empty.
    static void FillFormats(cb::chart::TCustomPlotPanel* panel, std::string& filter,
                            std::vector<std::unique_ptr<TPlotExportFormat>>* list);

    // The format chosen in the list, or none.
    TPlotExportFormat* ChosenFormat() const;
    const std::vector<std::unique_ptr<TPlotExportFormat>>& Formats() const { return FFormats; }
    // The delimiter the Data page's choice stands for.
    char Delimiter() const;
    // 1-based entry of the data save filter that matches the Data page.
    int DataFilterPosition() const;
    // "txt", "csv", "xml", "htm" or "xls" for that entry.
    std::string DataExtension() const;

    // The actions of the three buttons, on the page shown.
    void Copy();
    void Save();
    void Send();
    // Writes the page's export into fileName (a picture by the name's
    // extension); what Save does once a name is chosen.
    void SaveAs(const std::string& fileName, int filterIndex = 0);

    QTabWidget* PageControl1;
    QWidget* TabPicture;
    QWidget* TabNative;
    QWidget* TabData;
    QListWidget* LBFormat;
    QTabWidget* PageOptions;
    QWidget* TabOptions;
    QWidget* TabSize;
    QSpinBox* EWidth;
    QSpinBox* EHeight;
    QCheckBox* CBAspect;
    QCheckBox* CBNativeData;
    QCheckBox* CBFileSize;
    QLabel* LabelSize;
    QComboBox* CBNativeFormat;
    QComboBox* CBSeries;
    QButtonGroup* RGText;
    QComboBox* CBDelim;
    QLineEdit* ECustom;
    QCheckBox* CBLabels;
    QCheckBox* CBIndex;
    QCheckBox* CBHeader;
    QCheckBox* CBColors;
    QLineEdit* EQuotes;
    QPushButton* BCopy;
    QPushButton* BSave;
    QPushButton* BSend;
    QPushButton* BClose;

protected:
    void showEvent(QShowEvent* event) override;

    // The series data exporter of the Data page; none here.
    virtual std::unique_ptr<cb::chart::TPlotExportData> CreateDataExporter();
    virtual void SaveNative(const std::string& fileName, bool includeData);
    virtual bool HasSeries();
    // The native file's bytes as SaveNative would write them.
    virtual std::string NativeStream();
    // Here: no Data page and no Native page, as there is nothing to write.
    virtual void PrepareDataPage();

private:
    void BuildPicturePage();
    void BuildNativePage();
    void BuildDataPage();
    void FormatChosen();
    void EnableButtons();
    void SizeEdited(bool widthEdited);
    void ShowFileSize();
    std::string AskFileName(const std::string& filter, int& filterIndex, const std::string& defaultExtension);
    void SavePicture(const std::string& fileName, TPlotExportFormat* fallback);
    // Runs action, reporting what it raises.
    void Guarded(const std::function<void()>& action);

    std::vector<std::unique_ptr<TPlotExportFormat>> FFormats;
    std::string FPictureFilter;
    double FAspect = 0;
    bool FChangingSize = false;
    QWidget* FShownOptions = nullptr;
};

// The export dialog for charts with axes: native chart files and series
// data as well.
class TPlotExportForm : public TPlotExportFormBase {
public:
    using TPlotExportFormBase::TPlotExportFormBase;

protected:
    std::unique_ptr<cb::chart::TPlotExportData> CreateDataExporter() override;
    void SaveNative(const std::string& fileName, bool includeData) override;
    bool HasSeries() override;
    std::string NativeStream() override;
    void PrepareDataPage() override;

private:
    cb::chart::TCustomAxisPanel* Chart() const;
};

}  // namespace cb::chartexport
