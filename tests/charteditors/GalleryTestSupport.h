#pragma once
// Shared helpers of the chart editor tests: settings kept in a test folder,
// modal dialogs driven from a timer, pixel counts of a widget's rendering.
#include "platform/gfx/Color.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

namespace editortest {

// Runs act on the modal window that opens next (polling until one shows);
// the caller then opens it.
inline void OnNextModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) w = QApplication::activePopupWidget();
        if (!w || !w->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(w);
    });
    timer->start();
}

// Pixels of the widget's rendering within tolerance of colour c (0x00BBGGRR).
inline int CountPixels(const QImage& image, cb::gfx::TColor c, int tolerance = 24) {
    const int r = int(c & 0xFF), g = int((c >> 8) & 0xFF), b = int((c >> 16) & 0xFF);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - r) <= tolerance && std::abs(qGreen(p) - g) <= tolerance &&
                std::abs(qBlue(p) - b) <= tolerance)
                ++n;
        }
    return n;
}

// Where screenshots go (kept as test artifacts).
std::string ScreenshotPath(const std::string& name);

}  // namespace editortest
