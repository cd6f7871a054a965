#pragma once
#include "grid/util/GridTypes.h"

#include <QWidget>

#include <string>

namespace cb::grid {

// The caption that follows a column while it is dragged.
class TPopupButton : public QWidget {
public:
    explicit TPopupButton(QWidget* owner);
    std::string Caption;
    bool Flat = false;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace cb::grid
