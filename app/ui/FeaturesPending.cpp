// Windows that are not built yet: each says so plainly. A window's own file
// replaces its entry here.
#include "app/ui/Features.h"

namespace cb::app {

namespace {
void NotAvailable(const TFeatureContext& context, const char* what) {
    context.App.ShowInformation(std::string(what) + " is not available in this version.");
}
}  // namespace

void ShowPublishDialog(const TFeatureContext& context) {
    NotAvailable(context, "Publishing");
}
void ShowCopyCubeWizard(const TFeatureContext& context) {
    NotAvailable(context, "Copying a cube");
}

}  // namespace cb::app
