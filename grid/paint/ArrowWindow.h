#pragma once
#include "grid/util/GridTypes.h"

#include <QWidget>

#include <vector>

namespace cb::grid {

// A small arrow-shaped pop-up marking drop and move positions.
enum class TArrowDirection {
    Up,
    Down,
    Right,
    Left
};

class TArrowWindow : public QWidget {
public:
    TArrowWindow(QWidget* owner, TArrowDirection direction);
    TArrowDirection Dir() const { return FDir; }
    // The arrow's 7 points.
    static std::vector<TPoint> ArrowPoints(TArrowDirection direction);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TArrowDirection FDir;
};

}  // namespace cb::grid
