#pragma once
// A label (text or picture) that acts as a button: a press and release on it
// runs OnClick. It takes the press, so that a window behind it does not.
#include <QLabel>
#include <QMouseEvent>

#include <functional>

namespace cb::app {

class TClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> OnClick;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            event->accept();
        else
            QLabel::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) {
            event->accept();
            OnClick();
            return;
        }
        QLabel::mouseReleaseEvent(event);
    }
};

}  // namespace cb::app
