#pragma once
// TCanvas: classic device-context drawing over a QPainter. Integer pixels, right and bottom edges of rectangles
// excluded, LineTo leaves out its last pixel, pen modes (XOR, ...) on raster
// targets, text alignment and background mode, a nested clip stack.
//
// A canvas either borrows a painter (a widget's paintEvent, a printer, a
// QPicture) or paints on a device it begins a painter on when first needed
// (TBitmap's canvas). Pen, brush and font are pushed to the painter lazily,
// only when they changed since the last drawing call.
#include "platform/gfx/Color.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/gfx/Geometry.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

class QPainter;
class QPaintDevice;
class QImage;
class QPainterPath;

namespace cb::gfx {

class TGraphic;
class TBitmap;
struct TFontCacheEntry;

// Background mix modes.
enum : int {
    TRANSPARENT = 1,
    OPAQUE = 2
};

// Text alignment flags of TextOut.
enum : unsigned {
    TA_NOUPDATECP = 0,
    TA_UPDATECP = 1,
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
    TA_RTLREADING = 256
};

// DrawText flags.
enum : unsigned {
    DT_TOP = 0,
    DT_LEFT = 0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_TABSTOP = 0x80,
    DT_NOCLIP = 0x100,
    DT_EXTERNALLEADING = 0x200,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_INTERNAL = 0x1000,
    DT_EDITCONTROL = 0x2000,
    DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000,
    DT_MODIFYSTRING = 0x10000,
    DT_RTLREADING = 0x20000,
    DT_WORD_ELLIPSIS = 0x40000,
    DT_NOFULLWIDTHCHARBREAK = 0x80000,
    DT_HIDEPREFIX = 0x100000,
    DT_PREFIXONLY = 0x200000
};

// TextRect / ExtTextOut options.
enum : unsigned {
    ETO_OPAQUE = 2,
    ETO_CLIPPED = 4
};

// DrawEdge edges and sides.
enum : unsigned {
    BDR_RAISEDOUTER = 1,
    BDR_SUNKENOUTER = 2,
    BDR_RAISEDINNER = 4,
    BDR_SUNKENINNER = 8,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
    BF_LEFT = 1,
    BF_TOP = 2,
    BF_RIGHT = 4,
    BF_BOTTOM = 8,
    BF_TOPLEFT = BF_TOP | BF_LEFT,
    BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x800,
    BF_SOFT = 0x1000,
    BF_ADJUST = 0x2000,
    BF_FLAT = 0x4000,
    BF_MONO = 0x8000
};

// Raster operations of CopyRect and Draw.
enum TCopyMode {
    cmSrcCopy,
    cmSrcPaint,
    cmSrcAnd,
    cmSrcInvert,
    cmSrcErase,
    cmNotSrcCopy,
    cmNotSrcErase,
    cmMergePaint,
    cmDstInvert,
    cmBlackness,
    cmWhiteness
};

enum TArcDirection {
    adCounterClockwise = 1,
    adClockwise = 2
};

// Font metrics in pixels, as the device reports them.
struct TTextMetric {
    int Height = 0;  // Ascent + Descent
    int Ascent = 0;
    int Descent = 0;
    int InternalLeading = 0;  // Height minus the em size
    int ExternalLeading = 0;
    int AveCharWidth = 0;
    int MaxCharWidth = 0;
};

class TCanvas {
public:
    // A canvas without a device: measures text, draws nothing.
    TCanvas();
    // Borrows a painter that stays active while the canvas is used; the
    // painter's current clip becomes the bottom of the clip stack.
    explicit TCanvas(QPainter* painter);
    // Paints on a device, beginning a painter on it when first needed.
    explicit TCanvas(QPaintDevice* device);
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Attaches another painter (nullptr detaches); the clip stack is reset.
    void Attach(QPainter* painter);
    // Ends the painter this canvas began on its device, if any (it begins
    // again on the next drawing call). Needed before touching the device
    // directly.
    void ReleasePainter();
    bool HasDevice() const;
    // The painter with pen, brush and font brought up to date (begun when the
    // canvas owns it); nullptr without a device. For drawing Qt can do
    // directly; the composition mode is left at source-over.
    QPainter* Painter();
    // The raster image under the painter, or nullptr (widget, printer,
    // picture), with everything drawn so far in it.
    QImage* RasterImage();
    // From here to the matching EndPolygonBatch, polygons written straight
    // into a raster image are held back until the end or the next other
    // drawing, then written last first, each pixel once: the same picture,
    // with pixels that later polygons cover not written. Nests.
    void BeginPolygonBatch();
    void EndPolygonBatch();
    // Device size in device pixels (0 x 0 without a device).
    TSize DeviceSize() const;

    // Logical pixels: on a device of another resolution (a printer) the
    // painter is scaled by DeviceScale() so callers keep 96-dpi pixels.
    double DeviceScale() const;  // device dpi / 96
    void UseLogicalPixels(bool on);
    bool LogicalPixels() const { return FLogical; }

    TPen& Pen() { return FPen; }
    TBrush& Brush() { return FBrush; }
    TFont& Font() { return FFont; }
    const TPen& Pen() const { return FPen; }
    const TBrush& Brush() const { return FBrush; }
    const TFont& Font() const { return FFont; }

    // Text background: mode TRANSPARENT or OPAQUE and colour. Changing the
    // brush sets the colour to the brush colour and the mode to OPAQUE for a
    // solid brush, TRANSPARENT otherwise; explicit calls afterwards win.
    int BkMode() const { return FBkMode; }
    void SetBkMode(int mode);
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor c);
    unsigned TextAlign() const { return FTextAlign; }
    void SetTextAlign(unsigned flags);
    int TextCharacterExtra() const { return FCharExtra; }
    void SetTextCharacterExtra(int pixels);
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode m) { FCopyMode = m; }
    // Black and white drawing is the caller's business; this canvas only
    // resolves colours.

    // Lines. LineTo draws from the pen position to (x, y) leaving out the
    // last pixel, and moves the pen position there.
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(const TPoint& p) { FPenPos = p; }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    void Polyline(const TPoint* points, int count) {
        Polyline(std::span<const TPoint>(points, size_t(count > 0 ? count : 0)));
    }
    // Cubic Bezier: 1 + 3n points.
    void PolyBezier(std::span<const TPoint> points);
    void PolyBezierTo(std::span<const TPoint> points);

    // Filled shapes: outline with the pen, inside with the brush. Bounding
    // boxes exclude their right and bottom edge.
    void Polygon(std::span<const TPoint> points);
    void Polygon(const TPoint* points, int count) {
        Polygon(std::span<const TPoint>(points, size_t(count > 0 ? count : 0)));
    }
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // Elliptic arcs in the box, counter-clockwise from the radial through
    // (x3, y3) to the radial through (x4, y4) (clockwise after
    // SetArcDirection(adClockwise)). Equal radials make a full ellipse.
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    TArcDirection ArcDirection() const { return FArcDirection; }
    void SetArcDirection(TArcDirection d) { FArcDirection = d; }

    // Brush only: fill, and a one-pixel frame in the brush colour.
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    // Dotted XOR frame; drawing it twice removes it.
    void DrawFocusRect(const TRect& r);
    // 3D edges in the button colours (BDR_*, EDGE_*, BF_* flags); with
    // BF_ADJUST the rectangle shrinks to the area inside the edges.
    void DrawEdge(TRect& r, unsigned edge, unsigned flags);
    // Two-colour linear gradient over the rectangle (top to bottom when
    // vertical, else left to right).
    void GradientFill(const TRect& r, TColor from, TColor to, bool vertical);

    // Paths: between BeginPath and EndPath, MoveTo, LineTo, Polyline,
    // PolyBezierTo, ArcTo, Polygon and Rectangle record instead of drawing.
    void BeginPath();
    void EndPath();
    void AbortPath();
    void ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void CloseFigure();
    void StrokePath();
    void FillPath();
    void StrokeAndFillPath();
    // Clip to the recorded path (intersecting; pushed like PushClipPolygon).
    void PushClipPath();

    // Text. TextOut places the text by TextAlign() relative to (x, y); in
    // OPAQUE mode its cell is filled with BkColor() first.
    void TextOut(int x, int y, std::string_view text);
    // Text at (x, y) clipped to the rectangle; options ETO_OPAQUE fills the
    // rectangle with BkColor() first (default: opaque unless the brush is clear).
    void TextRect(const TRect& r, int x, int y, std::string_view text);
    void ExtTextOut(int x, int y, unsigned options, const TRect* r, std::string_view text);
    // Formatted text in a rectangle (DT_* flags). Returns the text height;
    // with DT_CALCRECT nothing is drawn and r's right and bottom are set to
    // fit the text (width of the widest line, height of all lines).
    int DrawText(std::string_view text, TRect& r, unsigned flags);
    TSize TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }
    TTextMetric TextMetrics();

    // Clipping. Pushes intersect with what is in force; PopClip restores the
    // state before the matching push. IntersectClipRect and ExcludeClipRect
    // change the state in force (undone by the enclosing PopClip).
    void PushClipRect(const TRect& r);
    void PushClipRoundRect(const TRect& r, int cornerWidth, int cornerHeight);
    void PushClipEllipse(const TRect& r);
    void PushClipPolygon(std::span<const TPoint> points);
    void PopClip();
    int ClipDepth() const;
    void IntersectClipRect(const TRect& r);
    void ExcludeClipRect(const TRect& r);
    // Bounding box of the area drawing may reach (the device when unclipped).
    TRect ClipRect() const;
    bool IsClipped() const;

    // Pixels: on raster targets; elsewhere Pixel answers clNone and SetPixel
    // draws a one-pixel point.
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor c);

    // Pictures: unscaled at (x, y), stretched into a rectangle; a bitmap with
    // Transparent on leaves out the pixels of its transparent colour. The
    // *Transparent variants name that colour explicitly.
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const TRect& r, const TGraphic& graphic);
    void DrawTransparent(int x, int y, const TBitmap& bitmap, TColor transparent);
    void StretchDrawTransparent(const TRect& r, const TBitmap& bitmap, TColor transparent);
    // Qt image at a rectangle (used by the TGraphic implementations).
    void DrawImage(const TRect& dest, const QImage& image, const TRect& source);
    // Copies a rectangle of another canvas (raster source) under CopyMode().
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

private:
    struct State;
    struct ClipState;
    struct PolygonBatch;
    void init();
    void onObjectChanged(TGraphicsObject& obj);
    QPainter* ensurePainter();
    QPainter* forShape(bool needPen, bool needBrush);
    // Painter with the text colour as its pen; setFont false leaves the
    // painter's font alone (for glyph runs, which carry their own).
    QPainter* forText(bool setFont = true);
    void applyClip();
    void pushClip();
    void intersectClip(const QPainterPath& path);
    void drawShapePath(const QPainterPath& path, bool fill, bool stroke);
    // Adds path to the open path bracket, or draws it when there is none.
    void recordOrDraw(const QPainterPath& path, bool fill, bool stroke);
    void arcPath(QPainterPath& path, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int kind,
                 bool moveToStart);
    void lineSegment(QPainter* p, const TPoint& a, const TPoint& b);
    bool solidLine(const TPoint& a, const TPoint& b);
    bool directFill(QPainter* p, const TRect& r, TColor c);
    // A small solid polygon with a thin solid outline written straight into a
    // raster image; false when the painter has to draw it.
    bool directPolygon(QPainter* p, std::span<const TPoint> pts);
    // Writes the held polygons.
    void flushBatch();
    bool drawSimpleLine(std::string_view text, const TRect& r, unsigned flags, int& height);
    bool drawClippedOnScratch(QPainter* p, const TRect& box, int x, int y, int w, const TFontCacheEntry& e);
    void textAt(QPainter* p, int x, int y, std::string_view text, bool clip, const TRect* clipRect, bool opaque,
                const TRect* opaqueRect);
    friend class TGraphicsObject;

    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    int FBkMode = OPAQUE;
    TColor FBkColor = clWhite;
    unsigned FTextAlign = TA_LEFT | TA_TOP;
    int FCharExtra = 0;
    TCopyMode FCopyMode = cmSrcCopy;
    TArcDirection FArcDirection = adCounterClockwise;
    TPoint FPenPos;
    bool FLogical = false;
    std::unique_ptr<State> d;
};

}  // namespace cb::gfx
