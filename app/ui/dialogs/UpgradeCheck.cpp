#include "app/ui/dialogs/UpgradeCheck.h"

#include "app/core/base/AppInfo.h"
#include "app/core/settings/Config.h"
#include "app/ui/dialogs/Features.h"
#include "upgrade/NetUpgrader.h"

#include <QObject>
#include <QWidget>

namespace cb::app {

namespace {

const char* const HolderName = "cbUpgradeCheck";

// Keeps the upgrade component for as long as its owner lives.
class TUpgradeCheckHolder : public QObject {
public:
    explicit TUpgradeCheckHolder(QObject* owner) : QObject(owner) { setObjectName(HolderName); }
    std::unique_ptr<cb::upgrade::TNetUpgrader> Upgrader = std::make_unique<cb::upgrade::TNetUpgrader>();
};

}  // namespace

void ConfigureUpgrader(cb::upgrade::TNetUpgrader& upgrader, const TCubeBrowserConfig& config,
                       const TAppContext& context) {
    using namespace cb::upgrade;
    upgrader.InfoFileURL = config.UpgradeInfoURL;
    upgrader.VersionDateAutoSet = false;
    upgrader.VersionNumber = "1";
    upgrader.SetAutoCheck(false);
    upgrader.MiscFilesUpgrade = TNetMiscFilesUpgradeBehavior::mfuAlwaysDownload;
    upgrader.InfoFile.UpgradeMethod = TNetUpgradeMethod::umUseExternalSetup;
    upgrader.ShowMessages = mAskUpgrade | mConnLost | mLostFile;
    upgrader.VersionControl = TNetUpgraderVersionControl::byDate;
    upgrader.Wizard.Enabled = true;
    upgrader.SetLanguage(TNetUpgraderLanguage::wlAuto);
    upgrader.Wizard.StayOnTop = true;
    upgrader.VersionDate = UpgradeVersionDate;
    upgrader.ApplicationTitle = ProductName;
    upgrader.HandOverEnabled = config.UpgradeHandOver;
    upgrader.UpgraderProgram = TBaseConfig::GetApplicationPath() + "cubebrowser-upgrader";
    upgrader.OnHandOverFailed = [context](TNetUpgrader&, const std::string& reason) {
        context.ShowError("The update was downloaded but not installed: " + reason +
                          ". The downloaded files are kept beside the program; " + ProductName + " goes on running.");
    };
}

cb::upgrade::TNetUpgrader* FindUpgradeCheck(const QObject* owner) {
    if (!owner) return nullptr;
    auto* holder = owner->findChild<TUpgradeCheckHolder*>(HolderName, Qt::FindDirectChildrenOnly);
    return holder ? holder->Upgrader.get() : nullptr;
}

void StartUpgradeCheck(const TFeatureContext& context) {
    // No address: no check (the setting is a deployment's choice).
    if (!context.App.Config || context.App.Config->UpgradeInfoURL.empty()) return;
    cb::upgrade::TNetUpgrader* upgrader = FindUpgradeCheck(context.Owner);
    static std::unique_ptr<cb::upgrade::TNetUpgrader> lone;  // without an owner: for the rest of the run
    if (!upgrader) {
        if (context.Owner) {
            upgrader = (new TUpgradeCheckHolder(context.Owner))->Upgrader.get();
        } else {
            if (!lone) lone = std::make_unique<cb::upgrade::TNetUpgrader>();
            upgrader = lone.get();
        }
    }
    ConfigureUpgrader(*upgrader, *context.App.Config, context.App);
    upgrader->CheckForUpdate();
}

}  // namespace cb::app
