#include "app/ui/main/Application.h"

#include "app/core/base/AppInfo.h"
#include "platform/rtl/ErrorLog.h"

#include <stdexcept>

namespace cb::app {

TCubeBrowserApplication::TCubeBrowserApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(ProductName);
}

bool TCubeBrowserApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        HandleException(receiver, e);
    } catch (...) {
        HandleException(receiver, std::runtime_error("Unknown error"));
    }
    return false;
}

void TCubeBrowserApplication::HandleException(QObject* receiver, const std::exception& error) {
    try {
        if (OnException) {
            OnException(receiver, error);
            return;
        }
        Context.WriteLog(std::string("Error occured: ") + error.what());
        Context.ShowError(error.what());
    } catch (...) {
        // A failing handler must not take the program down.
        cb::rtl::LogCurrentException("Reporting an error");
    }
}

}  // namespace cb::app
