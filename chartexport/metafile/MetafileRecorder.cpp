#include "chartexport/metafile/MetafileRecorder.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>

#include <cmath>
#include <optional>

namespace cb::chartexport {

namespace {

QRgb BrushColor(const QBrush& B) {
    if (const QGradient* g = B.gradient(); g && !g->stops().isEmpty()) {
        // A gradient is drawn in the colour of its middle.
        const QColor a = g->stops().first().second, b = g->stops().last().second;
        return qRgb((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
    }
    return B.color().rgb();
}

class TMetafileEngine : public QPaintEngine {
public:
    explicit TMetafileEngine(TMetafileRecorder& Recorder) : QPaintEngine(AllFeatures), FRec(Recorder) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& S) override {
        const DirtyFlags f = S.state();
        if (f & DirtyTransform) FMatrix = S.transform();
        if (f & DirtyPen) FPen = S.pen();
        if (f & DirtyBrush) FBrush = S.brush();
        if (f & DirtyFont) FFont = S.font();
        if (f & (DirtyClipRegion | DirtyClipPath | DirtyClipEnabled)) UpdateClip(S, f);
    }

    void drawPath(const QPainterPath& Path) override {
        std::vector<TMetaPolygon> polys;
        for (const QPolygonF& p : Path.toSubpathPolygons(FMatrix)) polys.push_back(Round(p));
        if (polys.empty()) return;
        if (Path.elementCount() > 0 && !IsClosed(Path) && !Filled()) {
            Select(false);
            for (const auto& p : polys) FRec.Polyline(p);
            return;
        }
        Select(true);
        FRec.Polygons(polys, Path.fillRule() == Qt::WindingFill);
    }

    void drawPolygon(const QPointF* Points, int Count, PolygonDrawMode Mode) override {
        QPolygonF poly(Count);
        for (int i = 0; i < Count; ++i) poly[i] = Points[i];
        const TMetaPolygon p = Round(FMatrix.map(poly));
        if (Mode == PolylineMode) {
            Select(false);
            FRec.Polyline(p);
        } else {
            Select(true);
            FRec.Polygons({p}, Mode == WindingMode);
        }
    }
    void drawPolygon(const QPoint* Points, int Count, PolygonDrawMode Mode) override {
        std::vector<QPointF> f(Points, Points + Count);
        drawPolygon(f.data(), Count, Mode);
    }

    void drawLines(const QLineF* Lines, int Count) override {
        Select(false);
        for (int i = 0; i < Count; ++i) FRec.Polyline({Map(Lines[i].p1()), Map(Lines[i].p2())});
    }
    void drawLines(const QLine* Lines, int Count) override {
        for (int i = 0; i < Count; ++i) {
            QLineF l(Lines[i]);
            drawLines(&l, 1);
        }
    }
    void drawPoints(const QPointF* Points, int Count) override {
        Select(false);
        for (int i = 0; i < Count; ++i) {
            const QPoint p = Map(Points[i]);
            FRec.Polyline({p, p + QPoint(1, 0)});
        }
    }

    void drawRects(const QRectF* Rects, int Count) override {
        for (int i = 0; i < Count; ++i) {
            if (FMatrix.type() > QTransform::TxScale) {
                QPainterPath p;
                p.addRect(Rects[i]);
                drawPath(p);
                continue;
            }
            Select(true);
            FRec.Rectangle(Box(Rects[i]));
        }
    }
    void drawRects(const QRect* Rects, int Count) override {
        for (int i = 0; i < Count; ++i) {
            QRectF r(Rects[i]);
            drawRects(&r, 1);
        }
    }
    void drawEllipse(const QRectF& R) override {
        if (FMatrix.type() > QTransform::TxScale) {
            QPainterPath p;
            p.addEllipse(R);
            drawPath(p);
            return;
        }
        Select(true);
        FRec.Ellipse(Box(R));
    }
    void drawEllipse(const QRect& R) override { drawEllipse(QRectF(R)); }

    void drawTextItem(const QPointF& P, const QTextItem& Item) override {
        const QString text = Item.text();
        if (text.isEmpty()) return;
        const QFont font = Item.font();
        const double scale = Scale();
        TMetaFont f;
        f.Family = font.family();
        const double px = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;
        f.Height = std::max(1, int(std::lround(px * scale)));
        f.Bold = font.weight() >= QFont::DemiBold;
        f.Italic = font.italic();
        f.Underline = font.underline();
        f.StrikeOut = font.strikeOut();
        const QFontMetricsF m(font);
        std::vector<int> advances;
        double x = 0;
        int last = 0;
        for (int i = 0; i < text.size(); ++i) {
            if (text[i].isLowSurrogate()) {
                advances.push_back(0);
                continue;
            }
            const int len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            x += m.horizontalAdvance(text.mid(i, len)) * scale;
            const int now = int(std::lround(x));
            advances.push_back(now - last);
            last = now;
        }
        FRec.Text(Map(P), text, f, FPen.color().rgb(), advances);
    }

    void drawPixmap(const QRectF& R, const QPixmap& Pm, const QRectF& Sr) override {
        drawImage(R, Pm.toImage(), Sr, Qt::AutoColor);
    }
    void drawImage(const QRectF& R, const QImage& Image, const QRectF& Sr, Qt::ImageConversionFlags) override {
        const QImage part = Image.copy(Sr.toAlignedRect()).convertToFormat(QImage::Format_RGB32);
        if (part.isNull()) return;
        FRec.Image(FMatrix.mapRect(R).toAlignedRect(), part);
    }

private:
    double Scale() const { return std::sqrt(std::abs(FMatrix.determinant())); }
    QPoint Map(const QPointF& P) const { return FMatrix.map(P).toPoint(); }
    TMetaPolygon Round(const QPolygonF& P) const {
        TMetaPolygon r;
        r.reserve(size_t(P.size()));
        for (const QPointF& p : P) r.push_back(p.toPoint());
        return r;
    }
    static bool IsClosed(const QPainterPath& P) {
        const QPainterPath::Element first = P.elementAt(0), last = P.elementAt(P.elementCount() - 1);
        return qFuzzyCompare(first.x, last.x) && qFuzzyCompare(first.y, last.y);
    }
    bool Filled() const { return FBrush.style() != Qt::NoBrush && FBrush.color().alpha() != 0; }
    // The rectangle as a metafile rectangle: right and bottom excluded,
    // the pen's line inside.
    QRect Box(const QRectF& R) const {
        const QRectF m = FMatrix.mapRect(R.normalized());
        const int pen = FPen.style() == Qt::NoPen ? 0 : 1;
        return QRect(QPoint(int(std::lround(m.left())), int(std::lround(m.top()))),
                     QPoint(int(std::lround(m.right())) + pen - 1, int(std::lround(m.bottom())) + pen - 1));
    }

    void Select(bool WithBrush) {
        TMetaPen pen;
        if (FPen.style() == Qt::NoPen || FPen.color().alpha() == 0) {
            pen.Style = 5;
        } else {
            switch (FPen.style()) {
            case Qt::DashLine:
                pen.Style = 1;
                break;
            case Qt::DotLine:
                pen.Style = 2;
                break;
            case Qt::DashDotLine:
                pen.Style = 3;
                break;
            case Qt::DashDotDotLine:
                pen.Style = 4;
                break;
            default:
                pen.Style = 0;
            }
            const double w = FPen.isCosmetic() ? FPen.widthF() : FPen.widthF() * Scale();
            pen.Width = std::max(1, int(std::lround(w)));
            pen.Color = FPen.color().rgb();
        }
        FRec.SetPen(pen);
        TMetaBrush brush;
        if (WithBrush && Filled()) {
            brush.Null = false;
            brush.Color = BrushColor(FBrush);
        }
        FRec.SetBrush(brush);
    }

    void UpdateClip(const QPaintEngineState& S, DirtyFlags F) {
        std::optional<QRect> clip = FClip;
        const bool enabled = (F & DirtyClipEnabled) ? S.isClipEnabled() : true;
        if (!enabled) {
            clip.reset();
        } else if (F & (DirtyClipRegion | DirtyClipPath)) {
            const QRect r = (F & DirtyClipRegion) ? FMatrix.map(S.clipRegion()).boundingRect()
                                                  : FMatrix.map(S.clipPath()).boundingRect().toAlignedRect();
            switch (S.clipOperation()) {
            case Qt::NoClip:
                clip.reset();
                break;
            case Qt::IntersectClip:
                clip = clip ? clip->intersected(r) : r;
                break;
            default:
                clip = r;
            }
        }
        FClip = clip;
        FRec.SetClip(FClip ? &*FClip : nullptr);
    }

    TMetafileRecorder& FRec;
    QTransform FMatrix;
    QPen FPen;
    QBrush FBrush;
    QFont FFont;
    std::optional<QRect> FClip;
};

}  // namespace

TMetafileDevice::TMetafileDevice(int Width, int Height, TMetafileRecorder& Recorder)
    : FWidth(Width), FHeight(Height), FEngine(std::make_unique<TMetafileEngine>(Recorder)) {}

TMetafileDevice::~TMetafileDevice() = default;

QPaintEngine* TMetafileDevice::paintEngine() const {
    return FEngine.get();
}

int TMetafileDevice::metric(PaintDeviceMetric Metric) const {
    switch (Metric) {
    case PdmWidth:
        return FWidth;
    case PdmHeight:
        return FHeight;
    case PdmWidthMM:
        return FWidth * 254 / 960;
    case PdmHeightMM:
        return FHeight * 254 / 960;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    default:
        return 0;
    }
}

}  // namespace cb::chartexport
