// The upgrade check as the main window starts it: no address, no check; the
// component set up from the settings; a finished download whose hand-over is
// off tells the user and leaves the program running. The upgrade dialogs are
// shown and kept as screenshots.
#include "app/ui/dialogs/UpgradeCheck.h"
#include "app/ui/dialogs/Features.h"
#include "tests/app/SmallWindowsSupport.h"
#include "tests/upgrade/NetTestServer.h"
#include "upgrade/NetUpgrader.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

using namespace cb::app;
using namespace cb::upgrade;
using cb::upgrade::test::NetServer;

namespace {

std::string Sha(const std::string& text) {
    return QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha256).toHex().toStdString();
}

std::string InfoUrl(const std::string& text) {
    return NetServer().Url("/info?" + QUrl::toPercentEncoding(QString::fromStdString(text)).toStdString());
}

// Answers yes and records, in place of the dialogs.
struct TAnsweringUI : TNetUpgraderUI {
    std::vector<std::string> Calls;
    bool AskUpgrade(TNetUpgrader&, const std::string& msg) override {
        Calls.push_back("ask:" + msg);
        return true;
    }
    void ShowWizard(TNetUpgrader&) override { Calls.push_back("wizard"); }
    void WizardFile(const std::string&, const std::string&) override {}
    void WizardSize(const std::string&) override {}
    void WizardProgress(int, int, const std::string&, const std::string&) override {}
    bool WizardFinished(TNetUpgrader&) override {
        Calls.push_back("finished");
        return true;
    }
    void CloseWindows() override {}
    bool AskPassword(TNetUpgrader&, const std::string&) override { return false; }
    void ShowError(const std::string& text) override { Calls.push_back("error:" + text); }
    bool AskYesNo(const std::string&, const std::string& text) override {
        Calls.push_back("yesno:" + text);
        return false;
    }
};

QWidget* VisibleWindow(const QString& title) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == title) return w;
    return nullptr;
}

QPushButton* Button(QWidget* window, const QString& text) {
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

}  // namespace

TEST(UpgradeCheck, NoAddressNoCheck) {
    cbtest::TSmallWindowsEnv env;
    QWidget owner;
    StartUpgradeCheck(TFeatureContext{&owner, nullptr, nullptr, env.Context()});
    EXPECT_EQ(FindUpgradeCheck(&owner), nullptr);
    EXPECT_TRUE(env.UI.Errors.empty());
    EXPECT_TRUE(env.UI.Informations.empty());
}

TEST(UpgradeCheck, StartsOneCheckForTheOwner) {
    cbtest::TSmallWindowsEnv env;
    env.Config->UpgradeInfoURL = InfoUrl("#date=1/1/2000\n#url=" + NetServer().Url("/files/a.bin") + "\n");
    {
        QWidget owner;
        StartUpgradeCheck(TFeatureContext{&owner, nullptr, nullptr, env.Context()});
        TNetUpgrader* upgrader = FindUpgradeCheck(&owner);
        ASSERT_NE(upgrader, nullptr);
        EXPECT_EQ(upgrader->InfoFileURL, env.Config->UpgradeInfoURL);
        EXPECT_TRUE(upgrader->IsBusy());
        // An older version on the server: nothing to ask, nothing shown.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !upgrader->IsBusy(); }, 10000));
        QTest::qWait(50);
        EXPECT_TRUE(upgrader->Files().size() == 1);
    }  // freed with its owner
    EXPECT_TRUE(env.UI.Errors.empty());
}

TEST(UpgradeCheck, FinishedDownloadWithoutHandOverKeepsTheProgramRunning) {
    cbtest::TSmallWindowsEnv env;
    const std::string a = NetServer().Url("/files/a.bin");
    env.Config->UpgradeInfoURL =
        InfoUrl("#date=3/1/2004\n#message={Faster grids}\n#url=" + a + "\n#sha256=" + Sha("content of a.bin") + "\n");
    for (bool handOver : {false, true}) {
        SCOPED_TRACE(handOver);
        env.Config->UpgradeHandOver = handOver;
        env.UI.Errors.clear();
        TNetUpgrader upgrader;
        ConfigureUpgrader(upgrader, *env.Config, env.Context());
        EXPECT_FALSE(upgrader.AutoCheck());
        EXPECT_EQ(upgrader.VersionControl, TNetUpgraderVersionControl::byDate);
        EXPECT_EQ(upgrader.VersionDate, "2/29/2004");
        EXPECT_EQ(upgrader.ShowMessages, unsigned(mAskUpgrade | mConnLost | mLostFile));
        EXPECT_EQ(upgrader.InfoFile.UpgradeMethod, TNetUpgradeMethod::umUseExternalSetup);
        EXPECT_EQ(upgrader.MiscFilesUpgrade, TNetMiscFilesUpgradeBehavior::mfuAlwaysDownload);
        EXPECT_TRUE(upgrader.Wizard.Enabled);
        EXPECT_TRUE(upgrader.Wizard.StayOnTop);
        EXPECT_EQ(upgrader.HandOverEnabled, handOver);
        auto ui = std::make_unique<TAnsweringUI>();
        TAnsweringUI* calls = ui.get();
        upgrader.UI = std::move(ui);
        upgrader.ExecutableFolder = env.Dir.path().string();
        bool launched = false, closed = false;
        upgrader.Launcher = [&](const std::string&, const std::vector<std::string>&) { return launched = true; };
        upgrader.OnDoOwnCloseAppMethod = [&](TNetUpgrader&) { closed = true; };
        upgrader.CheckForUpdate();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !env.UI.Errors.empty(); }, 10000));
        EXPECT_EQ(calls->Calls, (std::vector<std::string>{"ask:Faster grids", "wizard", "finished"}));
        ASSERT_EQ(env.UI.Errors.size(), 1u);
        EXPECT_NE(env.UI.Errors[0].find(handOver ? "is missing" : "turned off"), std::string::npos) << env.UI.Errors[0];
        EXPECT_NE(env.UI.Errors[0].find("goes on running"), std::string::npos);
        EXPECT_FALSE(launched);
        EXPECT_FALSE(closed);
        EXPECT_EQ(cbtest::readFile(env.Dir.file("a.bin.uTMP")), "content of a.bin");
    }
}

TEST(UpgradeCheck, TheUpgradeDialogsOnScreen) {
    TNetUpgrader upgrader;
    upgrader.ApplicationTitle = "Tavo Browser";
    SetUpgraderLanguage(TNetUpgraderLanguage::wlEnglish);
    std::unique_ptr<TNetUpgraderUI> ui = MakeUpgraderDialogs();

    bool asked = false;
    QTimer::singleShot(0, [&] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        asked = true;
        cbtest::SaveScreenshot(*w, "upgrade_question.png");
        static_cast<QDialog*>(w)->reject();
    });
    EXPECT_FALSE(ui->AskUpgrade(upgrader, "Faster grids and a new chart."));
    EXPECT_TRUE(asked);

    ui->ShowWizard(upgrader);
    QWidget* wizard = VisibleWindow("Application update wizard");
    ASSERT_NE(wizard, nullptr);
    ui->WizardFile("https://cubes.example.org/files/cubebrowser.bin", "Downloading 1 of 2");
    ui->WizardSize("File size: 1532.0 Kb");
    ui->WizardProgress(40, 20, "Transfer rate: 312.5 Kb/s", "Estimated time left: 0:00:03");
    cbtest::SaveScreenshot(*wizard, "upgrade_wizard.png");
    bool finished = false;
    QTimer::singleShot(0, [&] {
        QWidget* w = VisibleWindow("Application update wizard");
        ASSERT_NE(w, nullptr);
        cbtest::SaveScreenshot(*w, "upgrade_wizard_finished.png");
        QPushButton* ok = Button(w, "&OK");
        ASSERT_NE(ok, nullptr);
        finished = true;
        ok->click();
    });
    EXPECT_TRUE(ui->WizardFinished(upgrader));
    EXPECT_TRUE(finished);

    bool password = false;
    upgrader.SetHTTPUsername("ann");
    QTimer::singleShot(0, [&] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        password = true;
        cbtest::SaveScreenshot(*w, "upgrade_password.png");
        static_cast<QDialog*>(w)->reject();
    });
    EXPECT_FALSE(ui->AskPassword(upgrader, "cubebrowser.bin"));
    EXPECT_TRUE(password);
    ui->CloseWindows();
}
