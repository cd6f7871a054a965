#include "app/ui/widgets/HelpTopics.h"

#include "extras/HelpHook.h"

namespace cb::app {

namespace {
std::string& HelpFile() {
    static std::string file;
    return file;
}
}  // namespace

const std::string& ApplicationHelpFile() {
    return HelpFile();
}

void SetApplicationHelpFile(const std::string& path) {
    HelpFile() = path;
}

int ShowHelpTopic(const std::string& topic) {
    const int code = cb::extras::HHHelpTopic(HelpFile(), topic, "", cb::extras::hhkApi);
    if (code != cb::extras::HH_CODE_OK) cb::extras::HHShowError(code);
    return code;
}

}  // namespace cb::app
