// The floor of the program's start-up: a bare Qt window that paints as many
// texts as the program's first grid (the count is its argument), started
// the same way. Prints "First paint" once its first paint has run, then
// quits.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

class TTextsWindow : public QWidget {
public:
    explicit TTextsWindow(int texts) : FTexts(texts) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const int w = 90, h = 20, columns = std::max(1, width() / w);
        for (int i = 0; i < FTexts; ++i) {
            const QRect cell((i % columns) * w, (i / columns) * h, w, h);
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            p.drawText(cell.adjusted(3, 0, -3, 0), Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(1234.5 + i * 7.25, 'f', 2));
        }
        if (!FPainted) {
            FPainted = true;
            QTimer::singleShot(0, this, [] {
                std::printf("First paint\n");
                std::fflush(stdout);
                QApplication::quit();
            });
        }
    }

private:
    int FTexts;
    bool FPainted = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TTextsWindow window(argc > 1 ? std::atoi(argv[1]) : 400);
    window.resize(1280, 900);
    window.show();
    return app.exec();
}
