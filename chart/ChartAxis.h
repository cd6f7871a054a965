#pragma once
// A chart axis as a scale: its range (automatic, fixed, logarithmic,
// inverted), the pixels it spans, the widening for pixel margins, value to
// pixel and back; and its increments and labels: the step choice, label
// styles and texts, overlap skipping and custom labels.
#include "chart/ChartPen.h"
#include "chart/PlotFont.h"
#include "chart/PlotTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

class TCustomAxisPanel;
class TChartSeries;

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };
enum TAxisLabelAlign { alDefault, alOpposite };
enum TAxisPositionUnits { apuPercent, apuPixels };

// Largest magnitude a linear mapping hands out (2^26 - 1).
constexpr int AxisPixelLimit = 67108863;

// Next value of the 1-2-5 sequence (x > 0).
double NextNiceStep(double x);
// Number of lines of a label text (carriage return separates lines).
int CountLabelLines(const std::string& text);

// One custom label.
class TAxisItem {
public:
    explicit TAxisItem(TChangeEvent onChange = {});
    double Value() const { return fValue; }
    void SetValue(double v);
    const std::string& Text() const { return fText; }
    void SetText(const std::string& t);
    bool Visible() const { return fVisible; }
    void SetVisible(bool on);
    bool Transparent() const { return fTransparent; }
    void SetTransparent(bool on) { fTransparent = on; }
    TPlotFont& Font() { return *fFont; }

private:
    TChangeEvent fOnChange;
    double fValue = 0;
    std::string fText;
    bool fVisible = true;
    bool fTransparent = true;
    std::unique_ptr<TPlotFont> fFont;
};

// The frame and font every automatic label of an axis is drawn with.
class TAxisLabelFrame {
public:
    explicit TAxisLabelFrame(TChangeEvent onChange);
    bool Visible() const { return fVisible; }
    void SetVisible(bool on);
    TPlotFont& Font() { return *fFont; }
    const TPlotFont& Font() const { return *fFont; }
    bool Transparent() const { return fTransparent; }
    void SetTransparent(bool on) { fTransparent = on; }

private:
    TChangeEvent fOnChange;
    bool fVisible = true;
    bool fTransparent = true;
    std::unique_ptr<TPlotFont> fFont;
};

// The custom labels of an axis; with at least one item the axis shows them
// and no automatic labels.
class TAxisItems {
public:
    explicit TAxisItems(TChangeEvent onChange);
    ~TAxisItems();
    int Count() const { return int(fItems.size()); }
    TAxisItem* ItemAt(int index) const;
    TAxisItem* AddLabel(double value, const std::string& text = {});
    void Delete(int index);
    void ClearItems();
    void CopyItems(const TAxisItems& other);
    TAxisLabelFrame& LabelFrame() { return fFrame; }
    const TAxisLabelFrame& LabelFrame() const { return fFrame; }

private:
    TChangeEvent fOnChange;
    std::vector<std::unique_ptr<TAxisItem>> fItems;
    TAxisLabelFrame fFrame;
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
    // Joins the chart's axis list (and, past the six built-in axes, its
    // custom axes).
    explicit TChartAxis(TCustomAxisPanel* chart, bool isDepth = false);
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;
    virtual ~TChartAxis();

    TCustomAxisPanel* ParentChart() const { return fChart; }

    // --- scaling properties ---
    bool Automatic() const { return fAutomatic; }
    void SetAutomatic(bool on);
    bool AutomaticMaximum() const { return fAutomaticMaximum; }
    void SetAutomaticMaximum(bool on);
    bool AutomaticMinimum() const { return fAutomaticMinimum; }
    void SetAutomaticMinimum(bool on);
    double Maximum() const { return fMaximum; }
    void SetMaximum(double v);
    double Minimum() const { return fMinimum; }
    void SetMinimum(double v);
    bool Logarithmic() const { return fLogarithmic; }
    void SetLogarithmic(bool on);
    double LogarithmicBase() const { return fLogBase; }
    void SetLogarithmicBase(double b);
    bool Inverted() const { return fInverted; }
    virtual void ChangeInverted(bool on);
    void SetInverted(bool on) { ChangeInverted(on); }
    int MinimumOffset() const { return fMinimumOffset; }
    void SetMinimumOffset(int v) { store(fMinimumOffset, v); }
    int MaximumOffset() const { return fMaximumOffset; }
    void SetMaximumOffset(int v) { store(fMaximumOffset, v); }
    double StartPosition() const { return fStartPosition; }
    void SetStartPosition(double v) { store(fStartPosition, v); }
    double EndPosition() const { return fEndPosition; }
    void SetEndPosition(double v) { store(fEndPosition, v); }
    double PositionPercent() const { return fPositionPercent; }
    void SetPositionPercent(double v) { store(fPositionPercent, v); }
    TAxisPositionUnits PositionUnits() const { return fPositionUnits; }
    void SetPositionUnits(TAxisPositionUnits u) { store(fPositionUnits, u); }
    bool Horizontal() const { return fHorizontal; }
    void SetHorizontal(bool on);
    bool OtherSide() const { return fOtherSide; }
    void SetOtherSide(bool on) { store(fOtherSide, on); }
    double ZPosition() const { return fZPosition; }
    // Exactly 0 stores 0.01.
    void SetZPosition(double v);
    bool Visible() const { return fVisible; }
    void SetVisible(bool on) { store(fVisible, on); }
    bool IsDepthAxis() const { return fIsDepth; }

    // --- label properties ---
    double Increment() const { return fIncrement; }
    void SetIncrement(double v);
    TAxisLabelStyle LabelStyle() const { return fLabelStyle; }
    void SetLabelStyle(TAxisLabelStyle s) { store(fLabelStyle, s); }
    bool Labels() const { return fItems.LabelFrame().Visible(); }
    void SetLabels(bool on) { fItems.LabelFrame().SetVisible(on); }
    TPlotFont& LabelsFont() { return fItems.LabelFrame().Font(); }
    const std::string& AxisValuesFormat() const { return fValuesFormat; }
    void SetAxisValuesFormat(const std::string& f) { store(fValuesFormat, f); }
    const std::string& DateTimeFormat() const { return fDateTimeFormat; }
    void SetDateTimeFormat(const std::string& f) { store(fDateTimeFormat, f); }
    bool ExactDateTime() const { return fExactDateTime; }
    void SetExactDateTime(bool on) { store(fExactDateTime, on); }
    bool RoundFirstLabel() const { return fRoundFirstLabel; }
    void SetRoundFirstLabel(bool on) { store(fRoundFirstLabel, on); }
    int LabelsSeparation() const { return fLabelsSeparation; }
    void SetLabelsSeparation(int v);
    int LabelsAngle() const { return fLabelsAngle; }
    void SetLabelsAngle(int degrees);
    int LabelsSize() const { return fLabelsSize; }
    void SetLabelsSize(int v) { store(fLabelsSize, v); }
    bool LabelsMultiLine() const { return fLabelsMultiLine; }
    void SetLabelsMultiLine(bool on) { store(fLabelsMultiLine, on); }
    bool LabelsExponent() const { return fLabelsExponent; }
    void SetLabelsExponent(bool on) { store(fLabelsExponent, on); }
    bool LabelsAlternate() const { return fLabelsAlternate; }
    void SetLabelsAlternate(bool on) { store(fLabelsAlternate, on); }
    TAxisLabelAlign LabelsAlign() const { return fLabelsAlign; }
    void SetLabelsAlign(TAxisLabelAlign a) { store(fLabelsAlign, a); }
    bool LabelsOnAxis() const { return fLabelsOnAxis; }
    void SetLabelsOnAxis(bool on) { store(fLabelsOnAxis, on); }
    bool TickOnLabelsOnly() const { return fTickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool on) { store(fTickOnLabelsOnly, on); }
    int TickLength() const { return fTickLength; }
    void SetTickLength(int v) { store(fTickLength, v); }
    int MinorTickLength() const { return fMinorTickLength; }
    void SetMinorTickLength(int v) { store(fMinorTickLength, v); }
    int MinorTickCount() const { return fMinorTickCount; }
    void SetMinorTickCount(int v) { store(fMinorTickCount, v); }
    TAxisItems& Items() { return fItems; }
    const TAxisItems& Items() const { return fItems; }

    // --- pens ---
    TChartPen& AxisPen() { return *fAxisPen; }
    TChartPen& Grid() { return *fGrid; }
    TChartPen& MinorGrid() { return *fMinorGrid; }
    TChartPen& Ticks() { return *fTicks; }
    TChartPen& TicksInner() { return *fTicksInner; }
    TChartPen& MinorTicks() { return *fMinorTicks; }

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
    bool ShowsDateTime() const;
    bool HitTest(int x, int y) const;

    double WorkingMinimum() const { return fMinWork; }
    double WorkingMaximum() const { return fMaxWork; }
    void SetWorkingRange(double minimum, double maximum);
    double Range() const { return fRange; }
    int StartPixel() const { return fStartPixel; }
    int EndPixel() const { return fEndPixel; }
    int PixelSize() const { return fPixelSize; }
    int CenterPixel() const { return fCenterPixel; }
    int DepthOffset() const { return fDepthOffset; }
    // Chart rectangle set aside for the axis by PlaceInRect.
    int AxisLinePosition() const { return fPosAxis; }
    int LabelsPosition() const { return fPosLabels; }
    bool IsShown() const { return fShown; }
    void SetShown(bool on) { fShown = on; }

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
    const std::vector<TAxisLabel>& LabelList() const { return fLabelList; }
    const std::vector<int>& TickPositions() const { return fTickPositions; }

    // --- layout and drawing (the drawing pass refines these) ---
    // Takes room for the axis from r; builtIn for the first five axes.
    virtual void PlaceInRect(TRect& r, bool builtIn);
    virtual void Draw();
    // Draws one label at pixel along the axis.
    virtual void DrawLabel(int pixel, const std::string& text, const TAxisItem* item);

    void Assign(const TChartAxis& source);

protected:
    template <class T> void store(T& field, const T& value)
    {
        if (field != value) {
            field = value;
            repaint();
        }
    }
    void repaint() const;
    void recordTick(int pixel) { fTickPositions.push_back(pixel); }

private:
    enum TMapping { mapLinear, mapLog, mapDepth };
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
    void seriesLabels(TAxisLabelStyle style);
    void depthTitleLabels();
    double dateTimeIncrement(int n) const;
    bool hasShortSeries(int n) const;
    bool seriesRunsAlong(TChartSeries* s) const;

    TCustomAxisPanel* fChart;
    bool fIsDepth;
    bool fAutomatic = true, fAutomaticMaximum = true, fAutomaticMinimum = true;
    double fMaximum = 0, fMinimum = 0;
    bool fLogarithmic = false;
    double fLogBase = 10;
    bool fInverted = false;
    int fMinimumOffset = 0, fMaximumOffset = 0;
    double fStartPosition = 0, fEndPosition = 100, fPositionPercent = 0;
    TAxisPositionUnits fPositionUnits = apuPercent;
    bool fHorizontal = false, fOtherSide = false;
    double fZPosition = 0;
    bool fVisible = true;

    double fIncrement = 0;
    TAxisLabelStyle fLabelStyle = talAuto;
    std::string fValuesFormat;
    std::string fDateTimeFormat;
    bool fExactDateTime = true, fRoundFirstLabel = true;
    int fLabelsSeparation = 10, fLabelsAngle = 0, fLabelsSize = 0;
    bool fLabelsMultiLine = false, fLabelsExponent = false, fLabelsAlternate = false;
    TAxisLabelAlign fLabelsAlign = alDefault;
    bool fLabelsOnAxis = true, fTickOnLabelsOnly = true;
    int fTickLength = 4, fMinorTickLength = 2, fMinorTickCount = 3;
    TAxisItems fItems;

    std::unique_ptr<TChartPen> fAxisPen, fGrid, fMinorGrid, fTicks, fTicksInner, fMinorTicks;

    // working state
    double fMaxWork = 0, fMinWork = 0, fRange = 0;
    bool fRangeZero = true;
    double fPixelsPerUnit = 0;
    double fLogMin = 0, fLogMax = 0, fLogRange = 0, fPixelsPerLog = 0;
    int fStartPixel = 0, fEndPixel = 0, fPixelSize = 0, fCenterPixel = 0, fDepthOffset = 0;
    TMapping fMapping = mapLinear;
    int fPosAxis = 0, fPosLabels = 0;
    bool fShown = true;
    std::vector<TAxisLabel> fLabelList;
    std::vector<int> fTickPositions;
    // label pass scratch
    int fPassStepIndex = 27;
    double fPassIncrement = 0;
    mutable bool fNoGetLabelEvent = false;
};

class TChartDepthAxis : public TChartAxis {
public:
    explicit TChartDepthAxis(TCustomAxisPanel* chart) : TChartAxis(chart, true) {}
    TAxisLabelStyle AutoLabelStyle() const override;
    // Both depth axes are inverted together.
    void ChangeInverted(bool on) override;
};

} // namespace cb::chart
