#pragma once
// The cube-copy wizard: turns the open cube into a local cube file, plain or
// zipped with an optional password, through five pages on a page control
// with hidden tabs (target, summary, building, finished, error). Next and
// Back move between them; a stack of visited pages drives Back.
#include "app/core/base/AppContext.h"
#include "app/core/cube/LocalCubeCreate.h"
#include "app/core/theme/WindowTheme.h"
#include "app/ui/widgets/ContentForm.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace cb::extras {
class TKitGIFAnimator;
class TKitPageControl;
}  // namespace cb::extras

namespace cb::app {

// Page 0: name and target of the new cube.
class TfrmCEWizardFromSaveToLocation : public TContentForm {
    Q_OBJECT
public:
    TfrmCEWizardFromSaveToLocation(QWidget* parent, TAppContext context);
    bool CanLeavePage() override;
    void ApplyTheme(const TTheme* theme) override;

    // The target read from the page by the last CanLeavePage.
    std::unique_ptr<TCreateLocalCubeUsingGlobalCreateStorageLocation> TakeStorageLocation();
    const std::string& AcceptedCubeName() const { return FCubeName; }
    // Asks for a file (filter, default suffix); empty: a save dialog.
    std::function<std::string(const std::string& filter, const std::string& suffix)> OnSelectFile;

    QLineEdit* editCubeName = nullptr;
    QRadioButton* rbLocalCube = nullptr;
    QLineEdit* editLocalCubeFilename = nullptr;
    QPushButton* btnLocalCubeSelectFile = nullptr;
    QRadioButton* rbLocalCubZipped = nullptr;
    QLineEdit* editLocalCubeZippedFilename = nullptr;
    QPushButton* btnLocalCubeZippedSelectFile = nullptr;
    QCheckBox* chkZipPassword = nullptr;
    QLineEdit* editZipPassword = nullptr;
    QLineEdit* editZipPasswordConfirm = nullptr;

private:
    void UpdateControls();
    void SelectFile(QLineEdit* edit, const std::string& filter, const std::string& suffix);

    TAppContext FContext;
    QWidget* panClient = nullptr;
    std::unique_ptr<TCreateLocalCubeUsingGlobalCreateStorageLocation> FStorageLocation;
    std::string FCubeName;
};

// Page 1: what will be copied.
class TfrmCEWizardCubeSummary : public TContentForm {
    Q_OBJECT
public:
    explicit TfrmCEWizardCubeSummary(QWidget* parent);
    void SetBuilder(TCreateLocalCubeUsingGlobalCreate* builder);
    void ApplyTheme(const TTheme* theme) override;
    QPlainTextEdit* memSummary = nullptr;

private:
    QWidget* panClient = nullptr;
};

// Page 2: the animation while the cube is built.
class TfrmCEWizardFromConnectionInfoBuildingScreen : public TContentForm {
    Q_OBJECT
public:
    explicit TfrmCEWizardFromConnectionInfoBuildingScreen(QWidget* parent);
    void StartAnimation();
    void StopAnimation();
    void ApplyTheme(const TTheme* theme) override;
    cb::extras::TKitGIFAnimator* KitGIFAnimator1 = nullptr;

private:
    QWidget* panClient = nullptr;
};

// Page 3: done, with the file and a way to e-mail it.
class TfrmCEWizardFinishedScreen : public TContentForm {
    Q_OBJECT
public:
    TfrmCEWizardFinishedScreen(QWidget* parent, TAppContext context);
    void SetBuilder(TCreateLocalCubeUsingGlobalCreate* builder);
    void ApplyTheme(const TTheme* theme) override;
    // Hands the new file to the mail program.
    void EmailFile();
    QLabel* lblFinished = nullptr;
    QPushButton* imgEmailTo = nullptr;

private:
    TAppContext FContext;
    QWidget* panClient = nullptr;
    TCreateLocalCubeUsingGlobalCreate* FBuilder = nullptr;
};

// Page 4: the build failed.
class TfrmCEWizardFinishedWithError : public TContentForm {
    Q_OBJECT
public:
    explicit TfrmCEWizardFinishedWithError(QWidget* parent);
    void SetErrorText(const std::string& text);
    void ApplyTheme(const TTheme* theme) override;
    QLabel* lblErrorMsg = nullptr;

private:
    QWidget* panClient = nullptr;
};

class TfrmCopyCubeWizard : public TContentForm {
    Q_OBJECT
public:
    enum : int {
        pgTarget = 0,
        pgSummary = 1,
        pgBuilding = 2,
        pgFinished = 3,
        pgError = 4
    };

    TfrmCopyCubeWizard(TAppContext context, QWidget* owner = nullptr);
    ~TfrmCopyCubeWizard() override;

    // The builder connects with a copy of the source's description.
    void SetSourceConnection(TMSOLAPConnection* connection);
    // Selects the cube of that name and loads its measures and dimensions.
    void SetCubeName(const std::string& name);
    void ApplyTheme(const TTheme* theme) override;

    void Next();
    void Back();
    int CurrentPage() const { return FCurrentPage; }
    bool Done() const { return FDone; }
    // Page numbers as Back will take them, bottom first.
    const std::vector<int>& BackStack() const { return FBackStack; }
    TCreateLocalCubeUsingGlobalCreate& Builder() { return *FBuilder; }

    TfrmCEWizardFromSaveToLocation* TargetPage() const { return FTargetPage; }
    TfrmCEWizardCubeSummary* SummaryPage() const { return FSummaryPage; }
    TfrmCEWizardFinishedScreen* FinishedPage() const { return FFinishedPage; }
    TfrmCEWizardFinishedWithError* ErrorPage() const { return FErrorPage; }

    QPushButton* btnBack = nullptr;
    QPushButton* btnNext = nullptr;
    QPushButton* btnCancel = nullptr;
    QLabel* lblHeaderTop = nullptr;
    QLabel* lblHeaderSubDisplay = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    // Escape closes, as Cancel does (with its question).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowCurrentPage();
    void UpdateButtons();
    void BuildCube();

    TAppContext FContext;
    TTheme FTheme;
    std::unique_ptr<TCreateLocalCubeUsingGlobalCreate> FBuilder;
    cb::extras::TKitPageControl* wcMain = nullptr;
    QWidget* panTopBanner = nullptr;
    QWidget* panBottom = nullptr;
    TContentFormList FPages;
    std::vector<std::string> FTitles, FExplanations;
    std::vector<int> FBackStack;
    int FCurrentPage = pgTarget;
    bool FDone = false;
    bool FBuilding = false;
    TfrmCEWizardFromSaveToLocation* FTargetPage = nullptr;
    TfrmCEWizardCubeSummary* FSummaryPage = nullptr;
    TfrmCEWizardFromConnectionInfoBuildingScreen* FBuildingPage = nullptr;
    TfrmCEWizardFinishedScreen* FFinishedPage = nullptr;
    TfrmCEWizardFinishedWithError* FErrorPage = nullptr;
};

}  // namespace cb::app
