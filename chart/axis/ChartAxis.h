#pragma once
// A chart axis as a scale: its range (automatic, fixed, logarithmic,
// inverted), the pixels it spans, the widening for pixel margins, value to
// pixel and back; and its increments and labels: the step choice, label
// styles and texts, overlap skipping and custom labels.
#include "chart/axis/AxisItems.h"
#include "chart/core/PlotTypes.h"
#include "chart/style/ChartPen.h"
#include "chart/style/PlotFont.h"

#include <functional>
#include <memory>
#include <string>
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
        std::string FCaption;
        int FAngle = 0;
        bool FVisible = true;
        bool operator==(const TSettings&) const = default;
    };

    explicit TChartAxisTitle(TChangeEvent onChange);
    const std::string& Caption() const { return FSettings.FCaption; }
    void SetCaption(const std::string& c);
    // Degrees; kept modulo 360.
    int Angle() const { return FSettings.FAngle; }
    void SetAngle(int degrees);
    bool Visible() const { return FSettings.FVisible; }
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
        bool FIsDepth = false;
        bool FAutomatic = true, FAutomaticMaximum = true, FAutomaticMinimum = true;
        double FMaximum = 0, FMinimum = 0;
        bool FLogarithmic = false;
        double FLogBase = 10;
        bool FInverted = false;
        int FMinimumOffset = 0, FMaximumOffset = 0;
        double FStartPosition = 0, FEndPosition = 100, FPositionPercent = 0;
        TAxisPositionUnits FPositionUnits = apuPercent;
        bool FHorizontal = false, FOtherSide = false;
        bool FVisible = true;
        double FIncrement = 0;
        TAxisLabelStyle FLabelStyle = talAuto;
        std::string FValuesFormat;
        std::string FDateTimeFormat;
        bool FExactDateTime = true, FRoundFirstLabel = true;
        int FLabelsSeparation = 10, FLabelsAngle = 0, FLabelsSize = 0;
        bool FLabelsMultiLine = false, FLabelsExponent = false, FLabelsAlternate = false;
        TAxisLabelAlign FLabelsAlign = alDefault;
        bool FLabelsOnAxis = true, FTickOnLabelsOnly = true;
        int FTickLength = 4, FMinorTickLength = 2, FMinorTickCount = 3;
        int FTitleSize = 0, FTickInnerLength = 0;
        bool FGridCentered = false;
        double FGridZPosition = -1;  // -1: the axis' default
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
    bool Automatic() const { return FSettings.FAutomatic; }
    void SetAutomatic(bool on);
    bool AutomaticMaximum() const { return FSettings.FAutomaticMaximum; }
    void SetAutomaticMaximum(bool on);
    bool AutomaticMinimum() const { return FSettings.FAutomaticMinimum; }
    void SetAutomaticMinimum(bool on);
    double Maximum() const { return FSettings.FMaximum; }
    void SetMaximum(double v);
    double Minimum() const { return FSettings.FMinimum; }
    void SetMinimum(double v);
    bool Logarithmic() const { return FSettings.FLogarithmic; }
    void SetLogarithmic(bool on);
    double LogarithmicBase() const { return FSettings.FLogBase; }
    void SetLogarithmicBase(double b);
    bool Inverted() const { return FSettings.FInverted; }
    virtual void ChangeInverted(bool on);
    void SetInverted(bool on) { ChangeInverted(on); }
    int MinimumOffset() const { return FSettings.FMinimumOffset; }
    void SetMinimumOffset(int v) { store(FSettings.FMinimumOffset, v); }
    int MaximumOffset() const { return FSettings.FMaximumOffset; }
    void SetMaximumOffset(int v) { store(FSettings.FMaximumOffset, v); }
    double StartPosition() const { return FSettings.FStartPosition; }
    void SetStartPosition(double v) { store(FSettings.FStartPosition, v); }
    double EndPosition() const { return FSettings.FEndPosition; }
    void SetEndPosition(double v) { store(FSettings.FEndPosition, v); }
    double PositionPercent() const { return FSettings.FPositionPercent; }
    void SetPositionPercent(double v) { store(FSettings.FPositionPercent, v); }
    TAxisPositionUnits PositionUnits() const { return FSettings.FPositionUnits; }
    void SetPositionUnits(TAxisPositionUnits u) { store(FSettings.FPositionUnits, u); }
    bool Horizontal() const { return FSettings.FHorizontal; }
    void SetHorizontal(bool on);
    bool OtherSide() const { return FSettings.FOtherSide; }
    void SetOtherSide(bool on) { store(FSettings.FOtherSide, on); }
    double ZPosition() const { return FZPosition; }
    // Exactly 0 stores 0.01.
    void SetZPosition(double v);
    bool Visible() const { return FSettings.FVisible; }
    void SetVisible(bool on) { store(FSettings.FVisible, on); }
    bool IsDepthAxis() const { return FSettings.FIsDepth; }

    // --- label properties ---
    double Increment() const { return FSettings.FIncrement; }
    void SetIncrement(double v);
    TAxisLabelStyle LabelStyle() const { return FSettings.FLabelStyle; }
    void SetLabelStyle(TAxisLabelStyle s) { store(FSettings.FLabelStyle, s); }
    bool Labels() const { return FItems.LabelFrame().Visible(); }
    void SetLabels(bool on) { FItems.LabelFrame().SetVisible(on); }
    TPlotFont& LabelsFont() { return FItems.LabelFrame().Font(); }
    const std::string& AxisValuesFormat() const { return FSettings.FValuesFormat; }
    void SetAxisValuesFormat(const std::string& f) { store(FSettings.FValuesFormat, f); }
    const std::string& DateTimeFormat() const { return FSettings.FDateTimeFormat; }
    void SetDateTimeFormat(const std::string& f) { store(FSettings.FDateTimeFormat, f); }
    bool ExactDateTime() const { return FSettings.FExactDateTime; }
    void SetExactDateTime(bool on) { store(FSettings.FExactDateTime, on); }
    bool RoundFirstLabel() const { return FSettings.FRoundFirstLabel; }
    void SetRoundFirstLabel(bool on) { store(FSettings.FRoundFirstLabel, on); }
    int LabelsSeparation() const { return FSettings.FLabelsSeparation; }
    void SetLabelsSeparation(int v);
    int LabelsAngle() const { return FSettings.FLabelsAngle; }
    void SetLabelsAngle(int degrees);
    int LabelsSize() const { return FSettings.FLabelsSize; }
    void SetLabelsSize(int v) { store(FSettings.FLabelsSize, v); }
    bool LabelsMultiLine() const { return FSettings.FLabelsMultiLine; }
    void SetLabelsMultiLine(bool on) { store(FSettings.FLabelsMultiLine, on); }
    bool LabelsExponent() const { return FSettings.FLabelsExponent; }
    void SetLabelsExponent(bool on) { store(FSettings.FLabelsExponent, on); }
    bool LabelsAlternate() const { return FSettings.FLabelsAlternate; }
    void SetLabelsAlternate(bool on) { store(FSettings.FLabelsAlternate, on); }
    TAxisLabelAlign LabelsAlign() const { return FSettings.FLabelsAlign; }
    void SetLabelsAlign(TAxisLabelAlign a) { store(FSettings.FLabelsAlign, a); }
    bool LabelsOnAxis() const { return FSettings.FLabelsOnAxis; }
    void SetLabelsOnAxis(bool on) { store(FSettings.FLabelsOnAxis, on); }
    bool TickOnLabelsOnly() const { return FSettings.FTickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool on) { store(FSettings.FTickOnLabelsOnly, on); }
    int TickLength() const { return FSettings.FTickLength; }
    void SetTickLength(int v) { store(FSettings.FTickLength, v); }
    int MinorTickLength() const { return FSettings.FMinorTickLength; }
    void SetMinorTickLength(int v) { store(FSettings.FMinorTickLength, v); }
    int MinorTickCount() const { return FSettings.FMinorTickCount; }
    void SetMinorTickCount(int v) { store(FSettings.FMinorTickCount, v); }
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
        FSettings.FMinimum = minimum;
        FSettings.FMaximum = maximum;
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
    int TitleSize() const { return FSettings.FTitleSize; }
    void SetTitleSize(int v) { store(FSettings.FTitleSize, v); }
    int TickInnerLength() const { return FSettings.FTickInnerLength; }
    void SetTickInnerLength(int v) { store(FSettings.FTickInnerLength, v); }
    // Grid lines halfway between the ticks.
    bool GridCentered() const { return FSettings.FGridCentered; }
    void SetGridCentered(bool on) { store(FSettings.FGridCentered, on); }
    // Percent of the 3D depth where floor and side-wall grid lines end
    // (0, or 100 for the top and right axes, unless set).
    double GridZPosition() const;
    void SetGridZPosition(double v) { store(FSettings.FGridZPosition, v); }
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
    void store(T& field, const T& value) {
        if (field != value) {
            field = value;
            repaint();
        }
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
