#include "chartexport/dialog/PlotExportForm.h"

#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chartexport/dialog/MailHandOver.h"
#include "chartexport/native/NativeChartFile.h"
#include "chartexport/native/SeriesData.h"
#include "platform/desktop/KitEmail.h"
#include "platform/desktop/SaveDialog.h"
#include "platform/os/Files.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

#include <QGridLayout>
#include <QShowEvent>
#include <QVariant>

#include <cmath>
#include <filesystem>

namespace cb::chartexport {

namespace {

const char NativeExtension[] = "dza";
const char NativeFilter[] = "DezAvoze files (*.dza)|*.dza";
const char EmailName[] = "DezAvoze";
const char DataFilter[] =
    "Space delimited text files|*.txt|Tab delimited text files|*.txt|Comma delimited text files|*.csv|Custom "
    "delimited text files|*.txt|XML files|*.xml|HTML files|*.htm|Microsoft Excel files|*.xls";

// Text and pattern pairs of a "|" filter.
std::vector<std::pair<QString, QString>> FilterEntries(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    std::vector<std::pair<QString, QString>> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) entries.emplace_back(parts[i], parts[i + 1]);
    return entries;
}

QString QtEntry(const std::pair<QString, QString>& e) {
    return e.first.contains(QLatin1Char('(')) ? e.first : e.first + QStringLiteral(" (") + e.second + QLatin1Char(')');
}

// The extension of a filter pattern: the text after its first ".".
std::string PatternExtension(const QString& pattern) {
    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    return dot < 0 ? std::string() : pattern.mid(dot + 1).section(QLatin1Char(';'), 0, 0).toStdString();
}

std::string ExtensionOf(const std::string& fileName) {
    const std::string name = std::filesystem::path(fileName).filename().string();
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

// A menu text without its hot-key marks.
std::string WithoutHotKey(std::string text) {
    std::erase(text, '&');
    return text;
}

// A busy cursor for the life of the object.
struct TBusy {
    TBusy() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusy() { QApplication::restoreOverrideCursor(); }
};

QSpinBox* SizeSpin(QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(0, 3000);
    return spin;
}

}  // namespace

TPlotExportFormBase::TPlotExportFormBase(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Export Dialog"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* column = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    column->addWidget(PageControl1);
    BuildPicturePage();
    BuildNativePage();
    BuildDataPage();

    auto* buttons = new QHBoxLayout;
    BCopy = new QPushButton(tr("&Copy"), this);
    BSave = new QPushButton(tr("&Save..."), this);
    BSend = new QPushButton(tr("S&end..."), this);
    BClose = new QPushButton(tr("Close"), this);
    BClose->setDefault(true);
    for (QPushButton* b : {BCopy, BSave, BSend}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    buttons->addWidget(BClose);
    column->addLayout(buttons);
    connect(BCopy, &QPushButton::clicked, this, [this] { Guarded([this] { Copy(); }); });
    connect(BSave, &QPushButton::clicked, this, [this] { Guarded([this] { Save(); }); });
    connect(BSend, &QPushButton::clicked, this, [this] { Guarded([this] { Send(); }); });
    connect(BClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { EnableButtons(); });
    PageControl1->setCurrentWidget(TabPicture);
    resize(500, 320);
}

TPlotExportFormBase::~TPlotExportFormBase() {
    // The formats own their options forms, which may sit on TabOptions.
    FFormats.clear();
}

void TPlotExportFormBase::BuildPicturePage() {
    TabPicture = new QWidget;
    auto* row = new QHBoxLayout(TabPicture);
    auto* group = new QGroupBox(tr("&Format"), TabPicture);
    auto* groupColumn = new QVBoxLayout(group);
    LBFormat = new QListWidget(group);
    groupColumn->addWidget(LBFormat);
    row->addWidget(group, 2);
    PageOptions = new QTabWidget(TabPicture);
    TabOptions = new QWidget;
    new QVBoxLayout(TabOptions);
    TabSize = new QWidget;
    auto* size = new QFormLayout(TabSize);
    EWidth = SizeSpin(TabSize);
    EHeight = SizeSpin(TabSize);
    auto* widthLabel = new QLabel(tr("&Width:"), TabSize);
    widthLabel->setBuddy(EWidth);
    auto* heightLabel = new QLabel(tr("&Height:"), TabSize);
    heightLabel->setBuddy(EHeight);
    size->addRow(widthLabel, EWidth);
    size->addRow(heightLabel, EHeight);
    CBAspect = new QCheckBox(tr("&Keep aspect ratio"), TabSize);
    CBAspect->setChecked(true);
    size->addRow(CBAspect);
    PageOptions->addTab(TabOptions, tr("Options"));
    PageOptions->addTab(TabSize, tr("Size"));
    row->addWidget(PageOptions, 3);
    PageControl1->addTab(TabPicture, tr("Picture"));
    connect(LBFormat, &QListWidget::currentRowChanged, this, [this] {
        FormatChosen();
        EnableButtons();
    });
    connect(EWidth, &QSpinBox::valueChanged, this, [this] { SizeEdited(true); });
    connect(EHeight, &QSpinBox::valueChanged, this, [this] { SizeEdited(false); });
}

void TPlotExportFormBase::BuildNativePage() {
    TabNative = new QWidget;
    auto* form = new QFormLayout(TabNative);
    CBNativeData = new QCheckBox(tr("&Include Series data"), TabNative);
    CBNativeData->setChecked(true);
    form->addRow(CBNativeData);
    CBFileSize = new QCheckBox(tr("&File size:"), TabNative);
    LabelSize = new QLabel(QStringLiteral("?"), TabNative);
    form->addRow(CBFileSize, LabelSize);
    CBNativeFormat = new QComboBox(TabNative);
    CBNativeFormat->addItems({tr("Binary"), tr("Text")});
    auto* formatLabel = new QLabel(tr("&Format:"), TabNative);
    formatLabel->setBuddy(CBNativeFormat);
    form->addRow(formatLabel, CBNativeFormat);
    PageControl1->addTab(TabNative, tr("Native"));
    connect(CBFileSize, &QCheckBox::toggled, this, [this] { Guarded([this] { ShowFileSize(); }); });
    connect(CBNativeData, &QCheckBox::toggled, this, [this] { Guarded([this] { ShowFileSize(); }); });
    connect(CBNativeFormat, &QComboBox::currentIndexChanged, this, [this] {
        Guarded([this] { ShowFileSize(); });
        EnableButtons();
    });
}

void TPlotExportFormBase::BuildDataPage() {
    TabData = new QWidget;
    auto* grid = new QGridLayout(TabData);
    CBSeries = new QComboBox(TabData);
    auto* seriesLabel = new QLabel(tr("Se&ries:"), TabData);
    seriesLabel->setBuddy(CBSeries);
    grid->addWidget(seriesLabel, 0, 0);
    grid->addWidget(CBSeries, 0, 1, 1, 2);

    auto* formatBox = new QGroupBox(tr("&Format:"), TabData);
    auto* formatColumn = new QVBoxLayout(formatBox);
    RGText = new QButtonGroup(this);
    int id = 0;
    for (const QString& text : {tr("Text"), tr("XML"), tr("HTML Table"), tr("Excel")}) {
        auto* b = new QRadioButton(text, formatBox);
        RGText->addButton(b, id++);
        formatColumn->addWidget(b);
    }
    RGText->button(0)->setChecked(true);
    grid->addWidget(formatBox, 1, 0, 3, 1);

    CBDelim = new QComboBox(TabData);
    CBDelim->addItems({tr("Space"), tr("Tab"), tr("Comma"), tr("Colon"), tr("Custom")});
    ECustom = new QLineEdit(TabData);
    ECustom->setMaxLength(1);
    ECustom->setEnabled(false);
    auto* delimLabel = new QLabel(tr("&Delimiter:"), TabData);
    delimLabel->setBuddy(CBDelim);
    auto* delimRow = new QHBoxLayout;
    delimRow->addWidget(CBDelim);
    delimRow->addWidget(ECustom);
    grid->addWidget(delimLabel, 1, 1);
    grid->addLayout(delimRow, 1, 2);

    auto* include = new QGroupBox(tr("&Include:"), TabData);
    auto* includeColumn = new QVBoxLayout(include);
    CBLabels = new QCheckBox(tr("Point &Labels"), include);
    CBLabels->setChecked(true);
    CBIndex = new QCheckBox(tr("Point &Index"), include);
    CBHeader = new QCheckBox(tr("&Header"), include);
    CBHeader->setChecked(true);
    CBColors = new QCheckBox(tr("Point &Colors"), include);
    for (QCheckBox* c : {CBLabels, CBIndex, CBHeader, CBColors}) includeColumn->addWidget(c);
    grid->addWidget(include, 2, 1, 1, 2);

    EQuotes = new QLineEdit(TabData);
    EQuotes->setMaxLength(1);
    auto* quotesLabel = new QLabel(tr("Text &Quotes:"), TabData);
    quotesLabel->setBuddy(EQuotes);
    grid->addWidget(quotesLabel, 3, 1);
    grid->addWidget(EQuotes, 3, 2);
    PageControl1->addTab(TabData, tr("Data"));

    connect(RGText, &QButtonGroup::idClicked, this, [this](int choice) {
        CBDelim->setEnabled(choice == 0);
        ECustom->setEnabled(choice == 0 && CBDelim->currentIndex() == 4);
        EnableButtons();
    });
    connect(CBDelim, &QComboBox::currentIndexChanged, this, [this](int i) {
        ECustom->setEnabled(i == 4 && CBDelim->isEnabled());
        if (i == 4) ECustom->setFocus();
    });
}

void TPlotExportFormBase::FillFormats(cb::chart::TCustomPlotPanel* panel, std::string& filter,
                                      std::vector<std::unique_ptr<TPlotExportFormat>>* list) {
    int counter = filter.empty() ? 0 : 1;
    for (TPlotExportFormatClass cls : ExportFormatList()) {
        std::unique_ptr<TPlotExportFormat> format = cls();
        format->Panel = panel;
        format->AssignFilterIndex(counter);
        filter += (filter.empty() ? "" : "|") + format->FileFilter();
        if (list) list->push_back(std::move(format));
    }
}

void TPlotExportFormBase::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    RGText->button(0)->setChecked(true);
    CBDelim->setEnabled(true);
    if (Panel) {
        FChangingSize = true;
        EWidth->setValue(Panel->width());
        EHeight->setValue(Panel->height());
        FAspect = Panel->height() > 0 ? double(Panel->width()) / Panel->height() : 0;
        PrepareDataPage();
        LBFormat->clear();
        if (FShownOptions) FShownOptions->hide();
        FShownOptions = nullptr;
        FFormats.clear();
        FPictureFilter.clear();
        FillFormats(Panel, FPictureFilter, &FFormats);
        for (const auto& f : FFormats) LBFormat->addItem(QString::fromStdString(WithoutHotKey(f->Description())));
        CBDelim->setCurrentIndex(1);
        LBFormat->setCurrentRow(0);
        FChangingSize = false;
    }
    EnableButtons();
}

TPlotExportFormat* TPlotExportFormBase::ChosenFormat() const {
    const int row = LBFormat->currentRow();
    return row >= 0 && row < int(FFormats.size()) ? FFormats[size_t(row)].get() : nullptr;
}

void TPlotExportFormBase::FormatChosen() {
    if (FShownOptions) {
        TabOptions->layout()->removeWidget(FShownOptions);
        FShownOptions->hide();
        FShownOptions = nullptr;
    }
    TPlotExportFormat* format = ChosenFormat();
    QWidget* form = format ? format->Options(true) : nullptr;
    if (form && !form->findChildren<QWidget*>().isEmpty()) {
        PageOptions->setTabEnabled(0, true);
        form->setParent(TabOptions);
        TabOptions->layout()->addWidget(form);
        form->show();
        FShownOptions = form;
        PageOptions->setCurrentWidget(TabOptions);
    } else {
        PageOptions->setTabEnabled(0, false);
        PageOptions->setCurrentWidget(TabSize);
    }
}

void TPlotExportFormBase::EnableButtons() {
    QWidget* page = PageControl1->currentWidget();
    bool copy = page == TabPicture || (page == TabData && HasSeries()) ||
                (page == TabNative && CBNativeFormat->currentIndex() == 1);
    const bool save = copy || page == TabNative;
    if (page == TabData && RGText->checkedId() == 3) copy = false;
    BCopy->setEnabled(copy);
    BSave->setEnabled(save);
    BSend->setEnabled(save && !QStandardPaths::findExecutable(QString::fromStdString(MailProgram)).isEmpty());
}

void TPlotExportFormBase::SizeEdited(bool widthEdited) {
    if (!isVisible() || FChangingSize || !CBAspect->isChecked() || FAspect == 0) return;
    FChangingSize = true;
    if (widthEdited)
        EHeight->setValue(int(std::lround(EWidth->value() / FAspect)));
    else
        EWidth->setValue(int(std::lround(EHeight->value() * FAspect)));
    FChangingSize = false;
}

void TPlotExportFormBase::ShowFileSize() {
    LabelSize->setText(CBFileSize->isChecked() ? tr("%1 bytes").arg(NativeStream().size()) : QStringLiteral("?"));
}

char TPlotExportFormBase::Delimiter() const {
    switch (CBDelim->currentIndex()) {
    case 0:
        return ' ';
    case 1:
        return '\t';
    case 2:
        return ',';
    case 3:
        return ';';
    default:
        return ECustom->text().isEmpty() ? ' ' : ECustom->text().toStdString().front();
    }
}

// Colon and Custom both write "Custom delimited text": a custom delimiter
// stays text, it does not become the XML entry after it.
int TPlotExportFormBase::DataFilterPosition() const {
    const int choice = RGText->checkedId();
    if (choice > 0) return choice + 4;
    return std::min(CBDelim->currentIndex(), 3) + 1;
}

std::string TPlotExportFormBase::DataExtension() const {
    const auto entries = FilterEntries(DataFilter);
    return PatternExtension(entries[size_t(DataFilterPosition() - 1)].second);
}

void TPlotExportFormBase::Guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        if (OnError)
            OnError(e.what());
        else
            QMessageBox::warning(this, windowTitle(), QString::fromUtf8(e.what()));
    }
}

std::string TPlotExportFormBase::AskFileName(const std::string& filter, int& filterIndex,
                                             const std::string& defaultExtension) {
    const auto entries = FilterEntries(filter);
    QStringList names;
    for (const auto& e : entries) names << QtEntry(e);
    QFileDialog dialog(this, windowTitle(), QString::fromStdString(cb::os::LastSaveFolder()));
    dialog.setNameFilters(names);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    if (filterIndex >= 1 && filterIndex <= names.size()) dialog.selectNameFilter(names[filterIndex - 1]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    filterIndex = int(names.indexOf(dialog.selectedNameFilter())) + 1;
    const std::string file = dialog.selectedFiles().front().toStdString();
    cb::os::RememberSaveFolder(file);
    return file;
}

void TPlotExportFormBase::Copy() {
    QWidget* page = PageControl1->currentWidget();
    if (page == TabPicture) {
        TPlotExportFormat* format = ChosenFormat();
        if (!format) return;
        format->Width = EWidth->value();
        format->Height = EHeight->value();
        format->CopyToClipboard();
    } else if (page == TabData) {
        TBusy busy;
        if (auto exporter = CreateDataExporter()) exporter->CopyTextToClipboard();
    } else if (page == TabNative) {
        QGuiApplication::clipboard()->setText(QString::fromStdString(NativeStream()));
    }
}

// The format whose extension the name has (an entry of a format with two,
// such as the metafile's, chooses between them), else fallback.
void TPlotExportFormBase::SavePicture(const std::string& fileName, TPlotExportFormat* fallback) {
    const std::string extension = cb::rtl::UpperCase(ExtensionOf(fileName));
    TPlotExportFormat* format = nullptr;
    const auto entries = FilterEntries(FPictureFilter);
    for (size_t i = 0; i < entries.size() && !format && !extension.empty(); ++i)
        if (cb::rtl::UpperCase(PatternExtension(entries[i].second)) == extension)
            for (const auto& f : FFormats)
                if (f->OwnsFilterIndex(int(i) + 1)) {
                    format = f.get();
                    break;
                }
    if (!format) format = fallback;
    if (!format) return;
    format->Width = EWidth->value();
    format->Height = EHeight->value();
    TBusy busy;
    format->SaveToFile(fileName);
}

void TPlotExportFormBase::SaveAs(const std::string& fileName, int filterIndex) {
    QWidget* page = PageControl1->currentWidget();
    if (page == TabPicture) {
        TPlotExportFormat* fallback = ChosenFormat();
        for (const auto& f : FFormats)
            if (filterIndex > 0 && f->OwnsFilterIndex(filterIndex)) fallback = f.get();
        SavePicture(fileName, fallback);
    } else if (page == TabNative) {
        std::filesystem::path file(fileName);
        file.replace_extension(std::string(".") + NativeExtension);
        TBusy busy;
        SaveNative(file.string(), CBNativeData->isChecked());
    } else if (page == TabData) {
        if (filterIndex > 0) {
            // A filter after the text ones chooses XML, HTML or Excel.
            RGText->button(filterIndex > 4 ? filterIndex - 4 : 0)->setChecked(true);
            CBDelim->setEnabled(RGText->checkedId() == 0);
        }
        TBusy busy;
        if (auto exporter = CreateDataExporter()) exporter->SaveTextToFile(fileName);
    }
}

void TPlotExportFormBase::Save() {
    QWidget* page = PageControl1->currentWidget();
    int index = 0;
    std::string file;
    if (page == TabPicture) {
        TPlotExportFormat* format = ChosenFormat();
        if (!format) return;
        index = format->FilterIndex();
        file = AskFileName(FPictureFilter, index, format->FileExtension());
    } else if (page == TabNative) {
        file = AskFileName(NativeFilter, index, NativeExtension);
    } else {
        index = DataFilterPosition();
        file = AskFileName(DataFilter, index, DataExtension());
    }
    if (!file.empty()) SaveAs(file, index);
}

void TPlotExportFormBase::Send() {
    QWidget* page = PageControl1->currentWidget();
    std::string extension;
    if (page == TabPicture) {
        if (!ChosenFormat()) return;
        extension = ChosenFormat()->FileExtension();
    } else if (page == TabNative) {
        extension = NativeExtension;
    } else {
        extension = DataExtension();
    }
    const std::string folder = NewMailHandOverFolder();
    const std::string file = folder + EmailName + "." + extension;
    try {
        SaveAs(file, page == TabData ? DataFilterPosition() : 0);
        cb::os::TKitEmail mail;
        mail.MailProgram = MailProgram;
        mail.Subject = EmailName;
        mail.Attachments = {file};
        mail.SendMail(true);
    } catch (const std::exception& e) {
        // The mail program did not take the file: nobody reads it.
        cb::os::RemoveDirectoryTree(folder);
        throw EExportError(std::string("Can not email ") + EmailName + ". " + e.what());
    }
    // Kept: the mail program reads the attachment when it likes. A later
    // hand-over removes the folder once it is old.
}

std::unique_ptr<cb::chart::TPlotExportData> TPlotExportFormBase::CreateDataExporter() {
    return nullptr;
}

void TPlotExportFormBase::SaveNative(const std::string&, bool) {
    throw EExportError("This chart has no native file");
}

bool TPlotExportFormBase::HasSeries() {
    return false;
}

std::string TPlotExportFormBase::NativeStream() {
    return {};
}

void TPlotExportFormBase::PrepareDataPage() {
    for (QWidget* page : {TabData, TabNative}) {
        const int at = PageControl1->indexOf(page);
        if (at >= 0) PageControl1->setTabVisible(at, false);
    }
    CBNativeData->hide();
}

cb::chart::TCustomAxisPanel* TPlotExportForm::Chart() const {
    return dynamic_cast<cb::chart::TCustomAxisPanel*>(Panel);
}

std::unique_ptr<cb::chart::TPlotExportData> TPlotExportForm::CreateDataExporter() {
    cb::chart::TCustomAxisPanel* chart = Chart();
    if (!chart) return nullptr;
    auto* series = static_cast<cb::chart::TChartSeries*>(CBSeries->currentData().value<void*>());
    std::unique_ptr<TSeriesData> data;
    switch (RGText->checkedId()) {
    case 0: {
        auto text = std::make_unique<TSeriesDataText>(chart, series);
        text->Delimiter = Delimiter();
        text->QuoteText = EQuotes->text().toStdString();
        data = std::move(text);
        break;
    }
    case 1:
        data = std::make_unique<TSeriesDataXML>(chart, series);
        break;
    case 2:
        data = std::make_unique<TSeriesDataHTML>(chart, series);
        break;
    default:
        data = std::make_unique<TSeriesDataXLS>(chart, series);
        break;
    }
    data->IncludeLabels = CBLabels->isChecked();
    data->IncludeIndex = CBIndex->isChecked();
    data->IncludeHeader = CBHeader->isChecked();
    data->IncludeColors = CBColors->isChecked();
    return data;
}

void TPlotExportForm::SaveNative(const std::string& fileName, bool includeData) {
    cb::chart::TCustomAxisPanel* chart = Chart();
    if (!chart) return TPlotExportFormBase::SaveNative(fileName, includeData);
    SaveChartToFile(*chart, fileName, includeData, CBNativeFormat->currentIndex() == 1);
}

bool TPlotExportForm::HasSeries() {
    cb::chart::TCustomAxisPanel* chart = Chart();
    return chart && chart->NumberOfSeries() > 0;
}

std::string TPlotExportForm::NativeStream() {
    cb::chart::TCustomAxisPanel* chart = Chart();
    if (!chart) return {};
    cb::rtl::TStringStream stream;
    SaveChartToStream(*chart, stream, CBNativeData->isChecked(), CBNativeFormat->currentIndex() == 1);
    return stream.DataString();
}

void TPlotExportForm::PrepareDataPage() {
    cb::chart::TCustomAxisPanel* chart = Chart();
    if (!chart) return TPlotExportFormBase::PrepareDataPage();
    CBSeries->clear();
    CBSeries->addItem(tr("(all)"), QVariant::fromValue<void*>(nullptr));
    for (int i = 0; i < chart->NumberOfSeries(); ++i)
        CBSeries->addItem(QString::fromStdString(cb::chart::GetSeriesDisplayTitle(*chart->SeriesAt(i))),
                          QVariant::fromValue<void*>(chart->SeriesAt(i)));
    CBSeries->setCurrentIndex(0);
}

}  // namespace cb::chartexport
