#include "chartexport/navigator/PlotNavigator.h"

#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomPlotPanel.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPolygonF>
#include <QStyleOptionFocusRect>
#include <QTimer>

#include <algorithm>

namespace cb::chartexport {

namespace {
constexpr cb::chart::TPlotText kHintTexts[PlotNavButtonCount] = {
    cb::chart::TPlotText::txtFirst, cb::chart::TPlotText::txtPrior,  cb::chart::TPlotText::txtNext,
    cb::chart::TPlotText::txtLast,  cb::chart::TPlotText::txtInsert, cb::chart::TPlotText::txtDelete,
    cb::chart::TPlotText::txtEdit,  cb::chart::TPlotText::txtPost,   cb::chart::TPlotText::txtCancel};

// The button's picture, drawn in the palette's text colour (greyed when
// disabled).
void DrawGlyph(QPainter& p, TPlotNavigateBtn kind, const QRectF& r, const QColor& c) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c, 1.6));
    p.setBrush(c);
    const QPointF m = r.center();
    const double s = std::min(r.width(), r.height()) / 4;
    auto triangle = [&](double x, bool left) {
        const double d = left ? -s : s;
        p.drawPolygon(
            QPolygonF({QPointF(x - d / 2, m.y() - s), QPointF(x + d / 2, m.y()), QPointF(x - d / 2, m.y() + s)}));
    };
    switch (kind) {
    case nbFirst:
        p.drawLine(QPointF(m.x() - s, m.y() - s), QPointF(m.x() - s, m.y() + s));
        triangle(m.x() + s / 3, true);
        break;
    case nbPrior:
        triangle(m.x(), true);
        break;
    case nbNext:
        triangle(m.x(), false);
        break;
    case nbLast:
        triangle(m.x() - s / 3, false);
        p.drawLine(QPointF(m.x() + s, m.y() - s), QPointF(m.x() + s, m.y() + s));
        break;
    case nbInsert:
        p.drawLine(QPointF(m.x() - s, m.y()), QPointF(m.x() + s, m.y()));
        p.drawLine(QPointF(m.x(), m.y() - s), QPointF(m.x(), m.y() + s));
        break;
    case nbDelete:
        p.drawLine(QPointF(m.x() - s, m.y()), QPointF(m.x() + s, m.y()));
        break;
    case nbEdit:
        p.drawLine(QPointF(m.x() - s, m.y() + s), QPointF(m.x() + s, m.y() - s));
        break;
    case nbPost:
        p.drawPolyline(QPolygonF(
            {QPointF(m.x() - s, m.y()), QPointF(m.x() - s / 3, m.y() + s * 0.7), QPointF(m.x() + s, m.y() - s)}));
        break;
    case nbCancel:
        p.drawLine(QPointF(m.x() - s, m.y() - s), QPointF(m.x() + s, m.y() + s));
        p.drawLine(QPointF(m.x() - s, m.y() + s), QPointF(m.x() + s, m.y() - s));
        break;
    }
}
}  // namespace

// --- button ---

TPlotNavButton::TPlotNavButton(TCustomPlotNavigator* navigator, TPlotNavigateBtn index)
    : QToolButton(navigator), FNavigator(navigator), FIndex(index) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QToolButton::clicked, navigator, [this] { FNavigator->BtnClick(FIndex); });
}

void TPlotNavButton::paintEvent(QPaintEvent* e) {
    QToolButton::paintEvent(e);
    QPainter p(this);
    const QColor c = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    QRectF r = rect();
    if (isDown()) r.translate(1, 1);
    DrawGlyph(p, FIndex, r, c);
    if (FNavigator->hasFocus() && FNavigator->FocusedButton() == FIndex) {
        QStyleOptionFocusRect o;
        o.initFrom(this);
        o.rect = rect().adjusted(3, 3, -3, -3).translated(isDown() ? 1 : 0, isDown() ? 1 : 0);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &o, &p, this);
    }
}

void TPlotNavButton::mousePressEvent(QMouseEvent* e) {
    QToolButton::mousePressEvent(e);
    FNavigator->ButtonPressed(FIndex);
    if (e->button() != Qt::LeftButton || !isEnabled()) return;
    if (!FRepeatTimer) {
        FRepeatTimer = new QTimer(this);
        connect(FRepeatTimer, &QTimer::timeout, this, [this] { Tick(); });
    }
    FRepeatTimer->start(400);
}

void TPlotNavButton::mouseReleaseEvent(QMouseEvent* e) {
    if (FRepeatTimer) FRepeatTimer->stop();
    QToolButton::mouseReleaseEvent(e);
}

void TPlotNavButton::Tick() {
    FRepeatTimer->setInterval(100);
    if (!isDown() || !isEnabled()) {
        FRepeatTimer->stop();
        return;
    }
    try {
        FNavigator->BtnClick(FIndex);
    } catch (...) {
        FRepeatTimer->stop();  // an error never repeats; it stays unhandled
        throw;
    }
}

// --- navigator ---

TCustomPlotNavigator::TCustomPlotNavigator(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    for (int i = 0; i < PlotNavButtonCount; ++i) {
        auto* b = new TPlotNavButton(this, TPlotNavigateBtn(i));
        b->setGeometry(i * MinBtnSize().width(), 0, MinBtnSize().width(), MinBtnSize().height());
        b->setEnabled(false);
        FButtons[std::size_t(i)] = b;
    }
    for (TPlotNavigateBtn b : {nbInsert, nbDelete, nbEdit, nbPost, nbCancel}) FButtons[b]->setVisible(false);
    InitHints();
    resize(241, 25);
    AdjustButtons(241, 25);
}

TCustomPlotNavigator::~TCustomPlotNavigator() {
    SetPanel(nullptr);
}

void TCustomPlotNavigator::SetHints(const std::vector<std::string>& hints) {
    FHints = hints;
    InitHints();
}

void TCustomPlotNavigator::InitHints() {
    for (int i = 0; i < PlotNavButtonCount; ++i) {
        std::string hint = cb::chart::PlotText(kHintTexts[i]);
        if (std::size_t(i) < FHints.size() && !FHints[std::size_t(i)].empty()) hint = FHints[std::size_t(i)];
        FButtons[std::size_t(i)]->setToolTip(QString::fromStdString(hint));
    }
}

void TCustomPlotNavigator::SetAligned(bool on) {
    FAligned = on;
    AdjustButtons(width(), height());
}

void TCustomPlotNavigator::SetPanel(cb::chart::TCustomPlotPanel* panel) {
    if (FPanel == panel) return;
    if (FPanel) {
        FPanel->RemoveListener(this);
        disconnect(FPanelGone);
    }
    FPanel = panel;
    if (panel) {
        panel->Listeners().Add(this);
        // A panel that goes away leaves the navigator without one.
        FPanelGone = connect(panel, &QObject::destroyed, this, [this] {
            FPanel = nullptr;
            EnableButtons();
        });
    }
    EnableButtons();
}

void TCustomPlotNavigator::BtnClick(TPlotNavigateBtn index) {
    EnableButtons();
    if (OnButtonClicked) OnButtonClicked(index);
}

void TCustomPlotNavigator::ButtonPressed(TPlotNavigateBtn index) {
    const TPlotNavigateBtn old = FFocusedButton;
    FFocusedButton = index;
    if (!hasFocus() && focusPolicy() & Qt::TabFocus && isEnabled()) {
        setFocus(Qt::MouseFocusReason);
    } else if (old != index) {
        FButtons[old]->update();
        FButtons[index]->update();
    }
}

int TCustomPlotNavigator::VisibleButtons() const {
    int n = 0;
    for (auto* b : FButtons) n += b->isVisibleTo(this) ? 1 : 0;
    return std::max(n, 1);
}

QSize TCustomPlotNavigator::sizeHint() const {
    return {std::max(241, VisibleButtons() * MinBtnSize().width()), 25};
}

QSize TCustomPlotNavigator::minimumSizeHint() const {
    return {VisibleButtons() * MinBtnSize().width(), MinBtnSize().height()};
}

QSize TCustomPlotNavigator::AdjustButtons(int width, int height) {
    const int n = VisibleButtons();
    int w = std::max(width, n * MinBtnSize().width());
    const int h = std::max(height, MinBtnSize().height());
    FButtonWidth = w / n;
    if (!FAligned) w = n * FButtonWidth;
    const int extra = w - n * FButtonWidth;
    int space = n / 2;
    int x = 0;
    for (auto* b : FButtons) {
        if (!b->isVisibleTo(this)) {
            b->setGeometry(w + 1, 0, FButtonWidth, h);
            continue;
        }
        int add = 0;
        if (extra != 0) {
            space -= extra;
            if (space < 0) {
                space += n;
                add = 1;
            }
        }
        b->setGeometry(x, 0, FButtonWidth + add, h);
        x += FButtonWidth + add;
    }
    return {w, h};
}

void TCustomPlotNavigator::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (FAdjusting) return;
    const QSize s = AdjustButtons(width(), height());
    if (s != size()) {
        FAdjusting = true;
        resize(s);
        FAdjusting = false;
    }
}

void TCustomPlotNavigator::keyPressEvent(QKeyEvent* e) {
    const TPlotNavigateBtn old = FFocusedButton;
    switch (e->key()) {
    case Qt::Key_Space:
        if (FButtons[FFocusedButton]->isEnabled()) FButtons[FFocusedButton]->click();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int step = e->key() == Qt::Key_Left ? -1 : 1;
        for (int i = int(old) + step; i >= 0 && i < PlotNavButtonCount; i += step)
            if (FButtons[std::size_t(i)]->isVisibleTo(this)) {
                FFocusedButton = TPlotNavigateBtn(i);
                break;
            }
        FButtons[old]->update();
        FButtons[FFocusedButton]->update();
        return;
    }
    default:
        QWidget::keyPressEvent(e);
    }
}

void TCustomPlotNavigator::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    FButtons[FFocusedButton]->update();
}

void TCustomPlotNavigator::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    FButtons[FFocusedButton]->update();
}

void TCustomPlotNavigator::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) EnableButtons();
}

}  // namespace cb::chartexport
