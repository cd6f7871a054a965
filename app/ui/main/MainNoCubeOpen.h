#pragma once
// The page the home container shows while no cube is open: it says so and
// offers to open one.
#include "app/ui/widgets/ContentForm.h"

#include <functional>

class QPushButton;

namespace cb::app {

class TfrmMainNoCubeOpen : public TContentForm {
    Q_OBJECT
public:
    explicit TfrmMainNoCubeOpen(QWidget* parent = nullptr);

    // Fired by the page's open-cube command when assigned.
    std::function<void()> OnOpenCube;
    QPushButton* btnOpenCube;

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace cb::app
