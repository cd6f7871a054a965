#pragma once
// Answering the modal windows a test opens (message boxes, dialogs).
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <string>

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

// What a message box showed: its text and how it took it.
struct TShownBox {
    Qt::TextFormat Format = Qt::AutoText;
    std::string Text;
};

// The next message box is read into seen and closed with its first button.
inline void CloseNextMessageBox(TShownBox& seen) {
    OnNextModal<QMessageBox>([&seen](QMessageBox* box) {
        seen.Format = box->textFormat();
        seen.Text = box->text().toStdString();
        box->buttons().front()->click();
    });
}

}  // namespace cbtest
