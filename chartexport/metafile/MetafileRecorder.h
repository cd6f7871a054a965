#pragma once
// Drawing turned into metafile records. TMetafileDevice is a paint device
// whose engine reduces what a painter draws (paths, polygons, lines,
// rectangles, ellipses, text, images) to a few primitives in device pixels
// and hands them to a recorder; the EMF and WMF writers are recorders.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPaintDevice>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

namespace cb::chartexport {

struct TMetaPen {
    int Style = 0;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none
    int Width = 1;  // pixels
    QRgb Color = 0;
    bool operator==(const TMetaPen&) const = default;
};

struct TMetaBrush {
    bool Null = true;
    QRgb Color = 0;
    bool operator==(const TMetaBrush&) const = default;
};

struct TMetaFont {
    QString Family;
    int Height = 12;  // pixels, the character height
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    bool operator==(const TMetaFont&) const = default;
};

using TMetaPolygon = std::vector<QPoint>;

// Receives the primitives in drawing order; the current pen, brush and
// font are set before a primitive that uses them.
class TMetafileRecorder {
public:
    virtual ~TMetafileRecorder() = default;
    virtual void SetPen(const TMetaPen& Pen) = 0;
    virtual void SetBrush(const TMetaBrush& Brush) = 0;
    // Clipping to a rectangle; an empty optional rectangle clips nothing.
    virtual void SetClip(const QRect* Rect) = 0;
    // Filled with the brush (winding or alternate), outlined with the pen.
    virtual void Polygons(const std::vector<TMetaPolygon>& Polygons, bool Winding) = 0;
    virtual void Polyline(const TMetaPolygon& Points) = 0;
    virtual void Rectangle(const QRect& Rect) = 0;
    virtual void Ellipse(const QRect& Rect) = 0;
    // Text on its baseline from Origin, in the pen's colour; Advances per
    // UTF-16 unit.
    virtual void Text(const QPoint& Origin, const QString& Text, const TMetaFont& Font, QRgb Color,
                      const std::vector<int>& Advances) = 0;
    virtual void Image(const QRect& Target, const QImage& Image) = 0;
};

// A paint device of Width x Height pixels (96 dpi) drawing into Recorder
// (not owned).
class TMetafileDevice : public QPaintDevice {
public:
    TMetafileDevice(int Width, int Height, TMetafileRecorder& Recorder);
    ~TMetafileDevice() override;
    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric Metric) const override;

private:
    int FWidth, FHeight;
    std::unique_ptr<QPaintEngine> FEngine;
};

}  // namespace cb::chartexport
