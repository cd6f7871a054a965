#pragma once
// Base of every chart panel: owns the drawing canvas, the 3D switch and
// options, margins, border, bevels and shadow, and turns "draw yourself on
// this canvas inside this rectangle" into begin-draw, lay-out, contents and
// end-draw. Serves the screen (buffered), bitmaps, the clipboard, printing
// and replacement canvases, and broadcasts events to listeners.
#include "chart/canvas/Canvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/panel/PlotEvents.h"
#include "chart/style/ChartPen.h"
#include "chart/style/PlotShadow.h"
#include "platform/gfx/Bitmap.h"

#include <QCursor>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QPrinter;

namespace cb::gfx {
class TCanvas;
}  // namespace cb::gfx

namespace cb::chart {

class TChartBrush;
class TMetafile;

enum TPlotUnits {
    muPercent,
    muPixels
};
enum TPanelBevel {
    bvNone,
    bvLowered,
    bvRaised,
    bvSpace
};

// Process-wide drawing options of the panels.
struct TPlotPanelOptions {
    bool PensOnPrinters = true;
    bool ClipWhenPrinting = true;
    bool ClipWhenMetafiling = true;
    bool EraseBackground = false;
    bool PrintPanelBackground = false;
};
TPlotPanelOptions& PlotPanelOptions();

// The chart's button and shift flags (ss...) of a Qt mouse event.
TPlotMouseButton ButtonOf(Qt::MouseButton b);
unsigned ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons buttons);

class TCustomPlotPanel : public QWidget {
public:
    // Every setting Assign copies; border, shadow, 3D options, buffering and
    // monochrome are copied beside.
    struct TSettings {
        int BorderRound = 0;
        int Margins[4] = {3, 4, 3, 4};
        TPlotUnits MarginUnits = muPercent;
        TRect PrintMargins{15, 15, 15, 15};
        bool PrintProportional = true;
        int PrintResolution = 0;
        bool View3D = true;
        TColor Color = clBtnFace;
        TPanelBevel BevelInner = bvNone;
        TPanelBevel BevelOuter = bvRaised;
        int BevelWidth = 1;
        int BorderWidth = 0;
        bool operator==(const TSettings&) const = default;
    };

    explicit TCustomPlotPanel(QWidget* parent = nullptr);
    ~TCustomPlotPanel() override;

    // --- stored settings ---
    TChartHiddenPen& Border() { return *FBorder; }
    void SetBorder(const TChartPen& pen) { FBorder->Assign(pen); }
    int BorderRound() const { return FSettings.BorderRound; }
    void SetBorderRound(int v);
    // Index 0..3: left, top, right, bottom.
    int GetMargin(int index) const { return FSettings.Margins[index & 3]; }
    void SetMargin(int index, int value);
    int MarginLeft() const { return FSettings.Margins[0]; }
    int MarginTop() const { return FSettings.Margins[1]; }
    int MarginRight() const { return FSettings.Margins[2]; }
    int MarginBottom() const { return FSettings.Margins[3]; }
    TPlotUnits MarginUnits() const { return FSettings.MarginUnits; }
    void SetMarginUnits(TPlotUnits u);
    bool Monochrome() const { return FCanvas ? FCanvas->IsMonochrome() : false; }
    void SetMonochrome(bool on);
    bool PrintProportional() const { return FSettings.PrintProportional; }
    void SetPrintProportional(bool on) { FSettings.PrintProportional = on; }
    TPlotShadow& Shadow() { return *FShadow; }
    void SetShadow(const TPlotShadow& s);
    bool View3D() const { return FSettings.View3D; }
    void SetView3D(bool on);
    TView3DOptions& View3DOptions() { return *FView3DOptions; }
    void SetView3DOptions(const TView3DOptions& o);

    // --- panel look ---
    TColor Color() const { return FSettings.Color; }
    void SetColor(TColor c);
    TPanelBevel BevelInner() const { return FSettings.BevelInner; }
    void SetBevelInner(TPanelBevel b);
    TPanelBevel BevelOuter() const { return FSettings.BevelOuter; }
    void SetBevelOuter(TPanelBevel b);
    int BevelWidth() const { return FSettings.BevelWidth; }
    void SetBevelWidth(int w);
    int BorderWidth() const { return FSettings.BorderWidth; }
    void SetBorderWidth(int w);

    // --- state ---
    bool AutoRepaint() const { return FAutoRepaint; }
    void SetAutoRepaint(bool on) { FAutoRepaint = on; }
    bool ApplyZOrder() const { return FApplyZOrder; }
    void SetApplyZOrder(bool on) { FApplyZOrder = on; }
    bool CancelMouse() const { return FCancelMouse; }
    void SetCancelMouse(bool on) { FCancelMouse = on; }
    bool Printing() const { return FPrinting; }
    const TRect& ChartBounds() const { return FChartBounds; }
    TRect& ChartRect() { return FChartRect; }
    void SetChartRect(const TRect& r) { FChartRect = r; }
    int ChartWidth() const { return FChartWidth; }
    int ChartHeight() const { return FChartHeight; }
    int ChartXCenter() const { return FChartXCenter; }
    int ChartYCenter() const { return FChartYCenter; }
    int Width3D() const { return FWidth3D; }
    void SetWidth3D(int v) { FWidth3D = v; }
    int Height3D() const { return FHeight3D; }
    void SetHeight3D(int v) { FHeight3D = v; }
    const TRect& PrintMargins() const { return FSettings.PrintMargins; }
    void SetPrintMargins(const TRect& r) { FSettings.PrintMargins = r; }
    int PrintResolution() const { return FSettings.PrintResolution; }
    void SetPrintResolution(int v) { FSettings.PrintResolution = v; }

    // The drawing canvas (owned; nullptr while an exporter holds it).
    TCanvas3D* Canvas() const { return FCanvas.get(); }
    // Takes the canvas out, leaving none.
    std::unique_ptr<TCanvas3D> TakeCanvas() { return std::move(FCanvas); }
    // Binds the new canvas, hands it the old one's settings and frees the
    // old one; nullptr does nothing.
    void ReplaceCanvas(std::unique_ptr<TCanvas3D> canvas);
    bool GetBuffered() const { return FCanvas && FCanvas->IsBuffered(); }
    void SetBuffered(bool on);

    // --- virtual operations ---
    virtual TColor PanelBackColor() const { return FSettings.Color; }
    virtual void DrawContents(const TRect& bounds);
    virtual void SettingChanged();
    // One complete drawing on canvas inside r.
    virtual void DrawOnCanvas(cb::gfx::TCanvas* canvas, const TRect& r);
    // The client rectangle, or (0, 0, Width, Height) without a parent.
    virtual TRect PanelRect() const;
    virtual void DrawPanelFrame(TRect& r);

    void NormalizeChartRect();
    void Invalidate();
    bool ClippingAllowed();
    TPoint CursorClientPos() const;
    void SelectBrushOverBackground(TColor color, const TChartBrush& brush, TColor background);

    // Store when different and invalidate.
    template <class T>
    void StoreAndInvalidate(T& field, const T& value) {
        if (field != value) {
            field = value;
            Invalidate();
        }
    }
    void StoreColorAndInvalidate(TColor& f, TColor v) { StoreAndInvalidate(f, v); }
    void StoreBooleanAndInvalidate(bool& f, bool v) { StoreAndInvalidate(f, v); }
    void StoreIntegerAndInvalidate(int& f, int v) { StoreAndInvalidate(f, v); }
    void StoreDoubleAndInvalidate(double& f, double v) { StoreAndInvalidate(f, v); }
    void StoreStringAndInvalidate(std::string& f, const std::string& v) { StoreAndInvalidate(f, v); }

    // --- listeners ---
    TPlotEventListeners& Listeners() { return FListeners; }
    void BroadcastEvent(TPlotEvent& event);
    void RemoveListener(TPlotEventListener* listener) { FListeners.Remove(listener); }
    void BroadcastMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y);

    // --- output ---
    // A new bitmap of r's size: filled with background unless white, then
    // drawn unbuffered.
    // The bitmap is 24-bit when the canvas renders a full 3D scene, else of
    // the given format.
    std::unique_ptr<cb::gfx::TBitmap> DrawToBitmap(TColor background, const TRect& r,
                                                   cb::gfx::TPixelFormat format = cb::gfx::pf32bit);
    // A new metafile of r's size (each side at least 1), drawn with the
    // canvas' metafiling flag set; r's top-left is the metafile's origin.
    std::unique_ptr<TMetafile> DrawToMetafile(bool enhanced, const TRect& r);
    // A bitmap receives the panel drawn on its own colour.
    void AssignTo(cb::gfx::TBitmap& destination);
    void DrawUnbuffered(cb::gfx::TCanvas* canvas, const TRect& r);
    void DrawMetafiling(cb::gfx::TCanvas* canvas, const TRect& r);
    // The panel as a BMP file, white background.
    void SaveBitmapFile(const std::string& fileName);
    void CopyBitmapToClipboard();
    void CopyRectToClipboard(const TRect& r);

    // --- printing ---
    // Window extent and r in logical units for drawing r on paper.
    void CalcPrintExtents(TRect& r, const TRect& panelRect, int& windowWidth, int& windowHeight) const;
    void DrawOnPrinterCanvas(cb::gfx::TCanvas* canvas, const TRect& r);
    void DrawOnPrinter(QPrinter& printer, const TRect& r);
    TRect PrintPageRect(QPrinter* printer);
    // Page width and height in device pixels and the pixel aspect
    // (horizontal / vertical resolution).
    TRect ProportionalPrintMargins(int pageWidth, int pageHeight, double aspect) const;
    TRect ProportionalPrintMargins(QPrinter* printer) const;
    static TRect PageRectFromMargins(const TRect& margins, int pageWidth, int pageHeight, int dpiX, int dpiY);
    // While printing (and with the pens-on-printers option): a non-solid
    // pen of width 1 gets width 0, the printer's thinnest line.
    void AdjustPenForPrinting(cb::gfx::TPen& pen);
    const TSettings& Settings() const { return FSettings; }

    void Assign(const TCustomPlotPanel& source);

    // --- stored properties ---
    // Loading: between BeginLoading and Loaded the round window region is
    // not applied.
    bool Loading() const { return FLoading; }
    void BeginLoading() { FLoading = true; }
    // After the stored properties are read: takes the cursor to restore on
    // leaving again and applies the round window region.
    virtual void Loaded();
    // Maps a stored property of older files onto the current ones (read,
    // never written). True when the name was one of them.
    virtual bool ReadLegacyProperty(const std::string& name, const std::string& value);

    // The cursor the mouse gets back when it leaves the panel.
    const QCursor& SavedCursor() const { return FSavedCursor; }
    void SetSavedCursor(const QCursor& cursor) { FSavedCursor = cursor; }

    // Double click; a handler that sets CancelMouse stops the click there
    // (no mouse-down follows).
    std::function<void()> OnDblClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;

    void NotifyMouseDown(QMouseEvent* e, unsigned extraShift);
    void DrawPanelBevel(TPanelBevel kind, TRect& r, int cornerSize, int width);
    void ApplyRoundRegion();
    cb::gfx::TCanvas& ToolkitCanvas() { return *FToolkitCanvas; }

private:
    bool FApplyZOrder = true;
    bool FAutoRepaint = true;
    std::unique_ptr<TChartHiddenPen> FBorder;
    TSettings FSettings;
    bool FCancelMouse = false;
    TRect FChartBounds;
    int FChartWidth = 0, FChartHeight = 0, FChartXCenter = 0, FChartYCenter = 0;
    std::unique_ptr<cb::gfx::TCanvas> FToolkitCanvas;
    int FHeight3D = 0;
    bool FPrinting = false;
    std::unique_ptr<TPlotShadow> FShadow;
    std::unique_ptr<TView3DOptions> FView3DOptions;
    int FWidth3D = 0;
    TPlotEventListeners FListeners;
    bool FRounding = false;
    bool FLoading = false;
    QCursor FSavedCursor;
    bool FDestroying = false;
    std::unique_ptr<TCanvas3D> FCanvas;
    TRect FChartRect;
};

}  // namespace cb::chart
