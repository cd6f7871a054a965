#pragma once
// Base of the formats' options forms. A form is made for one format, shows
// its choices and writes them back into the format as they change, so the
// format writes what the form shows whether or not the form is on screen.
// A form fills its parent; the export dialog embeds it.
#include <QWidget>

namespace cb::chartexport {

// Shows the format's current choices each time it is shown.
class TExportOptionsForm : public QWidget {
public:
    using QWidget::QWidget;
    virtual void Refresh() = 0;

protected:
    void showEvent(QShowEvent* event) override {
        Refresh();
        QWidget::showEvent(event);
    }
};

}  // namespace cb::chartexport
