// The cube-copy wizard driven as a person would: pages, back stack, target
// checks, a build that succeeds and one that fails, and closing.
#include "app/ui/dialogs/CopyCubeWizard.h"
#include "MDXTestSupport.h"
#include "app/ui/dialogs/Features.h"
#include "olap/engine/CubeFile.h"
#include "tests/common/TestCubes.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

using namespace cb::app;

namespace {

struct TWizardFixture {
    cbtest::TTestContext Context;
    std::string Source = Context.Dir().file("tiny.cub");
    std::unique_ptr<TMSOLAPConnection> Main;
    std::unique_ptr<TfrmCopyCubeWizard> Wizard;

    TWizardFixture() {
        cb::olap::WriteCubeFile(*cb::olap::MakeTinyCube(), Source);
        Main = cbtest::OpenLocalCube(Source, Context.Context());
        Wizard = std::make_unique<TfrmCopyCubeWizard>(Context.Context());
        Wizard->SetSourceConnection(Main.get());
        Wizard->SetCubeName("Tiny");
        Wizard->show();
    }
    TfrmCEWizardFromSaveToLocation& Target() { return *Wizard->TargetPage(); }
    void Next() { QTest::mouseClick(Wizard->btnNext, Qt::LeftButton); }
    void Back() { QTest::mouseClick(Wizard->btnBack, Qt::LeftButton); }
    std::string Header() const { return Wizard->lblHeaderTop->text().toStdString(); }
    void Shot(const std::string& name) {
        if (const char* dir = std::getenv("CB_SCREENSHOTS"))
            Wizard->grab().save(QString::fromStdString(std::string(dir) + "/" + name));
    }
};

TEST(CopyCubeWizard, PagesBackStackAndASuccessfulBuild) {
    TWizardFixture f;
    EXPECT_EQ(f.Header(), "Saving the Cube");
    EXPECT_FALSE(f.Wizard->btnBack->isEnabled());
    f.Shot("wizard-0-target.png");

    // A blank name keeps the page.
    f.Next();
    EXPECT_EQ(f.Wizard->CurrentPage(), TfrmCopyCubeWizard::pgTarget);
    EXPECT_EQ(f.Context.UI.Errors, std::vector<std::string>{"Please enter a cube name."});

    // A name but no file.
    QTest::keyClicks(f.Target().editCubeName, "Copy");
    f.Next();
    EXPECT_EQ(f.Context.UI.Errors.back(), "Please select a local cube file store location to store the cube to.");

    const std::string target = f.Context.Dir().file("copy.cub");
    f.Target().editLocalCubeFilename->setText(QString::fromStdString(target));
    f.Next();
    EXPECT_EQ(f.Wizard->CurrentPage(), TfrmCopyCubeWizard::pgSummary);
    EXPECT_EQ(f.Header(), "Quick Copy Cube");
    const std::string summary = f.Wizard->SummaryPage()->memSummary->toPlainText().toStdString();
    EXPECT_NE(summary.find("Cube Name: Copy\nCube Destination: \nLocal Cube File: " + target), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("     - [High Price]\n"), std::string::npos);
    EXPECT_NE(summary.find("     - [Product]\n"), std::string::npos);
    f.Shot("wizard-1-summary.png");

    // Back to the target, a new name, and the summary follows it.
    f.Back();
    EXPECT_EQ(f.Wizard->CurrentPage(), TfrmCopyCubeWizard::pgTarget);
    f.Target().editCubeName->setText("Second");
    f.Next();
    EXPECT_NE(f.Wizard->SummaryPage()->memSummary->toPlainText().toStdString().find("Cube Name: Second"),
              std::string::npos);

    f.Next();
    EXPECT_EQ(f.Wizard->CurrentPage(), TfrmCopyCubeWizard::pgFinished);
    EXPECT_TRUE(f.Wizard->Done());
    EXPECT_EQ(f.Wizard->FinishedPage()->lblFinished->text().toStdString(), target + " has been successfully created.");
    EXPECT_FALSE(f.Wizard->btnBack->isVisible());
    EXPECT_EQ(f.Wizard->btnNext->text(), "&Finish");
    EXPECT_EQ(f.Wizard->btnCancel->text(), "&Close");
    EXPECT_TRUE(std::filesystem::exists(target));
    f.Shot("wizard-3-finished.png");

    // The main window's description is its own.
    EXPECT_NE(f.Wizard->Builder().Connection().GetDescription(), f.Main->GetDescription());

    // Finish closes without a question.
    const size_t questions = f.Context.UI.Questions.size();
    f.Next();
    EXPECT_FALSE(f.Wizard->isVisible());
    EXPECT_EQ(f.Context.UI.Questions.size(), questions);
}

TEST(CopyCubeWizard, ErrorPageTargetChecksAndClosing) {
    TWizardFixture f;
    f.Target().editCubeName->setText("Copy");
    // An existing file that is not a cube: asked, then the build fails.
    const std::string notes = f.Context.Dir().file("notes.cub");
    cbtest::writeFile(notes, "mine");
    f.Target().editLocalCubeFilename->setText(QString::fromStdString(notes));
    f.Context.UI.Answer = false;
    f.Next();
    EXPECT_EQ(f.Wizard->CurrentPage(), TfrmCopyCubeWizard::pgTarget);
    EXPECT_EQ(f.Context.UI.Questions.back(),
              "The file " + notes + " already exists. Do you want to overwrite this file?");
    f.Context.UI.Answer = true;
    f.Next();
    f.Next();
    EXPECT_EQ(f.Wizard->CurrentPage(), TfrmCopyCubeWizard::pgError);
    EXPECT_EQ(f.Wizard->ErrorPage()->lblErrorMsg->text().toStdString(),
              "Build of cube failed to process successfully. Please view our helpfiles to check for potential issues.");
    EXPECT_EQ(cbtest::readFile(notes), "mine");
    f.Shot("wizard-4-error.png");

    // Next on the error page stays there and is pushed; Back then stays too.
    f.Next();
    EXPECT_EQ(f.Wizard->CurrentPage(), TfrmCopyCubeWizard::pgError);
    EXPECT_EQ(f.Wizard->BackStack(), (std::vector<int>{0, 0, 1, 4}));
    f.Back();
    EXPECT_EQ(f.Wizard->CurrentPage(), TfrmCopyCubeWizard::pgError);
    f.Back();
    EXPECT_EQ(f.Wizard->CurrentPage(), TfrmCopyCubeWizard::pgSummary);

    // Zipped, with mismatching passwords.
    f.Back();
    f.Target().rbLocalCubZipped->setChecked(true);
    EXPECT_FALSE(f.Target().editLocalCubeFilename->isEnabled());
    EXPECT_FALSE(f.Target().editZipPassword->isEnabled());
    f.Target().chkZipPassword->setChecked(true);
    EXPECT_TRUE(f.Target().editZipPassword->isEnabled());
    f.Target().editLocalCubeZippedFilename->setText(QString::fromStdString(f.Context.Dir().file("copy.zip")));
    f.Target().editZipPassword->setText(" pw ");
    f.Target().editZipPasswordConfirm->setText("other");
    f.Next();
    EXPECT_EQ(f.Context.UI.Errors.back(), "Your zip passwords do not match.");
    EXPECT_TRUE(f.Target().editZipPassword->text().isEmpty());
    f.Target().editZipPassword->setText(" pw ");
    f.Target().editZipPasswordConfirm->setText("pw");
    f.Next();
    EXPECT_EQ(f.Wizard->CurrentPage(), TfrmCopyCubeWizard::pgSummary);
    EXPECT_EQ(f.Wizard->Builder().GetStorageLocation().ZipPassword, " pw ");

    // Closing before a build asks; No keeps the wizard.
    f.Context.UI.Answer = false;
    f.Wizard->close();
    EXPECT_TRUE(f.Wizard->isVisible());
    EXPECT_EQ(f.Context.UI.Questions.back(),
              "You have not completed the cube copy wizard. Are you sure you wish to exit?");
    const size_t asked = f.Context.UI.Questions.size();
    QTest::keyClick(f.Wizard.get(), Qt::Key_Escape);
    EXPECT_TRUE(f.Wizard->isVisible());
    EXPECT_EQ(f.Context.UI.Questions.size(), asked + 1);
    f.Context.UI.Answer = true;
    QTest::mouseClick(f.Wizard->btnCancel, Qt::LeftButton);
    EXPECT_FALSE(f.Wizard->isVisible());
}

TEST(CopyCubeWizard, StaysOpenWhileBuilding) {
    TWizardFixture f;
    f.Target().editCubeName->setText("Copy");
    f.Target().editLocalCubeFilename->setText(QString::fromStdString(f.Context.Dir().file("copy.cub")));
    f.Next();
    // Closing and Back while the cube is built do nothing; the buttons are off.
    bool fired = false, buttonsOff = false;
    QTimer::singleShot(0, f.Wizard.get(), [&] {
        fired = true;
        f.Shot("wizard-2-building.png");
        buttonsOff = !f.Wizard->btnNext->isEnabled() && !f.Wizard->btnCancel->isEnabled();
        f.Wizard->close();
        f.Wizard->Back();
    });
    f.Next();
    EXPECT_TRUE(fired);
    EXPECT_TRUE(buttonsOff);
    EXPECT_TRUE(f.Wizard->isVisible());
    EXPECT_EQ(f.Wizard->CurrentPage(), TfrmCopyCubeWizard::pgFinished);
    EXPECT_TRUE(f.Wizard->btnNext->isEnabled());
}

TEST(CopyCubeWizard, ShownForTheOpenCube) {
    cbtest::TTestContext context;
    const std::string source = context.Dir().file("tiny.cub");
    cb::olap::WriteCubeFile(*cb::olap::MakeTinyCube(), source);
    auto connection = cbtest::OpenLocalCube(source, context.Context());
    TFeatureContext feature;
    feature.Connection = connection.get();
    feature.App = context.Context();
    std::vector<std::string> measures;
    QTimer::singleShot(0, [&] {
        if (auto* wizard = dynamic_cast<TfrmCopyCubeWizard*>(QApplication::activeModalWidget())) {
            measures = wizard->Builder().MeasureNames;
            wizard->close();  // the user answers yes
        }
    });
    ShowCopyCubeWizard(feature);
    EXPECT_EQ(measures, (std::vector<std::string>{"[Sales]", "[Quantity]", "[Orders]", "[Low Price]", "[High Price]"}));
    EXPECT_EQ(context.UI.Questions.size(), 1u);
}

}  // namespace
