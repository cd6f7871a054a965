#pragma once
// Answering the modal windows a test opens (message boxes, dialogs).
#include <QApplication>
#include <QTimer>

namespace cbtest {

// Runs f on the next modal window of type T once it shows.
template <class T, class F>
void OnNextModal(F f) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, f] {
        if (auto* w = dynamic_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            f(w);
        }
    });
    timer->start();
}

}  // namespace cbtest
