#pragma once
// A chart axis as a scale: its range (automatic, fixed, logarithmic,
// inverted), the pixels it spans, the widening for pixel margins, value to
// pixel and back; and its increments and labels: the step choice, label
// styles and texts, overlap skipping and custom labels.
#include "chart/axis/AxisItems.h"
#include "chart/core/PlotTypes.h"
#include "chart/style/ChartPen.h"
#include "chart/style/PlotFont.h"
#include "platform/rtl/Property.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace cb::chart {

class TCustomAxisPanel;
class TChartSeries;

enum TAxisLabelStyle {
    talAuto,
    talNone,
    talValue,
    talMark,
    talText
};
enum TAxisLabelAlign {
    alDefault,
    alOpposite
};
enum TAxisPositionUnits {
    apuPercent,
    apuPixels
};

// Largest magnitude a linear mapping hands out (2^26 - 1).
constexpr int AxisPixelLimit = 67108863;

// Next value of the 1-2-5 sequence (x > 0).
double NextNiceStep(double x);
// Number of lines of a label text (carriage return separates lines).
int CountLabelLines(const std::string& text);

class TChartAxis;

// (axis, x, y, z, text, draw): called before every label and the title.
using TAxisDrawLabelEvent =
    std::function<void(TChartAxis* sender, int& x, int& y, int& z, std::string& text, bool& drawLabel)>;

// The caption drawn beside an axis.
class TChartAxisTitle {
public:
    // Every setting Assign copies; the font is copied beside.
    struct TSettings {
        std::string Caption;
        int Angle = 0;
        bool Visible = true;
        bool operator==(const TSettings&) const = default;
    };

    explicit TChartAxisTitle(TChangeEvent onChange);
    const std::string& Caption() const { return FSettings.Caption; }
    void SetCaption(const std::string& c);
    // Degrees; kept modulo 360.
    int Angle() const { return FSettings.Angle; }
    void SetAngle(int degrees);
    bool Visible() const { return FSettings.Visible; }
    void SetVisible(bool on);
    TPlotFont& Font() { return *FFont; }
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TChartAxisTitle& source);

private:
    TChangeEvent FOnChange;
    TSettings FSettings;
    std::unique_ptr<TPlotFont> FFont;
};

// A label the label pass decided to show.
struct TAxisLabel {
    double Value = 0;
    int Pixel = 0;
    std::string Text;
    const TAxisItem* Item = nullptr;  // custom label, or none
};

class TChartAxis {
public:
    // Every setting Assign copies; pens, title and items are copied beside.
    struct TSettings {
        bool IsDepth = false;
        bool Automatic = true, AutomaticMaximum = true, AutomaticMinimum = true;
        double Maximum = 0, Minimum = 0;
        bool Logarithmic = false;
        double LogBase = 10;
        bool Inverted = false;
        int MinimumOffset = 0, MaximumOffset = 0;
        double StartPosition = 0, EndPosition = 100, PositionPercent = 0;
        TAxisPositionUnits PositionUnits = apuPercent;
        bool Horizontal = false, OtherSide = false;
        bool Visible = true;
        double Increment = 0;
        TAxisLabelStyle LabelStyle = talAuto;
        std::string ValuesFormat;
        std::string DateTimeFormat;
        bool ExactDateTime = true, RoundFirstLabel = true;
        int LabelsSeparation = 10, LabelsAngle = 0, LabelsSize = 0;
        bool LabelsMultiLine = false, LabelsExponent = false, LabelsAlternate = false;
        TAxisLabelAlign LabelsAlign = alDefault;
        bool LabelsOnAxis = true, TickOnLabelsOnly = true;
        int TickLength = 4, MinorTickLength = 2, MinorTickCount = 3;
        int TitleSize = 0, TickInnerLength = 0;
        bool GridCentered = false;
        double GridZPosition = -1;  // -1: the axis' default
        bool operator==(const TSettings&) const = default;
    };

    // Joins the chart's axis list (and, past the six built-in axes, its
    // custom axes).
    explicit TChartAxis(TCustomAxisPanel* chart, bool isDepth = false);
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;
    virtual ~TChartAxis();

    TCustomAxisPanel* ParentChart() const { return FChart; }

    // --- scaling properties ---
    bool Automatic() const { return FSettings.Automatic; }
    void SetAutomatic(bool on);
    bool AutomaticMaximum() const { return FSettings.AutomaticMaximum; }
    void SetAutomaticMaximum(bool on);
    bool AutomaticMinimum() const { return FSettings.AutomaticMinimum; }
    void SetAutomaticMinimum(bool on);
    double Maximum() const { return FSettings.Maximum; }
    void SetMaximum(double v);
    double Minimum() const { return FSettings.Minimum; }
    void SetMinimum(double v);
    bool Logarithmic() const { return FSettings.Logarithmic; }
    void SetLogarithmic(bool on);
    double LogarithmicBase() const { return FSettings.LogBase; }
    void SetLogarithmicBase(double b);
    bool Inverted() const { return FSettings.Inverted; }
    virtual void ChangeInverted(bool on);
    void SetInverted(bool on) { ChangeInverted(on); }
    int MinimumOffset() const { return FSettings.MinimumOffset; }
    void SetMinimumOffset(int v) { store(FSettings.MinimumOffset, v); }
    int MaximumOffset() const { return FSettings.MaximumOffset; }
    void SetMaximumOffset(int v) { store(FSettings.MaximumOffset, v); }
    double StartPosition() const { return FSettings.StartPosition; }
    void SetStartPosition(double v) { store(FSettings.StartPosition, v); }
    double EndPosition() const { return FSettings.EndPosition; }
    void SetEndPosition(double v) { store(FSettings.EndPosition, v); }
    double PositionPercent() const { return FSettings.PositionPercent; }
    void SetPositionPercent(double v) { store(FSettings.PositionPercent, v); }
    TAxisPositionUnits PositionUnits() const { return FSettings.PositionUnits; }
    void SetPositionUnits(TAxisPositionUnits u) { store(FSettings.PositionUnits, u); }
    bool Horizontal() const { return FSettings.Horizontal; }
    void SetHorizontal(bool on);
    bool OtherSide() const { return FSettings.OtherSide; }
    void SetOtherSide(bool on) { store(FSettings.OtherSide, on); }
    double ZPosition() const { return FZPosition; }
    // Exactly 0 stores 0.01.
    void SetZPosition(double v);
    bool Visible() const { return FSettings.Visible; }
    void SetVisible(bool on) { store(FSettings.Visible, on); }
    bool IsDepthAxis() const { return FSettings.IsDepth; }

    // --- label properties ---
    double Increment() const { return FSettings.Increment; }
    void SetIncrement(double v);
    TAxisLabelStyle LabelStyle() const { return FSettings.LabelStyle; }
    void SetLabelStyle(TAxisLabelStyle s) { store(FSettings.LabelStyle, s); }
    bool Labels() const { return FItems.LabelFrame().Visible(); }
    void SetLabels(bool on) { FItems.LabelFrame().SetVisible(on); }
    TPlotFont& LabelsFont() { return FItems.LabelFrame().Font(); }
    const std::string& AxisValuesFormat() const { return FSettings.ValuesFormat; }
    void SetAxisValuesFormat(const std::string& f) { store(FSettings.ValuesFormat, f); }
    const std::string& DateTimeFormat() const { return FSettings.DateTimeFormat; }
    void SetDateTimeFormat(const std::string& f) { store(FSettings.DateTimeFormat, f); }
    bool ExactDateTime() const { return FSettings.ExactDateTime; }
    void SetExactDateTime(bool on) { store(FSettings.ExactDateTime, on); }
    bool RoundFirstLabel() const { return FSettings.RoundFirstLabel; }
    void SetRoundFirstLabel(bool on) { store(FSettings.RoundFirstLabel, on); }
    int LabelsSeparation() const { return FSettings.LabelsSeparation; }
    void SetLabelsSeparation(int v);
    int LabelsAngle() const { return FSettings.LabelsAngle; }
    void SetLabelsAngle(int degrees);
    int LabelsSize() const { return FSettings.LabelsSize; }
    void SetLabelsSize(int v) { store(FSettings.LabelsSize, v); }
    bool LabelsMultiLine() const { return FSettings.LabelsMultiLine; }
    void SetLabelsMultiLine(bool on) { store(FSettings.LabelsMultiLine, on); }
    bool LabelsExponent() const { return FSettings.LabelsExponent; }
    void SetLabelsExponent(bool on) { store(FSettings.LabelsExponent, on); }
    bool LabelsAlternate() const { return FSettings.LabelsAlternate; }
    void SetLabelsAlternate(bool on) { store(FSettings.LabelsAlternate, on); }
    TAxisLabelAlign LabelsAlign() const { return FSettings.LabelsAlign; }
    void SetLabelsAlign(TAxisLabelAlign a) { store(FSettings.LabelsAlign, a); }
    bool LabelsOnAxis() const { return FSettings.LabelsOnAxis; }
    void SetLabelsOnAxis(bool on) { store(FSettings.LabelsOnAxis, on); }
    bool TickOnLabelsOnly() const { return FSettings.TickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool on) { store(FSettings.TickOnLabelsOnly, on); }
    int TickLength() const { return FSettings.TickLength; }
    void SetTickLength(int v) { store(FSettings.TickLength, v); }
    int MinorTickLength() const { return FSettings.MinorTickLength; }
    void SetMinorTickLength(int v) { store(FSettings.MinorTickLength, v); }
    int MinorTickCount() const { return FSettings.MinorTickCount; }
    void SetMinorTickCount(int v) { store(FSettings.MinorTickCount, v); }
    TAxisItems& Items() { return FItems; }
    const TAxisItems& Items() const { return FItems; }

    // --- pens ---
    TChartPen& AxisPen() { return *FAxisPen; }
    TChartPen& Grid() { return *FGrid; }
    TChartPen& MinorGrid() { return *FMinorGrid; }
    TChartPen& Ticks() { return *FTicks; }
    TChartPen& TicksInner() { return *FTicksInner; }
    TChartPen& MinorTicks() { return *FMinorTicks; }

    // --- scale ---
    void FetchAutomaticLimits(double& minimum, double& maximum);
    void RefreshRange();
    void RecalcScale();
    void PlaceEnds();
    // margins: Left/Right for horizontal axes, Top/Bottom for vertical ones.
    void WidenForPixelMargins(const TRect& margins);
    void SelectPixelMapping();
    int PixelOfValue(double v) const;
    int HorizontalPixelOfValue(double v) const;
    int VerticalPixelOfValue(double v) const;
    double ValueAtPixel(int pixel) const;
    int PixelSpanOfValue(double v) const;
    void ScrollRange(double offset, bool checkLimits);
    void SetManualRange(double minimum, double maximum);
    // Puts back a saved range, leaving the automatic flags as they are.
    void RestoreRange(double minimum, double maximum) {
        FSettings.Minimum = minimum;
        FSettings.Maximum = maximum;
        repaint();
    }
    bool ShowsDateTime() const;
    bool HitTest(int x, int y) const;

    double WorkingMinimum() const { return FMinWork; }
    double WorkingMaximum() const { return FMaxWork; }
    void SetWorkingRange(double minimum, double maximum);
    double Range() const { return FRange; }
    int StartPixel() const { return FStartPixel; }
    int EndPixel() const { return FEndPixel; }
    int PixelSize() const { return FPixelSize; }
    int CenterPixel() const { return FCenterPixel; }
    int DepthOffset() const { return FDepthOffset; }
    // Chart rectangle set aside for the axis by PlaceInRect.
    int AxisLinePosition() const { return FPosAxis; }
    int LabelsPosition() const { return FPosLabels; }
    bool IsShown() const { return FShown; }
    void SetShown(bool on) { FShown = on; }

    // --- increments and labels ---
    virtual TAxisLabelStyle AutoLabelStyle() const;
    TAxisLabelStyle EffectiveLabelStyle() const;
    virtual std::string FormatLabelValue(double v) const;
    double CalcIncrementFor(int maxLabels) const;
    double IncrementForLabelSize(int extent) const;
    double LabelIncrement() const;
    int LabelExtentOfValue(bool horizontal, double v) const;
    int TextThickness(TPlotFont& font, int angle, int fixedSize, const std::string* text) const;
    int LabelsThickness() const;
    int MaxLabelWidth() const;
    double LogRound(double v) const;
    // One step down (or up); calendar steps when exact date-time applies.
    void StepLabelValue(double& v, bool down, int stepIndex, double increment) const;
    // The label pass: fills Labels and Ticks for the current scale.
    void ComputeLabels();
    const std::vector<TAxisLabel>& LabelList() const { return FLabelList; }
    const std::vector<int>& TickPositions() const { return FTickPositions; }

    // --- drawing settings ---
    TChartAxisTitle& Title() { return *FTitle; }
    int TitleSize() const { return FSettings.TitleSize; }
    void SetTitleSize(int v) { store(FSettings.TitleSize, v); }
    int TickInnerLength() const { return FSettings.TickInnerLength; }
    void SetTickInnerLength(int v) { store(FSettings.TickInnerLength, v); }
    // Grid lines halfway between the ticks.
    bool GridCentered() const { return FSettings.GridCentered; }
    void SetGridCentered(bool on) { store(FSettings.GridCentered, on); }
    // Percent of the 3D depth where floor and side-wall grid lines end
    // (0, or 100 for the top and right axes, unless set).
    double GridZPosition() const;
    void SetGridZPosition(double v) { store(FSettings.GridZPosition, v); }
    TAxisDrawLabelEvent OnDrawLabel;
    // Called with the axis when its grid drawing starts.
    std::function<void(TChartAxis*)> GridHook;
    // Set by walls while they draw an axis again over them.
    bool HideBackGrid = false;
    bool HideSideGrid = false;

    // --- layout and drawing ---
    // Takes room for the axis from r when shrink, else places its bands.
    virtual void PlaceInRect(TRect& r, bool shrink);
    int LineAndTicksThickness() const;
    int EdgeOfRect(const TRect& r) const;
    int ApplyPositionPercent(int position, const TRect& r) const;
    // The whole axis; with placeLine its line is placed at the chart edge.
    virtual void Draw(bool placeLine = true);
    void DrawTitle(int x, int y);
    // Where the title stands across the axis: in 3D the labels keep their
    // full size where the projection puts them, so the title keeps its gap
    // to them on the screen rather than in the chart's plane.
    int TitlePositionShown();
    void PlaceAndDrawLabel(int pixel, const std::string& text, const TAxisItem* item);
    void DrawLabelAt(int x, int y, bool framed, const std::string& text, int angle);
    void DrawGrid(int tickCount);
    void DrawGridLine(int pixel);
    unsigned DepthLabelAlign() const;
    int DepthAxisY() const;
    int TitlePosition() const { return FPosTitle; }

    const TSettings& Settings() const { return FSettings; }
    void Assign(const TChartAxis& source);

protected:
    template <class T>
    void store(T& field, T value) {
        cb::rtl::SetProperty(field, std::move(value), [this] { repaint(); });
    }
    void repaint() const;
    void recordTick(int pixel) { FTickPositions.push_back(pixel); }

private:
    enum TMapping {
        mapLinear,
        mapLog,
        mapDepth
    };
    int linearH(double v) const;
    int linearV(double v) const;
    int logH(double v) const;
    int logV(double v) const;
    int depthMap(double v) const;
    int map(TMapping m, bool horizontal, double v) const;
    void emitValueLabel(double v);
    void linearLabels(double increment, int stepIndex);
    void logLabels();
    bool eventLabels();
    // The point labels of the series on this axis, by point index: value
    // along the axis and text (series/SeriesOnAxes.cpp).
    struct TSeriesLabel {
        double value;
        std::string text;
    };
    std::vector<TSeriesLabel> seriesLabelTexts(TAxisLabelStyle style);
    void seriesLabels(TAxisLabelStyle style);
    void depthTitleLabels();
    double dateTimeIncrement(int n) const;
    bool hasShortSeries(int n) const;
    bool seriesRunsAlong(TChartSeries* s) const;

    TCustomAxisPanel* FChart;
    TSettings FSettings;
    double FZPosition = 0;
    TAxisItems FItems;
    std::unique_ptr<TChartAxisTitle> FTitle;

    std::unique_ptr<TChartPen> FAxisPen, FGrid, FMinorGrid, FTicks, FTicksInner, FMinorTicks;

    // working state
    double FMaxWork = 0, FMinWork = 0, FRange = 0;
    bool FRangeZero = true;
    double FPixelsPerUnit = 0;
    double FLogMin = 0, FLogMax = 0, FLogRange = 0, FPixelsPerLog = 0;
    int FStartPixel = 0, FEndPixel = 0, FPixelSize = 0, FCenterPixel = 0, FDepthOffset = 0;
    TMapping FMapping = mapLinear;
    int FPosAxis = 0, FPosLabels = 0, FPosTitle = 0;
    bool FAlternateToggle = false;
    void drawTick(int p, int offset, int length, int wall);
    void drawMinor(bool grid);
    bool FShown = true;
    std::vector<TAxisLabel> FLabelList;
    std::vector<int> FTickPositions;
    // label pass scratch
    int FPassStepIndex = 27;
    double FPassIncrement = 0;
    mutable bool FNoGetLabelEvent = false;
};

class TChartDepthAxis : public TChartAxis {
public:
    explicit TChartDepthAxis(TCustomAxisPanel* chart) : TChartAxis(chart, true) {}
    TAxisLabelStyle AutoLabelStyle() const override;
    // Both depth axes are inverted together.
    void ChangeInverted(bool on) override;
};

}  // namespace cb::chart
