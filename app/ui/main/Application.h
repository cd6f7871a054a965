#pragma once
// The application object: a QApplication that keeps exceptions from
// escaping event handlers. An exception thrown while an event is handled
// goes to OnException (the main window's handler) or, when none is set,
// to the log and the user; the event loop goes on.
#include "app/core/base/AppContext.h"

#include <QApplication>

#include <exception>
#include <functional>

namespace cb::app {

class TCubeBrowserApplication : public QApplication {
    Q_OBJECT
public:
    TCubeBrowserApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    std::function<void(QObject* sender, const std::exception& error)> OnException;
    // Where an unhandled error is logged and shown without OnException.
    TAppContext Context;

private:
    void HandleException(QObject* receiver, const std::exception& error);
};

}  // namespace cb::app
