#include "app/ui/dialogs/CopyCubeWizard.h"

#include "app/core/cube/CubeModel.h"
#include "app/core/base/Helpers.h"
#include "app/core/publish/PublishMail.h"
#include "app/ui/dialogs/Features.h"
#include "extras/HelpHook.h"
#include "extras/KitGIFAnimator.h"
#include "extras/KitPageControl.h"
#include "gif/KitGIFImage.h"
#include "platform/desktop/SaveDialog.h"
#include "platform/gfx/Color.h"
#include "platform/os/Files.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/Strings.h"
#include "platform/desktop/PlainMessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>
#include <filesystem>

namespace cb::app {

namespace {

void SetPanelColor(QWidget* w, TColor color) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, gfx::ToQColor(color));
    p.setColor(QPalette::Base, gfx::ToQColor(color));
    w->setPalette(p);
}

// The page's client panel, filling it.
QWidget* MakeClientPanel(QWidget* page) {
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QWidget(page);
    panel->setObjectName("panClient");
    outer->addWidget(panel);
    return panel;
}

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

// A topic of the program's help file; an empty topic is its start page.
void OpenHelp(const std::string& topic) {
    cb::extras::HHHelpTopic(cb::os::GetApplicationPath() + "help/Tavo.chm", topic, "", 0);
}

// A flat, hand-cursor text button.
QPushButton* MakeLinkButton(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

// Eight frames of a ring of dots, one lit after the other.
void BuildAnimation(cb::gif::TKitGIFImage& gif) {
    constexpr int size = 64, dots = 8;
    for (int frame = 0; frame < dots; ++frame) {
        QImage picture(size, size, QImage::Format_RGB32);
        picture.fill(QColor(0xEF, 0xEF, 0xEF));  // the pages' background
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < dots; ++i) {
            const double angle = 2 * M_PI * i / dots;
            const int age = (frame - i + dots) % dots;
            painter.setBrush(QColor::fromHsv(210, 220 - age * 25, 230 - age * 8));
            painter.drawEllipse(QPointF(size / 2 + 22 * std::cos(angle), size / 2 + 22 * std::sin(angle)), 6, 6);
        }
        painter.end();
        gif.AppendFrame(picture);
    }
}

}  // namespace

// --- target page -----------------------------------------------------------

TfrmCEWizardFromSaveToLocation::TfrmCEWizardFromSaveToLocation(QWidget* parent, TAppContext context)
    : TContentForm(parent), FContext(context) {
    panClient = MakeClientPanel(this);
    auto* layout = new QVBoxLayout(panClient);
    layout->setContentsMargins(24, 16, 24, 16);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel("Cube Name", panClient));
    editCubeName = new QLineEdit(panClient);
    editCubeName->setObjectName("editCubeName");
    nameRow->addWidget(editCubeName, 1);
    layout->addLayout(nameRow);

    auto* group = new QGroupBox("Save To Location", panClient);
    auto* grid = new QGridLayout(group);
    rbLocalCube = new QRadioButton("Local Cube File", group);
    rbLocalCube->setObjectName("rbLocalCube");
    editLocalCubeFilename = new QLineEdit(group);
    editLocalCubeFilename->setObjectName("editLocalCubeFilename");
    btnLocalCubeSelectFile = new QPushButton("...", group);
    btnLocalCubeSelectFile->setObjectName("btnLocalCubeSelectFile");
    rbLocalCubZipped = new QRadioButton("Local Cube File Zipped", group);
    rbLocalCubZipped->setObjectName("rbLocalCubZipped");
    editLocalCubeZippedFilename = new QLineEdit(group);
    editLocalCubeZippedFilename->setObjectName("editLocalCubeZippedFilename");
    btnLocalCubeZippedSelectFile = new QPushButton("...", group);
    btnLocalCubeZippedSelectFile->setObjectName("btnLocalCubeZippedSelectFile");
    chkZipPassword = new QCheckBox("Password protect the file", group);
    chkZipPassword->setObjectName("chkZipPassword");
    editZipPassword = new QLineEdit(group);
    editZipPassword->setObjectName("editZipPassword");
    editZipPassword->setEchoMode(QLineEdit::Password);
    editZipPasswordConfirm = new QLineEdit(group);
    editZipPasswordConfirm->setObjectName("editZipPasswordConfirm");
    editZipPasswordConfirm->setEchoMode(QLineEdit::Password);

    int row = 0;
    grid->addWidget(rbLocalCube, row++, 0, 1, 3);
    grid->addWidget(new QLabel("Filename", group), row, 0);
    grid->addWidget(editLocalCubeFilename, row, 1);
    grid->addWidget(btnLocalCubeSelectFile, row++, 2);
    grid->addWidget(rbLocalCubZipped, row++, 0, 1, 3);
    grid->addWidget(new QLabel("Filename", group), row, 0);
    grid->addWidget(editLocalCubeZippedFilename, row, 1);
    grid->addWidget(btnLocalCubeZippedSelectFile, row++, 2);
    grid->addWidget(chkZipPassword, row++, 0, 1, 3);
    grid->addWidget(new QLabel("Zip Password", group), row, 0);
    grid->addWidget(editZipPassword, row++, 1);
    grid->addWidget(new QLabel("Zip Password Confirm", group), row, 0);
    grid->addWidget(editZipPasswordConfirm, row++, 1);
    layout->addWidget(group);
    layout->addStretch();

    rbLocalCube->setChecked(true);
    connect(rbLocalCube, &QRadioButton::toggled, this, [this] { UpdateControls(); });
    connect(chkZipPassword, &QCheckBox::toggled, this, [this] { UpdateControls(); });
    connect(btnLocalCubeSelectFile, &QPushButton::clicked, this,
            [this] { SelectFile(editLocalCubeFilename, "Local Cube Files (*.cub)", "cub"); });
    connect(btnLocalCubeZippedSelectFile, &QPushButton::clicked, this,
            [this] { SelectFile(editLocalCubeZippedFilename, "Zip Files (*.zip)", "zip"); });
    UpdateControls();
}

void TfrmCEWizardFromSaveToLocation::UpdateControls() {
    const bool zipped = rbLocalCubZipped->isChecked();
    editLocalCubeFilename->setEnabled(!zipped);
    btnLocalCubeSelectFile->setEnabled(!zipped);
    editLocalCubeZippedFilename->setEnabled(zipped);
    btnLocalCubeZippedSelectFile->setEnabled(zipped);
    chkZipPassword->setEnabled(zipped);
    const bool passwords = zipped && chkZipPassword->isChecked();
    editZipPassword->setEnabled(passwords);
    editZipPasswordConfirm->setEnabled(passwords);
    if (!chkZipPassword->isChecked()) {
        editZipPassword->clear();
        editZipPasswordConfirm->clear();
    }
}

void TfrmCEWizardFromSaveToLocation::SelectFile(QLineEdit* edit, const std::string& filter, const std::string& suffix) {
    // The overwrite question comes when the page is left.
    const std::string chosen =
        OnSelectFile ? OnSelectFile(filter, suffix)
                     : cb::os::AskSaveFileName(this, {"Cube File Storage Location", filter, {suffix}, false});
    if (!chosen.empty()) edit->setText(QString::fromStdString(chosen));
}

bool TfrmCEWizardFromSaveToLocation::CanLeavePage() {
    using TLocation = TCreateLocalCubeUsingGlobalCreateStorageLocation;
    auto location = std::make_unique<TLocation>();
    const bool zipped = rbLocalCubZipped->isChecked();
    location->Kind = zipped ? TLocation::slZippedLocalCube : TLocation::slLocalCube;
    // A typed name is taken as a chosen one: in the folder used last, with
    // the format's extension.
    QLineEdit* fileEdit = zipped ? editLocalCubeZippedFilename : editLocalCubeFilename;
    std::string error;
    location->FileName = IsBlankString(Text(fileEdit))
                             ? std::string()
                             : cb::os::CompleteSaveFileName(Text(fileEdit), {zipped ? "zip" : "cub"}, error);
    if (!error.empty()) {
        FContext.ShowError(error);
        fileEdit->setFocus();
        return false;
    }
    if (!location->FileName.empty()) fileEdit->setText(QString::fromStdString(location->FileName));
    if (zipped && chkZipPassword->isChecked()) location->ZipPassword = Text(editZipPassword);
    FStorageLocation = std::move(location);

    const std::string name = Text(editCubeName);
    if (IsBlankString(name)) {
        FContext.ShowError("Please enter a cube name.");
        editCubeName->setFocus();
        return false;
    }
    if (!IsValidCubeName(name, FContext.UserInterface)) {
        editCubeName->setFocus();
        return false;
    }
    FCubeName = name;

    const std::string file = FStorageLocation->FileName;
    const std::string folder = cb::rtl::ExtractFilePath(file);
    if (IsBlankString(cb::rtl::ExtractFileName(file)) || (!folder.empty() && !cb::os::DirectoryExists(folder))) {
        FContext.ShowError("Please select a local cube file store location to store the cube to.");
        return false;
    }
    bool result = true;
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        if (IsFileLocked(file)) {
            FContext.ShowError(
                "The selected file is readonly. Please close the application which has the file open or select a new "
                "file.");
            result = false;
        } else {
            result = FContext.ConfirmYesNo("The file " + file + " already exists. Do you want to overwrite this file?");
        }
    }
    if (zipped && chkZipPassword->isChecked() &&
        cb::rtl::Trim(Text(editZipPassword)) != cb::rtl::Trim(Text(editZipPasswordConfirm))) {
        FContext.ShowError("Your zip passwords do not match.");
        editZipPassword->clear();
        editZipPasswordConfirm->clear();
        editZipPassword->setFocus();
        return false;
    }
    return result;
}

std::unique_ptr<TCreateLocalCubeUsingGlobalCreateStorageLocation>
TfrmCEWizardFromSaveToLocation::TakeStorageLocation() {
    return std::move(FStorageLocation);
}

void TfrmCEWizardFromSaveToLocation::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (theme) SetPanelColor(panClient, theme->BackgroundColor);
}

// --- summary page ----------------------------------------------------------

TfrmCEWizardCubeSummary::TfrmCEWizardCubeSummary(QWidget* parent) : TContentForm(parent) {
    panClient = MakeClientPanel(this);
    auto* layout = new QVBoxLayout(panClient);
    layout->setContentsMargins(24, 12, 24, 12);
    memSummary = new QPlainTextEdit(panClient);
    memSummary->setObjectName("memSummary");
    memSummary->setReadOnly(true);
    memSummary->setFrameShape(QFrame::NoFrame);
    memSummary->setLineWrapMode(QPlainTextEdit::NoWrap);
    memSummary->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memSummary->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(memSummary);
    auto* help = MakeLinkButton("lblHelpButton", "Help", panClient);
    layout->addWidget(help, 0, Qt::AlignLeft);
    connect(help, &QPushButton::clicked, this, [] { OpenHelp(""); });
}

void TfrmCEWizardCubeSummary::SetBuilder(TCreateLocalCubeUsingGlobalCreate* builder) {
    // The summary's CR line breaks shown as lines.
    const std::string text = builder ? builder->GetSummary() : std::string();
    memSummary->setPlainText(QString::fromStdString(cb::rtl::StringReplace(text, "\r", "\n", cb::rtl::rfReplaceAll)));
}

void TfrmCEWizardCubeSummary::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (!theme) return;
    SetPanelColor(panClient, theme->BackgroundColor);
    SetPanelColor(memSummary, theme->BackgroundColor);
}

// --- building page ---------------------------------------------------------

TfrmCEWizardFromConnectionInfoBuildingScreen::TfrmCEWizardFromConnectionInfoBuildingScreen(QWidget* parent)
    : TContentForm(parent) {
    panClient = MakeClientPanel(this);
    auto* layout = new QVBoxLayout(panClient);
    KitGIFAnimator1 = new cb::extras::TKitGIFAnimator(panClient);
    KitGIFAnimator1->setObjectName("KitGIFAnimator1");
    cb::gif::TKitGIFImage animation;
    BuildAnimation(animation);
    KitGIFAnimator1->SetImage(animation);
    KitGIFAnimator1->SetStretch(true);
    KitGIFAnimator1->SetAsyncDrawing(true);
    KitGIFAnimator1->setFixedSize(96, 96);
    layout->addStretch();
    layout->addWidget(KitGIFAnimator1, 0, Qt::AlignCenter);
    layout->addStretch();
}

void TfrmCEWizardFromConnectionInfoBuildingScreen::StartAnimation() {
    KitGIFAnimator1->SetKitAnimate(true);
}

void TfrmCEWizardFromConnectionInfoBuildingScreen::StopAnimation() {
    KitGIFAnimator1->SetKitAnimate(false);
}

void TfrmCEWizardFromConnectionInfoBuildingScreen::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (theme) SetPanelColor(panClient, theme->BackgroundColor);
}

// --- finished page ---------------------------------------------------------

TfrmCEWizardFinishedScreen::TfrmCEWizardFinishedScreen(QWidget* parent, TAppContext context)
    : TContentForm(parent), FContext(context) {
    panClient = MakeClientPanel(this);
    auto* layout = new QVBoxLayout(panClient);
    layout->setContentsMargins(24, 16, 24, 16);
    lblFinished = cb::os::PlainLabel(new QLabel(panClient));
    lblFinished->setObjectName("lblFinished");
    lblFinished->setWordWrap(true);
    imgEmailTo = new QPushButton("E-mail the file ...", panClient);
    imgEmailTo->setObjectName("imgEmailTo");
    imgEmailTo->setCursor(Qt::PointingHandCursor);
    layout->addWidget(lblFinished);
    layout->addWidget(imgEmailTo, 0, Qt::AlignLeft);
    layout->addStretch();
    connect(imgEmailTo, &QPushButton::clicked, this, [this] { EmailFile(); });
}

void TfrmCEWizardFinishedScreen::SetBuilder(TCreateLocalCubeUsingGlobalCreate* builder) {
    FBuilder = builder;
    lblFinished->setText(
        QString::fromStdString(builder->GetStorageLocation().FileName + " has been successfully created."));
}

void TfrmCEWizardFinishedScreen::EmailFile() {
    if (!FBuilder) return;
    SendFileByEmail("", "", "", FBuilder->GetStorageLocation().FileName, FContext);
}

void TfrmCEWizardFinishedScreen::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (theme) SetPanelColor(panClient, theme->BackgroundColor);
}

// --- error page ------------------------------------------------------------

TfrmCEWizardFinishedWithError::TfrmCEWizardFinishedWithError(QWidget* parent) : TContentForm(parent) {
    panClient = MakeClientPanel(this);
    auto* layout = new QVBoxLayout(panClient);
    layout->setContentsMargins(24, 16, 24, 16);
    lblErrorMsg = cb::os::PlainLabel(new QLabel(panClient));
    lblErrorMsg->setObjectName("lblErrorMsg");
    lblErrorMsg->setWordWrap(true);
    layout->addWidget(lblErrorMsg);
    layout->addStretch();
}

void TfrmCEWizardFinishedWithError::SetErrorText(const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (lblErrorMsg->text() != value) lblErrorMsg->setText(value);
}

void TfrmCEWizardFinishedWithError::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (theme) SetPanelColor(panClient, theme->BackgroundColor);
}

// --- the wizard ------------------------------------------------------------

TfrmCopyCubeWizard::TfrmCopyCubeWizard(TAppContext context, QWidget* owner) : TContentForm(nullptr), FContext(context) {
    setObjectName("frmCopyCubeWizard");
    if (owner)
        setParent(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                             Qt::WindowCloseButtonHint);
    setWindowTitle(QApplication::applicationName().isEmpty() ? QString("Cube Browser")
                                                             : QApplication::applicationName());
    setModal(true);
    resize(675, 423);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    panTopBanner = new QWidget(this);
    panTopBanner->setObjectName("panTopBanner");
    SetPanelColor(panTopBanner, 0xFFFFFF);
    auto* bannerRow = new QHBoxLayout(panTopBanner);
    bannerRow->setContentsMargins(16, 8, 8, 8);
    auto* banner = new QVBoxLayout;
    bannerRow->addLayout(banner, 1);
    auto* help = MakeLinkButton("lblHelp", "Help", panTopBanner);
    bannerRow->addWidget(help, 0, Qt::AlignTop);
    connect(help, &QPushButton::clicked, this, [] { OpenHelp("tools.htm"); });
    lblHeaderTop = new QLabel(panTopBanner);
    lblHeaderTop->setObjectName("lblHeaderTop");
    QFont bold = lblHeaderTop->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    lblHeaderTop->setFont(bold);
    lblHeaderSubDisplay = new QLabel(panTopBanner);
    lblHeaderSubDisplay->setObjectName("lblHeaderSubDisplay");
    lblHeaderSubDisplay->setWordWrap(true);
    banner->addWidget(lblHeaderTop);
    banner->addWidget(lblHeaderSubDisplay);
    layout->addWidget(panTopBanner);
    auto* line = new QFrame(this);
    line->setObjectName("shBottomLine");
    line->setFrameShape(QFrame::HLine);
    layout->addWidget(line);

    wcMain = new cb::extras::TKitPageControl(this);
    wcMain->setObjectName("wcMain");
    wcMain->SetHideAllTabs(true);
    layout->addWidget(wcMain, 1);

    panBottom = new QWidget(this);
    panBottom->setObjectName("panBottom");
    auto* bottom = new QHBoxLayout(panBottom);
    bottom->setContentsMargins(12, 8, 12, 8);
    bottom->addStretch();
    btnBack = new QPushButton("&Back", panBottom);
    btnBack->setObjectName("btnBack");
    btnNext = new QPushButton("&Next", panBottom);
    btnNext->setObjectName("btnNext");
    btnNext->setDefault(true);
    btnCancel = new QPushButton("&Cancel", panBottom);
    btnCancel->setObjectName("btnCancel");
    bottom->addWidget(btnBack);
    bottom->addWidget(btnNext);
    bottom->addWidget(btnCancel);
    layout->addWidget(panBottom);
    connect(btnBack, &QPushButton::clicked, this, [this] { Back(); });
    connect(btnNext, &QPushButton::clicked, this, [this] { Next(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { close(); });

    FTitles = {"Saving the Cube", "Quick Copy Cube", "Now building your local cube", "Finished creating local cube",
               "Error during processing of selected cube"};
    FExplanations = {
        "Provide a name for the cube and then select a location and enter a filename for the new local cube.",
        "Listed below is the structure of your new local cube copy.", "This may take a few moments. Please be patient.",
        "", "There has been an error during the processing of the selected cube."};
    const char* sheets[] = {"tsSaveToLocation", "tsCubeSummary", "tsBuildingScreen", "tsFinished",
                            "tsFinishedWithError"};
    for (int i = 0; i < 5; ++i) {
        auto* sheet = new QWidget(wcMain);
        sheet->setObjectName(sheets[i]);
        wcMain->addTab(sheet, QString::fromStdString(FTitles[static_cast<size_t>(i)]));
        TContentForm* page = nullptr;
        switch (i) {
        case pgTarget:
            page = FTargetPage = new TfrmCEWizardFromSaveToLocation(sheet, context);
            break;
        case pgSummary:
            page = FSummaryPage = new TfrmCEWizardCubeSummary(sheet);
            break;
        case pgBuilding:
            page = FBuildingPage = new TfrmCEWizardFromConnectionInfoBuildingScreen(sheet);
            break;
        case pgFinished:
            page = FFinishedPage = new TfrmCEWizardFinishedScreen(sheet, context);
            break;
        default:
            page = FErrorPage = new TfrmCEWizardFinishedWithError(sheet);
            break;
        }
        FPages.Add(page);
    }
    ApplyTheme(&FTheme);
    for (int i = 0; i < FPages.GetCount(); ++i) FPages.GetForm(i)->ShowDocked();

    FBuilder = std::make_unique<TCreateLocalCubeUsingGlobalCreate>(context);
    FBuilder->OnProcessMessages = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    FBackStack = {pgTarget};
    FCurrentPage = pgTarget;
    ShowCurrentPage();
}

TfrmCopyCubeWizard::~TfrmCopyCubeWizard() = default;

void TfrmCopyCubeWizard::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    SetColor(0xFFFFFF);
    if (!theme) return;
    SetPanelColor(panBottom, theme->BackgroundColor);
    for (int i = 0; i < FPages.GetCount(); ++i) FPages.GetForm(i)->ApplyTheme(theme);
}

void TfrmCopyCubeWizard::SetSourceConnection(TMSOLAPConnection* connection) {
    if (!connection || !connection->GetDescription()) return;
    // A copy: the main window keeps its own description.
    FBuilder->Connection().Connect(std::make_unique<TCubeConnectionString>(*connection->GetDescription()));
}

void TfrmCopyCubeWizard::SetCubeName(const std::string& name) {
    FBuilder->Connection().SelectCubeByName(name);
    FBuilder->LoadMeasureNames();
    FBuilder->LoadDimensionNames();
}

void TfrmCopyCubeWizard::ShowCurrentPage() {
    wcMain->SetActivePageIndex(FCurrentPage);
    lblHeaderTop->setText(QString::fromStdString(FTitles[static_cast<size_t>(FCurrentPage)]));
    lblHeaderSubDisplay->setText(QString::fromStdString(FExplanations[static_cast<size_t>(FCurrentPage)]));
    UpdateButtons();
}

void TfrmCopyCubeWizard::UpdateButtons() {
    btnBack->setEnabled(FCurrentPage != pgTarget);
    btnBack->setVisible(FCurrentPage != pgFinished);
    btnNext->setText(FCurrentPage == pgFinished ? "&Finish" : "&Next");
    btnCancel->setText(FCurrentPage == pgFinished ? "&Close" : "&Cancel");
}

void TfrmCopyCubeWizard::BuildCube() {
    for (QPushButton* b : {btnBack, btnNext, btnCancel}) b->setEnabled(false);
    FBuilding = true;
    FContext.SetBusy(true);
    auto restore = cb::rtl::OnScopeExit([this] {
        FBuilding = false;
        FContext.SetBusy(false);
        for (QPushButton* b : {btnBack, btnNext, btnCancel}) b->setEnabled(true);
    });
    FCurrentPage = pgBuilding;
    FBuildingPage->StartAnimation();
    ShowCurrentPage();
    for (QPushButton* b : {btnBack, btnNext, btnCancel}) b->setEnabled(false);
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    try {
        if (FBuilder->Execute()) {
            for (int i = 0; i < 3; ++i) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            FBuildingPage->StopAnimation();
            FCurrentPage = pgFinished;
            FFinishedPage->SetBuilder(FBuilder.get());
            FDone = true;
        } else {
            FBuildingPage->StopAnimation();
            FCurrentPage = pgError;
            FErrorPage->SetErrorText(
                "Build of cube failed to process successfully. Please view our helpfiles to check for potential "
                "issues.");
        }
    } catch (const std::exception& e) {
        FBuildingPage->StopAnimation();
        FCurrentPage = pgError;
        FErrorPage->SetErrorText(std::string("Build of cube failed with error: ") + e.what());
    }
}

void TfrmCopyCubeWizard::Next() {
    if (FBuilding) return;
    if (!FPages.GetForm(FCurrentPage)->CanLeavePage()) return;
    FBackStack.push_back(FCurrentPage);
    switch (FCurrentPage) {
    case pgTarget:
        FBuilder->SetStorageLocation(FTargetPage->TakeStorageLocation());
        FBuilder->CubeName = FTargetPage->AcceptedCubeName();
        FCurrentPage = pgSummary;
        FSummaryPage->SetBuilder(FBuilder.get());
        break;
    case pgSummary:
        BuildCube();
        break;
    case pgFinished:
        FDone = true;
        accept();
        return;
    default:
        break;
    }
    ShowCurrentPage();
}

void TfrmCopyCubeWizard::Back() {
    if (FBuilding || FBackStack.empty()) return;
    FCurrentPage = FBackStack.back();
    FBackStack.pop_back();
    if (FBackStack.empty()) FBackStack.push_back(pgTarget);
    FDone = false;
    ShowCurrentPage();
}

void TfrmCopyCubeWizard::closeEvent(QCloseEvent* event) {
    // Not while the cube is being built; else ask unless the copy is done.
    if (FBuilding || (!FDone && !FContext.ConfirmYesNo(
                                    "You have not completed the cube copy wizard. Are you sure you wish to exit?"))) {
        event->ignore();
        return;
    }
    event->accept();
    TContentForm::reject();
}

void TfrmCopyCubeWizard::reject() {
    close();
}

void TfrmCopyCubeWizard::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    TContentForm::keyPressEvent(event);
}

void ShowCopyCubeWizard(const TFeatureContext& context) {
    if (!context.Connection) return;
    TfrmCopyCubeWizard wizard(context.App, context.Owner);
    wizard.SetSourceConnection(context.Connection);
    if (auto cube = context.Connection->GetCurrentCubeDef()) wizard.SetCubeName(cube->Name());
    wizard.exec();
}

}  // namespace cb::app
