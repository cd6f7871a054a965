#include "app/core/settings/Tutorial.h"

#include "platform/rtl/IniFile.h"

#include <exception>
#include <sys/stat.h>

namespace cb::app {

bool TTutorialStepList::LoadFromFile(const std::string& Path, const TAppContext* Context) {
    try {
        struct stat st {};
        if (::stat(Path.c_str(), &st) != 0) return true;  // no file: no steps
        cb::rtl::TMemIniFile ini(Path);
        int count = ini.ReadInteger("Setup", "TutorialSteps", 0);
        if (count > kMaxTutorialSteps) count = kMaxTutorialSteps;
        for (int i = 1; i <= count; ++i) {
            std::string section = "Step" + std::to_string(i);
            TTutorialStep step;
            step.HelpFileLocation = ini.ReadString(section, "HelpFileLocation", "");
            step.DisplayText = ini.ReadString(section, "DisplayText", "");
            step.Title = ini.ReadString(section, "Title", "");
            step.XLocation = ini.ReadInteger(section, "XLocation", -1);
            step.YLocation = ini.ReadInteger(section, "YLocation", -1);
            FSteps.push_back(std::move(step));
        }
        return true;
    } catch (const std::exception&) {
        if (Context)
            Context->ShowError("Unable to load the tutorial list from the file: " + Path +
                               " . Please reinstall the application.");
        return false;
    }
}

const TTutorialStep& TTutorialStepList::GetStep(int Index) const {
    static const TTutorialStep empty;
    if (Index < 0 || Index >= Count()) return empty;
    return FSteps[static_cast<size_t>(Index)];
}

}  // namespace cb::app
