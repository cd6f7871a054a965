#include "extras/KitSplitter.h"

#include <QEnterEvent>
#include <QIcon>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include <cmath>

namespace cb::extras {

using namespace cb::gfx;

namespace {

int MulDiv(int a, int b, int c) {
    return c == 0 ? -1 : int(std::lround(double(a) * b / c));
}

QRgb Rgb(TColor c) {
    return ToQColor(c).rgb();
}

const int DragClickLimit = 6;  // a release this close to the press is a click

}  // namespace

TColor KitAutoHighlightColor() {
    const TColor active = ColorToRGB(clActiveCaption), face = ColorToRGB(clBtnFace);
    TColor out = 0;
    for (int shift : {0, 8, 16}) {
        const int a = int(active >> shift & 0xFF), f = int(face >> shift & 0xFF);
        out |= TColor(std::clamp(a + MulDiv(180, f - a, 255), 0, 255)) << shift;
    }
    return out;
}

TKitSplitter::TKitSplitter(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetAlign(kaLeft);
}

void TKitSplitter::SetAlign(TKitAlign value) {
    FAlign = value;
    if (Horizontal()) {
        setFixedHeight(FThickness);
        setMinimumWidth(0);
        setMaximumWidth(QWIDGETSIZE_MAX);
    } else {
        setFixedWidth(FThickness);
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
    }
    setCursor(Horizontal() ? Qt::SplitVCursor : Qt::SplitHCursor);
    update();
}

void TKitSplitter::SetThickness(int value) {
    FThickness = std::max(1, value);
    SetAlign(FAlign);
}

void TKitSplitter::SetBeveled(bool value) {
    if (FBeveled == value) return;
    FBeveled = value;
    update();
}

void TKitSplitter::SetColor(TColor value) {
    if (FColor == value) return;
    FColor = value;
    update();
}

void TKitSplitter::RepaintButton() {
    if (FButtonStyle == bsNetscape && FShowButton) update();
}

void TKitSplitter::SetAllowDrag(bool value) {
    if (FAllowDrag == value) return;
    FAllowDrag = value;
    const QPoint p = mapFromGlobal(QCursor::pos());
    PointOnButton(p.x(), p.y());
}

void TKitSplitter::SetButtonStyle(TKitButtonStyle value) {
    FButtonStyle = value;
    if (FShowButton) update();
}

void TKitSplitter::SetWindowsButtons(TKitWindowsButtons value) {
    if (FWindowsButtons == value) return;
    FWindowsButtons = value & (wbMin | wbMax | wbClose);
    if (FButtonStyle == bsWindows && FShowButton) update();
}

void TKitSplitter::SetButtonWidthType(TKitButtonWidthType value) {
    if (FButtonWidthType == value) return;
    FButtonWidthType = value;
    if (value == btwPercentage && FButtonWidth > 100) FButtonWidth = 100;
    RepaintButton();
}

void TKitSplitter::SetButtonWidth(int value) {
    value = FButtonWidthType == btwPercentage ? std::clamp(value, 0, 100) : std::max(0, value);
    if (FButtonWidth == value) return;
    FButtonWidth = value;
    RepaintButton();
}

void TKitSplitter::SetShowButton(bool value) {
    if (FShowButton == value) return;
    FShowButton = value;
    update();
}

void TKitSplitter::SetButtonColor(TColor value) {
    if (FButtonColor == value) return;
    FButtonColor = value;
    RepaintButton();
}

void TKitSplitter::SetArrowColor(TColor value) {
    if (FArrowColor == value) return;
    FArrowColor = value;
    RepaintButton();
}

void TKitSplitter::SetButtonHighlightColor(TColor value) {
    if (FButtonHighlightColor == value) return;
    FButtonHighlightColor = value;
    RepaintButton();
}

void TKitSplitter::SetAutoHighlightColor(bool value) {
    if (FAutoHighlightColor == value) return;
    FAutoHighlightColor = value;
    FButtonHighlightColor = value ? KitAutoHighlightColor() : 0xFFCFCF;
    RepaintButton();
}

void TKitSplitter::SetTextureColor1(TColor value) {
    if (FTextureColor1 == value) return;
    FTextureColor1 = value;
    RepaintButton();
}

void TKitSplitter::SetTextureColor2(TColor value) {
    if (FTextureColor2 == value) return;
    FTextureColor2 = value;
    RepaintButton();
}

void TKitSplitter::Loaded() {
    FLoading = false;
    if (FRestoreSize < 0) TakeRestoreSize();
    update();
}

int TKitSplitter::ControlSize(const QWidget* control) const {
    return Horizontal() ? control->height() : control->width();
}

void TKitSplitter::TakeRestoreSize() {
    if (QWidget* c = FindSizedControl()) FRestoreSize = ControlSize(c);
}

void TKitSplitter::resizeEvent(QResizeEvent*) {
    if (!FLoading && FRestoreSize < 0) TakeRestoreSize();
}

void TKitSplitter::moveEvent(QMoveEvent*) {
    if (!FLoading && FRestoreSize < 0) TakeRestoreSize();
}

QWidget* TKitSplitter::FindSizedControl() const {
    QWidget* parent = parentWidget();
    if (!parent) return nullptr;
    QPoint probe = pos();
    switch (FAlign) {
    case kaTop:
        probe.ry() -= 1;
        break;
    case kaBottom:
        probe.ry() += height();
        break;
    case kaLeft:
        probe.rx() -= 1;
        break;
    case kaRight:
        probe.rx() += width();
        break;
    default:
        return nullptr;
    }
    return SiblingAt(probe);
}

int TKitSplitter::MaxSize(QWidget* control) const {
    const QWidget* parent = parentWidget();
    int room = 0;
    switch (FAlign) {
    case kaLeft:
        room = parent->width() - (x() + width());
        break;
    case kaRight:
        room = x();
        break;
    case kaTop:
        room = parent->height() - (y() + height());
        break;
    case kaBottom:
        room = y();
        break;
    default:
        break;
    }
    return std::max(FMinSize, ControlSize(control) + room - FMinSize);
}

void TKitSplitter::ApplySize(QWidget* control, int size) {
    QLayout* layout = parentWidget()->layout();
    if (layout && layout->indexOf(control) >= 0) {
        if (Horizontal())
            control->setFixedHeight(size);
        else
            control->setFixedWidth(size);
        layout->activate();
    } else {
        // Without a layout the splitter moves beside the pane and the widget
        // on its other side keeps touching it.
        QWidget* other = SiblingAt(OppositeProbe());
        QRect g = control->geometry();
        switch (FAlign) {
        case kaLeft:
            g.setWidth(size);
            move(g.right() + 1, y());
            break;
        case kaRight:
            g.setLeft(g.right() + 1 - size);
            move(g.left() - width(), y());
            break;
        case kaTop:
            g.setHeight(size);
            move(x(), g.bottom() + 1);
            break;
        case kaBottom:
            g.setTop(g.bottom() + 1 - size);
            move(x(), g.top() - height());
            break;
        default:
            break;
        }
        control->setGeometry(g);
        if (other && other != control) {
            QRect o = other->geometry();
            switch (FAlign) {
            case kaLeft:
                o.setLeft(x() + width());
                break;
            case kaRight:
                o.setRight(x() - 1);
                break;
            case kaTop:
                o.setTop(y() + height());
                break;
            case kaBottom:
                o.setBottom(y() - 1);
                break;
            default:
                break;
            }
            other->setGeometry(o);
        }
    }
}

QPoint TKitSplitter::OppositeProbe() const {
    switch (FAlign) {
    case kaTop:
        return pos() + QPoint(0, height());
    case kaBottom:
        return pos() - QPoint(0, 1);
    case kaLeft:
        return pos() + QPoint(width(), 0);
    case kaRight:
        return pos() - QPoint(1, 0);
    default:
        return {-1, -1};
    }
}

QWidget* TKitSplitter::SiblingAt(QPoint Probe) const {
    QWidget* parent = parentWidget();
    if (!parent) return nullptr;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w == this || w->isWindow() || !w->isVisibleTo(parent) || !w->isEnabled()) continue;
        QRect r = w->geometry();
        if (r.width() == 0) r.setLeft(r.left() - 1);
        if (r.height() == 0) r.setTop(r.top() - 1);
        if (r.contains(Probe)) return w;
    }
    return nullptr;
}

void TKitSplitter::SplitterDown(QPoint Pos) {
    FDragControl = FindSizedControl();
    FDragging = FDragControl != nullptr;
    if (!FDragging) return;
    FDownPos = Pos;
    FDownSize = ControlSize(FDragControl);
    FDragMax = MaxSize(FDragControl);
}

void TKitSplitter::SplitterMove(QPoint Pos) {
    if (!FDragging || !FDragControl) return;
    const QPoint d = Pos - FDownPos;
    int size = FDownSize;
    switch (FAlign) {
    case kaLeft:
        size += d.x();
        break;
    case kaRight:
        size -= d.x();
        break;
    case kaTop:
        size += d.y();
        break;
    case kaBottom:
        size -= d.y();
        break;
    default:
        break;
    }
    size = std::clamp(size, FMinSize, FDragMax);
    if (size != ControlSize(FDragControl)) ApplySize(FDragControl, size);
}

void TKitSplitter::SplitterUp(QPoint Pos) {
    if (!FDragging) return;
    SplitterMove(Pos);
    FDragging = false;
    FDragControl = nullptr;
    Fire(OnMoved);
}

void TKitSplitter::ResizeControlTo(int NewSize) {
    QWidget* c = FindSizedControl();
    if (!c) return;
    // Positions in the parent's coordinates, as a drag of the bar.
    const QPoint own = pos();
    QPoint target;
    switch (FAlign) {
    case kaTop:
        target = {0, c->y() + NewSize};
        break;
    case kaBottom:
        target = {0, c->y() + c->height() - height() - NewSize};
        break;
    case kaLeft:
        target = {c->x() + NewSize, 0};
        break;
    case kaRight:
        target = {c->x() + c->width() - width() - NewSize, 0};
        break;
    default:
        return;
    }
    const QPoint start = Horizontal() ? QPoint(0, own.y()) : QPoint(own.x(), 0);
    SplitterDown(start);
    SplitterMove(target);
    SplitterUp(target);
    update();
}

void TKitSplitter::SetMaximized(bool value) {
    if (FMaximized == value) return;
    if (FLoading) {
        FMaximized = value;
        return;
    }
    if (!FindSizedControl()) return;
    if (!value) {
        ResizeControlTo(FRestoreSize);
        FMaximized = false;
        Fire(OnRestore);
        return;
    }
    if (FAlign == kaNone) return;
    if (FMinimized)
        FMinimized = false;
    else
        TakeRestoreSize();
    if (FButtonStyle == bsNetscape)
        ResizeControlTo(-3000);
    else
        ResizeControlTo(FAlign == kaTop || FAlign == kaRight ? -3000 : 3000);
    FMaximized = true;
    Fire(OnMaximize);
}

void TKitSplitter::SetMinimized(bool value) {
    if (FMinimized == value) return;
    if (FLoading) {
        FMinimized = value;
        return;
    }
    if (!FindSizedControl()) return;
    if (!value) {
        FMinimized = false;
        ResizeControlTo(FRestoreSize);
        Fire(OnRestore);
        return;
    }
    if (FAlign == kaNone) return;
    if (FMaximized)
        FMaximized = false;
    else
        TakeRestoreSize();
    FMinimized = true;
    ResizeControlTo(FAlign == kaTop || FAlign == kaRight ? 3000 : -3000);
    Fire(OnMinimize);
}

QRect TKitSplitter::ButtonRect() const {
    if (!FShowButton) return {};
    const int R = width(), B = height();
    int l = 0, t = 0, r = 0, b = 0;
    if (FButtonStyle == bsWindows) {
        int n = 0;
        for (unsigned k : {wbMin, wbMax, wbClose}) n += (FWindowsButtons & k) ? 1 : 0;
        const int th = Horizontal() ? B : R;
        if (n * th < 1) return {};
        if (Horizontal())
            l = R - n * th + n, t = 0, r = R, b = B;
        else
            l = 0, t = 0, r = R, b = n * th - n;
        l += 1, t += 1, r -= 1, b -= 1;
    } else {
        const int len = Horizontal() ? R : B;
        const int bl = FButtonWidthType == btwPercentage ? MulDiv(len, FButtonWidth, 100) : FButtonWidth;
        if (bl <= 0) return {};
        const int start = (len - bl) / 2;
        if (Horizontal())
            l = start, t = 1, r = start + bl, b = B - 1;
        else
            l = 1, t = start, r = R - 1, b = start + bl;
    }
    l = std::max(l, 1), t = std::max(t, 1), r = std::min(r, R - 1), b = std::min(b, B - 1);
    if (FBeveled) {
        if (Horizontal())
            t += 3, b -= 3;
        else
            l += 3, r -= 3;
    }
    if (r <= l || b <= t) return {};
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

TKitWindowsButton TKitSplitter::CaptionButtonAt(int X, int Y) const {
    const QRect br = ButtonRect();
    if (br.isEmpty()) return wbMin;
    const int s = Horizontal() ? br.height() : br.width();
    const TKitWindowsButton order[3] = {Horizontal() ? wbMin : wbClose, wbMax, Horizontal() ? wbClose : wbMin};
    int i = 0;
    for (TKitWindowsButton k : order) {
        if (!(FWindowsButtons & k)) continue;
        const QRect sq =
            Horizontal() ? QRect(br.left() + i * s, br.top(), s, s) : QRect(br.left(), br.top() + i * s, s, s);
        if (sq.contains(X, Y)) return k;
        ++i;
    }
    return wbMin;
}

bool TKitSplitter::PointOnButton(int X, int Y) {
    const QRect br = ButtonRect();
    const bool on = !br.isEmpty() && br.contains(X, Y);
    const bool along =
        !br.isEmpty() && (Horizontal() ? X >= br.left() && X <= br.right() + 1 : Y >= br.top() && Y <= br.bottom() + 1);
    if (!FAllowDrag || along)
        setCursor(FButtonCursor);
    else
        setCursor(Horizontal() ? Qt::SplitVCursor : Qt::SplitHCursor);
    return on;
}

int TKitSplitter::PaintArrow(QImage& Image, const QRect& Rect, int Offset, int ArrowSize, TColor Color) const {
    int n = ArrowSize % 2 == 0 ? ArrowSize - 1 : ArrowSize;
    n = std::max(n, 1);
    const int base = 2 * n - 1;
    enum {
        Up,
        Down,
        Left,
        Right
    } dir = Down;
    switch (FAlign) {
    case kaTop:
        dir = FMaximized ? Down : Up;
        break;
    case kaBottom:
        dir = FMaximized ? Up : Down;
        break;
    case kaLeft:
        dir = FMaximized ? Right : Left;
        break;
    case kaRight:
        dir = FMaximized ? Left : Right;
        break;
    default:
        dir = FMaximized ? Up : Down;
        break;
    }
    const bool across_y = dir == Up || dir == Down;  // rows run along x
    const int thick = across_y ? Rect.height() : Rect.width();
    const int nearAcross = across_y ? Rect.top() : Rect.left();
    const int nearAlong = across_y ? Rect.left() : Rect.top();
    const int farAlong = across_y ? Rect.right() + 1 : Rect.bottom() + 1;
    const int acrossStart = nearAcross + (thick - n) / 2;
    const int alongStart = Offset > 0 ? nearAlong + Offset : farAlong + Offset - base;
    const QRgb c = Rgb(Color);
    for (int i = 0; i < n; ++i) {  // i: row counted from the base
        const int row = (dir == Up || dir == Left) ? acrossStart + n - 1 - i : acrossStart + i;
        for (int k = i; k < base - i; ++k) {
            const int x = across_y ? alongStart + k : row, y = across_y ? row : alongStart + k;
            if (Image.rect().contains(x, y)) Image.setPixel(x, y, c);
        }
    }
    return base;
}

QImage TKitSplitter::ButtonImage(bool Highlight) const {
    const QRect br = ButtonRect();
    QImage img(br.size(), QImage::Format_RGB32);
    if (br.isEmpty()) return img;
    const int w = img.width(), h = img.height();
    if (FButtonStyle == bsWindows) {
        img.fill(Rgb(FColor));
        QPainter p(&img);
        const int s = Horizontal() ? h : w;
        const TKitWindowsButton order[3] = {Horizontal() ? wbMin : wbClose, wbMax, Horizontal() ? wbClose : wbMin};
        int i = 0;
        for (TKitWindowsButton k : order) {
            if (!(FWindowsButtons & k)) continue;
            const QRect sq = Horizontal() ? QRect(i * s, 0, s, s) : QRect(0, i * s, s, s);
            QStyle::StandardPixmap icon = QStyle::SP_TitleBarCloseButton;
            if (k == wbMin) icon = FMinimized ? QStyle::SP_TitleBarNormalButton : QStyle::SP_TitleBarMinButton;
            if (k == wbMax) icon = FMaximized ? QStyle::SP_TitleBarNormalButton : QStyle::SP_TitleBarMaxButton;
            p.fillRect(sq, ToQColor(clBtnFace));
            p.setPen(QColor(0x80, 0x80, 0x80));
            p.drawRect(sq.adjusted(0, 0, -1, -1));
            style()->standardIcon(icon).paint(&p, sq.adjusted(1, 1, -1, -1));
            ++i;
        }
        return img;
    }
    const QRgb fill = Rgb(Highlight ? FButtonHighlightColor : FButtonColor);
    img.fill(QColor(0x80, 0x80, 0x80).rgb());
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) img.setPixel(x, y, (x == 1 || y == 1) ? qRgb(255, 255, 255) : fill);
    if (w < 4 || h < 4) return img;
    const QRect inner(2, 2, w - 3, h - 3);  // the fill
    const int thick = Horizontal() ? inner.height() : inner.width();
    const QRect arrows = Horizontal() ? inner.adjusted(4, 0, -4, 0) : inner.adjusted(0, 4, 0, -4);
    if (arrows.isEmpty()) return img;
    const int base = PaintArrow(img, arrows, 1, thick, FArrowColor);
    PaintArrow(img, arrows, -1, thick, FArrowColor);
    const int free = base + 4;
    const QRect tex = Horizontal() ? arrows.adjusted(free, 0, -free, 0) : arrows.adjusted(0, free, 0, -free);
    if (tex.width() > 2 && tex.height() > 2) {
        const QRgb t1 = Rgb(FTextureColor1), t2 = Rgb(FTextureColor2);
        for (int y = tex.top(); y <= tex.bottom(); ++y)
            for (int x = tex.left(); x <= tex.right(); ++x) {
                const int cx = (x - tex.left()) % 3, cy = (y - tex.top()) % 3;
                img.setPixel(x, y, cx == 1 && cy == 1 ? t1 : cx == 2 && cy == 2 ? t2 : fill);
            }
    }
    return img;
}

void TKitSplitter::PaintButton(bool Highlight) {
    if (FButtonStyle == bsNetscape) FHighlighted = Highlight;
    update(ButtonRect());
}

void TKitSplitter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ToQColor(FColor));
    if (!FShowButton || !isEnabled() || !parentWidget()) return;
    if (FAutoHighlightColor) FButtonHighlightColor = KitAutoHighlightColor();
    const QRect br = ButtonRect();
    if (br.isEmpty()) return;
    p.drawImage(br.topLeft(), ButtonImage(FHighlighted));
}

void TKitSplitter::mouseMoveEvent(QMouseEvent* e) {
    if (!FAllowDrag) {
        QWidget::mouseMoveEvent(e);
        return;
    }
    if (FDragging) SplitterMove(parentWidget()->mapFromGlobal(e->globalPosition().toPoint()));
    const QPoint p = e->position().toPoint();
    const bool on = PointOnButton(p.x(), p.y());
    if (FButtonStyle == bsNetscape && on && !FHighlighted)
        PaintButton(true);
    else if ((!on || FButtonStyle == bsWindows) && FHighlighted)
        PaintButton(false);
}

void TKitSplitter::enterEvent(QEnterEvent* e) {
    const QPoint p = e->position().toPoint();
    const bool on = PointOnButton(p.x(), p.y());
    if (FAllowDrag && FButtonStyle == bsNetscape && on && !FHighlighted)
        PaintButton(true);
    else if ((!on || FButtonStyle == bsWindows) && FHighlighted)
        PaintButton(false);
}

void TKitSplitter::leaveEvent(QEvent*) {
    if (FButtonStyle == bsNetscape && FHighlighted) PaintButton(false);
    FPressedOnButton = false;
}

void TKitSplitter::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    const QPoint p = e->position().toPoint();
    if (isEnabled()) {
        FPressedOnButton = PointOnButton(p.x(), p.y());
        if (FPressedOnButton) FPressPoint = e->globalPosition().toPoint();
    }
    if (FAllowDrag && parentWidget()) SplitterDown(parentWidget()->mapFromGlobal(e->globalPosition().toPoint()));
}

void TKitSplitter::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    const QPoint p = e->position().toPoint();
    const QPoint global = e->globalPosition().toPoint();
    const bool wasPressedOnButton = FPressedOnButton;
    FPressedOnButton = false;
    if (wasPressedOnButton) {
        const int moved =
            Horizontal() ? std::abs(global.y() - FPressPoint.y()) : std::abs(global.x() - FPressPoint.x());
        if (PointOnButton(p.x(), p.y()) && moved < DragClickLimit) {
            // A click on the button: the sizing it started is undone.
            if (FDragging && FDragControl && ControlSize(FDragControl) != FDownSize)
                ApplySize(FDragControl, FDownSize);
            FDragging = false;
            FDragControl = nullptr;
            if (FButtonStyle == bsWindows) {
                switch (CaptionButtonAt(p.x(), p.y())) {
                case wbMin:
                    SetMinimized(!FMinimized);
                    break;
                case wbMax:
                    SetMaximized(!FMaximized);
                    break;
                case wbClose:
                    Fire(OnClose);
                    break;
                }
            } else {
                SetMaximized(!FMaximized);
            }
            update();
            return;
        }
    }
    const bool dragged = FDragging;
    if (FAllowDrag && parentWidget()) SplitterUp(parentWidget()->mapFromGlobal(global));
    if (wasPressedOnButton && !dragged) return;
    if (!FAllowDrag) return;
    QWidget* c = FindSizedControl();
    if (!c || FAlign == kaNone) return;
    const bool wasMax = FMaximized;
    FMaximized = FMinSize >= ControlSize(c);
    if (FMaximized) {
        ResizeControlTo(FMinSize);
        if (!wasMax) Fire(OnMaximize);
    } else {
        FRestoreSize = ControlSize(c);
        if (wasMax) Fire(OnRestore);
    }
    update();
}

}  // namespace cb::extras
