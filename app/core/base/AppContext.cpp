#include "app/core/base/AppContext.h"

#include "app/core/base/LogFile.h"
#include "app/core/base/UserInterface.h"

namespace cb::app {

void TAppContext::WriteLog(const std::string& line) const {
    if (Log) Log->WriteLine(line);
}

void TAppContext::ShowError(const std::string& text) const {
    if (UserInterface) UserInterface->ShowError(text);
}

void TAppContext::ShowInformation(const std::string& text) const {
    if (UserInterface) UserInterface->ShowInformation(text);
}

bool TAppContext::ConfirmYesNo(const std::string& text) const {
    return UserInterface && UserInterface->ConfirmYesNo(text);
}

void TAppContext::SetBusy(bool busy) const {
    if (UserInterface) UserInterface->SetBusy(busy);
}

}  // namespace cb::app
