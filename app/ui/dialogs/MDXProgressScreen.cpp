#include "app/ui/dialogs/MDXProgressScreen.h"

#include "platform/gfx/GdiObjects.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace cb::app {

namespace {
constexpr int kClientWidth = 374;
constexpr int kClientHeight = 33;
constexpr int kBarMax = 1000;
constexpr int kBarStep = 3;
constexpr int kTickMs = 100;
}  // namespace

TfrmMDXProgressScreen::TfrmMDXProgressScreen(QWidget* centreOver)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint |
                           Qt::WindowStaysOnTopHint),
      FCentreOver(centreOver) {
    setWindowTitle(QStringLiteral("Loading ..."));
    setFixedSize(kClientWidth, kClientHeight);
    QFont f = font();
    f.setFamily(QString::fromStdString(cb::gfx::ResolveFontFamily("MS Sans Serif")));
    setFont(f);

    prStatus = new QProgressBar(this);
    prStatus->setGeometry(7, 6, 359, 22);
    prStatus->setRange(0, kBarMax);
    prStatus->setValue(0);
    prStatus->setTextVisible(false);

    tiTimer = new QTimer(this);
    tiTimer->setInterval(kTickMs);
    connect(tiTimer, &QTimer::timeout, this, [this] { tiTimerTimer(); });
    tiTimer->start();
}

TfrmMDXProgressScreen::~TfrmMDXProgressScreen() = default;

TLayoutProgressEvent MakeLayoutProgressWindow() {
    auto window = std::make_shared<std::unique_ptr<TfrmMDXProgressScreen>>();
    return [window](TLayoutStep step, cb::grid::TExtStringGrid* grid) {
        switch (step) {
        case TLayoutStep::Start:
            *window = std::make_unique<TfrmMDXProgressScreen>(grid ? grid->window() : nullptr);
            (*window)->show();
            break;
        case TLayoutStep::Progress:
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            break;
        case TLayoutStep::Finish:
            window->reset();
            break;
        }
    };
}

void TfrmMDXProgressScreen::tiTimerTimer() {
    // The bar holds at most its maximum; reaching it starts the sweep again.
    const int next = std::min(prStatus->value() + kBarStep, prStatus->maximum());
    prStatus->setValue(next >= prStatus->maximum() ? 0 : next);
    // Qt does not deliver this timer again while its handler runs, so the
    // nested processing cannot recurse into another tick.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmMDXProgressScreen::showEvent(QShowEvent* event) {
    QRect area;
    if (FCentreOver && FCentreOver->window()->isVisible())
        area = FCentreOver->window()->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (!area.isEmpty()) move(area.center() - QPoint(width() / 2, height() / 2));
    QWidget::showEvent(event);
}

}  // namespace cb::app
