#pragma once
// The data side of a series: points as parallel value lists with optional
// colours and labels, adding, deleting and clearing, the automatic colour,
// axis binding, dependent series, hold and release of updates, z order,
// and the visible and page ranges.
#include "chart/panel/ChartElement.h"
#include "chart/panel/PlotEvents.h"
#include "chart/series/ChartValueList.h"
#include "chart/series/CustomSeriesList.h"
#include "chart/series/LabelsList.h"
#include "chart/series/SeriesMarks.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cb::rtl {
class TStream;
}

namespace cb::chart {

class TChartAxis;
class TChartSeries;

enum THorizAxis {
    aTopAxis,
    aBottomAxis,
    aBothHorizAxis,
    aCustomHorizAxis
};
enum TVertAxis {
    aLeftAxis,
    aRightAxis,
    aBothVertAxis,
    aCustomVertAxis
};

// What a series tells the series that depend on it.
enum TSeriesDependencyCode {
    dcCleared = 0,
    dcAdded = 1,
    dcDeleted = 2,
    dcRefreshed = 3,
    dcModified = 4
};

// Which changes dependents follow.
enum TSeriesRefreshOption : unsigned {
    roFollowDeletes = 1,
    roFollowModifications = 2,
    roFollowInserts = 4,
    roFollowClears = 8,
};

// What a legend item of a point shows.
enum TLegendTextStyle {
    ltsPlain,
    ltsLeftValue,
    ltsRightValue,
    ltsLeftPercent,
    ltsRightPercent,
    ltsXValue,
    ltsValue,
    ltsPercent,
    ltsXAndValue,
    ltsXAndPercent
};

// Separators of mark, title and label lines and of legend columns.
constexpr char LineSeparator = '\r';
constexpr char ColumnSeparator = '\x06';

class TCustomChartSeries : public TCustomChartElement {
public:
    // Every setting of its own Assign copies.
    struct TSettings {
        bool ShowInLegend = true;
        std::string Title;
        std::string Identifier;
        unsigned Style = 0;
        bool operator==(const TSettings&) const = default;
    };

    bool ShowInLegend() const { return FSettings.ShowInLegend; }
    void SetShowInLegend(bool on) { StoreBooleanAndRepaint(FSettings.ShowInLegend, on); }
    const std::string& Title() const { return FSettings.Title; }
    // Repaints on change; always broadcasts series event 2.
    void SetTitle(const std::string& title);
    const std::string& Identifier() const { return FSettings.Identifier; }
    void SetIdentifier(const std::string& id) { FSettings.Identifier = id; }
    unsigned Style() const { return FSettings.Style; }
    void SetStyle(unsigned style) { FSettings.Style = style & 0x3F; }

    // Extra pixels beside the axis range.
    virtual void HorizontalMargins(int& left, int& right) { left = right = 0; }
    virtual void VerticalMargins(int& top, int& bottom) { top = bottom = 0; }
    virtual void PrepareForPaint() {}
    // Broadcasts series event 5 after the store.
    void SetActive(bool on) override;
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TCustomChartSeries& source);

private:
    TSettings FSettings;
};

class TPlotSeriesSource;
class TPlotFunction;

// Where FillSampleValues puts its points: positions (X of a usual series)
// from PositionLow by PositionStep, values from ValueLow within ValueRange.
struct TSampleRanges {
    double PositionLow = 0;
    double PositionStep = 1;
    double ValueLow = 0;
    double ValueRange = 1000;
};

// Series fill themselves with sample values when they have no data of
// their own only while this is on (off unless a program turns it on).
bool& RandomSampleValuesAtRunTime();

class TChartSeries : public TCustomChartSeries {
public:
    // The settings AssignSettings copies whole; value lists, marks, axes
    // and data sources are copied beside.
    struct TSettings {
        TColor Color = clDefault;
        TColor AutoColor = clDefault;
        bool ColorEachPoint = false;
        std::string ColorSource;
        std::string XLabelsSource;
        std::string PercentFormat;
        std::string ValueFormat;
        unsigned RefreshOptions = roFollowDeletes | roFollowModifications | roFollowInserts | roFollowClears;
        int Cursor = 0;
        int Depth = -1;
        int ZOrder = -1;
        bool operator==(const TSettings&) const = default;
    };

    TChartSeries();
    ~TChartSeries() override;

    // --- stored settings ---
    bool ColorEachPoint() const { return FSettings.ColorEachPoint; }
    virtual void SetColorEachPoint(bool on) { StoreBooleanAndRepaint(FSettings.ColorEachPoint, on); }
    const std::string& ColorSource() const { return FSettings.ColorSource; }
    void SetColorSource(const std::string& s);
    int Cursor() const { return FSettings.Cursor; }
    void SetCursor(int c) { FSettings.Cursor = c; }
    int Depth() const { return FSettings.Depth; }
    void SetDepth(int d) { StoreIntegerAndRepaint(FSettings.Depth, d); }
    THorizAxis HorizAxis() const { return FHorizAxis; }
    void SetHorizAxis(THorizAxis a);
    TVertAxis VertAxis() const { return FVertAxis; }
    void SetVertAxis(TVertAxis a);
    const std::string& PercentFormat() const { return FSettings.PercentFormat; }
    void SetPercentFormat(const std::string& f) { StoreStringAndRepaint(FSettings.PercentFormat, f); }
    const std::string& ValueFormat() const { return FSettings.ValueFormat; }
    void SetValueFormat(const std::string& f) { StoreStringAndRepaint(FSettings.ValueFormat, f); }
    const std::string& XLabelsSource() const { return FSettings.XLabelsSource; }
    void SetXLabelsSource(const std::string& s);
    // The stored colour, or the automatic one when stored is automatic.
    TColor SeriesColor() const { return FSettings.Color == clDefault ? FSettings.AutoColor : FSettings.Color; }
    TColor StoredSeriesColor() const { return FSettings.Color; }
    TColor AutomaticColor() const { return FSettings.AutoColor; }
    virtual void SetSeriesColor(TColor c);
    int ZOrder() const { return FSettings.ZOrder; }
    void SetZOrder(int z) { StoreIntegerAndRepaint(FSettings.ZOrder, z); }
    void SetParentChart(TCustomAxisPanel* chart) override;

    // --- value lists ---
    TChartValueLists& ValueLists() { return FValueLists; }
    TChartValueList& XValues() { return *FX; }
    TChartValueList& YValues() { return *FY; }
    // The value list (Y for usual series) and the position list.
    TChartValueList& MandatoryList() { return *FMandatory; }
    TChartValueList& OtherList() { return *FOther; }
    bool YMandatory() const { return FYMandatory; }
    // X becomes the value list; for series drawn horizontally.
    void MakeXMandatory();
    // Y is the value list again (as a series starts).
    void MakeYMandatory();
    // Copies Order, DateTime and ValueSource into the list, then repaints.
    void SetXValues(const TChartValueList& source);
    void SetYValues(const TChartValueList& source);
    TLabelsList& Labels() { return FLabels; }
    bool HasColorList() const { return FHasColors; }
    // False for series whose position list is not data (pies).
    bool UsesOtherList() const { return FUseOtherList; }

    // --- points ---
    int PointCount() const { return FX->ValueCount(); }
    virtual int AddValue(double value, const std::optional<std::string>& label = std::nullopt,
                         TColor color = clDefault);
    virtual int AddNullValue(const std::optional<std::string>& label = std::nullopt);
    virtual int AddNullPoint(double x, double y, const std::optional<std::string>& label = std::nullopt);
    // -1 when OnBeforeAdd refuses.
    virtual int AddPoint(double x, double y, const std::optional<std::string>& label = std::nullopt,
                         TColor color = clDefault);
    virtual void DeletePoint(int index);
    virtual void DeletePoints(int index, int count, bool renumber = false);
    virtual void RemoveAllPoints();
    virtual void SwapPoints(int i, int j);
    bool IsEmptyPoint(int index) { return PointColor(index) == clNone; }
    virtual TColor PointColor(int index);
    void SetPointColor(int index, TColor color);
    TColor StoredPointColor(int index) const;
    std::string PointLabel(int index) const { return FLabels.Label(index); }
    void SortByMandatoryOrder();
    virtual double PointX(int index) { return FX->Value(index); }
    virtual double PointY(int index) { return FY->Value(index); }
    virtual double MandatoryValue(int index) { return FMandatory->Value(index); }
    virtual double StackValue(int index) { return MandatoryValue(index); }
    virtual TChartValueList& ValueListByName(const std::string& name);
    virtual TChartValueList* ValueListForAxis(const TChartAxis* axis);

    // --- statistics ---
    virtual double HighestX() { return FX->Highest(); }
    virtual double HighestY() { return FY->Highest(); }
    virtual double HighestZ() { return EffectiveZOrder(); }
    virtual double LowestX() { return FX->Lowest(); }
    virtual double LowestY() { return FY->Lowest(); }
    virtual double LowestZ() { return EffectiveZOrder(); }
    // Series whose points carry their own depth.
    bool HasOwnZValues() const { return FHasOwnZValues; }

    // --- updates and dependents ---
    void HoldUpdates() { ++FHoldCount; }
    void ReleaseUpdates();
    bool UpdatesHeld() const { return FHoldCount > 0; }
    virtual void NotifyDependents(int code, int index);
    void NotifyDataChanged();
    void RequestDataRefresh();
    virtual void PointAdded(TChartSeries* sender, int index);
    unsigned RefreshOptions() const { return FSettings.RefreshOptions; }
    void SetRefreshOptions(unsigned o) { FSettings.RefreshOptions = o; }
    TCustomSeriesList& Dependents() { return FDependents; }
    // Sources this series copies its points from (not owned).
    const std::vector<TChartSeries*>& DataSources() const { return FDataSources; }
    void AddDataSource(TChartSeries* source);
    void RemoveDataSource(TChartSeries* source);
    void UnlinkFromSources();
    // The first data source, or none.
    TChartSeries* DataSource() const { return FDataSources.empty() ? nullptr : FDataSources.front(); }
    // Replaces the data sources by source; none empties them and the series
    // keeps its points.
    void SetDataSource(TChartSeries* source);
    // Checks and links a source; returns its index in the data sources, -1
    // when it is one already. Raises ChartException without a chart, for a
    // source the chart or the function refuses, or for a cycle; the series
    // stays as it was then.
    int ConnectDataSource(TChartSeries* source, bool replace);
    // Appends without checks; manual data becomes false. -1 for none.
    int LinkSourceComponent(TChartSeries* source);
    void DropDataSource(TChartSeries* source);
    // Raises ChartException when source is this series or is fed by it.
    void ValidateSourceSeries(const TChartSeries* source) const;
    bool FunctionAcceptsSource(TChartSeries* source);
    // The function that computes the points (owned), or none.
    TPlotFunction* Function() const { return FFunction.get(); }
    // Takes the function (none frees the current one) and refills.
    void AttachFunction(std::unique_ptr<TPlotFunction> function);
    std::unique_ptr<TPlotFunction> DetachFunction();
    // Removes all points, then copies every point of source.
    void CopyPointsFrom(TChartSeries& source);
    // Points were added by hand (not by a source, function or samples).
    bool ManualData() const { return FManualData; }
    void SetManualData(bool on) { FManualData = on; }
    // Storage of the points: never, or always, whatever ManualData says.
    bool DontSaveData() const { return FDontSave; }
    void SetDontSaveData(bool on) { FDontSave = on; }
    bool ForceSaveData() const { return FForceSave; }
    void SetForceSaveData(bool on) { FForceSave = on; }
    // The stored form of the points: a flag byte (SeriesContent.h), the
    // point count, then per point the other value, the value, the colour,
    // the label (32-bit length and bytes), one double per extra list and
    // the mark position, each as the flags say. Little-endian.
    virtual void WriteData(cb::rtl::TStream& stream);
    // Replaces the points by those stored; ManualData becomes true. A bad
    // or short block raises cb::rtl::EReadError naming what was wrong and
    // leaves the series as it was.
    void ReadData(cb::rtl::TStream& stream);
    // The points are stored with the series (force-save, or manual data
    // without don't-save).
    bool StoresData() const { return FForceSave || (FManualData && !FDontSave); }
    // Points added between these two come from a source, a function or the
    // sample generator and leave ManualData alone.
    void BeginFilling() { ++FFilling; }
    void EndFilling() { --FFilling; }
    // The component that fills this series, if any (not owned).
    TPlotSeriesSource* SeriesSource() const { return FSeriesSource; }
    void SetSeriesSource(TPlotSeriesSource* source);
    bool Destroying() const { return FDestroying; }
    virtual bool CanCopyFrom(const TChartSeries* source) const { return source != this; }
    virtual int CopyPointValues(TChartSeries& source, int index);
    virtual void CopyPointFrom(TChartSeries& source, int index);
    virtual void RefillFromSeries(TChartSeries& source);
    virtual void SourcePointDeleted(TChartSeries& source, int index);

    // --- sample values ---
    int SampleCount() const { return FSampleCount; }
    void SetSampleCount(int n) { FSampleCount = n; }
    virtual int DefaultSampleCount() const { return 25; }
    // Random points in place of the series' points; 0 means SampleCount,
    // or DefaultSampleCount when that is not positive. Negative raises.
    void FillSampleValues(int count = 0);
    virtual bool MayAddSampleValues() const { return RandomSampleValuesAtRunTime(); }
    // Adds count random points (values only: at the next indexes).
    virtual void AddSampleValues(int count, bool valuesOnly);
    // The ranges the chart's other series suggest (0..count-1, 0..1000
    // without them).
    TSampleRanges SampleRanges(int count);
    // Four sample values and small marks for a gallery picture.
    virtual void PrepareGallerySample(bool coloured);
    // Random integer 0..limit-1 from the series' sample generator (0 when
    // limit is not positive).
    int SampleRandom(int limit);

    // --- colours ---
    void AssignAutomaticColor(TColor c);
    void AnnounceColorChange();

    // --- chart and axes ---
    virtual void JoinedChart();
    virtual void LeftChart();
    void ResolveAxes();
    TChartAxis* CustomHorizAxis() const { return FCustomHoriz; }
    TChartAxis* CustomVertAxis() const { return FCustomVert; }
    void SetCustomHorizAxis(TChartAxis* axis);
    void SetCustomVertAxis(TChartAxis* axis);
    // Called by an axis that goes away.
    void ForgetAxis(const TChartAxis* axis);
    TChartAxis* GetHorizAxis() const { return FHorizAxisObj; }
    TChartAxis* GetVertAxis() const { return FVertAxisObj; }
    TChartAxis* MandatoryAxis() const { return FYMandatory ? FVertAxisObj : FHorizAxisObj; }
    virtual bool UsesAxes() const { return true; }
    virtual bool IsLinkedToAxis(const TChartAxis* axis) const;
    int XToPixel(double x) const;
    int YToPixel(double y) const;
    int MandatoryToPixel(double v) const { return FYMandatory ? YToPixel(v) : XToPixel(v); }
    virtual int ScreenX(int index) { return XToPixel(PointX(index)); }
    virtual int ScreenY(int index) { return YToPixel(PointY(index)); }

    // --- depth, visible and page ranges ---
    int ZPosition() const { return FZPosition; }
    void SetZPosition(int z) { FZPosition = z; }
    // ZOrder when fixed, else the automatic order of the current paint.
    int EffectiveZOrder() const { return FSettings.ZOrder == -1 ? FAutoZOrder : FSettings.ZOrder; }
    virtual void AssignZOrder();
    virtual bool SharesZOrder();
    virtual void ComputeDepthRange();
    int StartZ() const { return FStartZ; }
    int MiddleZ() const { return FMiddleZ; }
    int EndZ() const { return FEndZ; }
    virtual void ComputeVisibleRange();
    int FirstVisible() const { return FFirstVisible; }
    int LastVisible() const { return FLastVisible; }
    // (-1, -1) without points or for a page past the last.
    std::pair<int, int> PageRange() const;
    bool CalculatesVisiblePoints() const { return FCalcVisiblePoints; }
    bool DrawsBetweenPoints() const { return FDrawBetweenPoints; }
    // False for series drawn as lines between points (one point is no line).
    bool AllowsSinglePoint() const { return FAllowSinglePoint; }

    // --- drawing hooks (the series types fill them) ---
    virtual void DrawVisiblePoints();
    virtual void DrawPoint(int index) { (void)index; }
    // Points from first to last visible, or from last down to first.
    virtual bool DrawsAscending();
    // Members of a z group draw point index in list order, or reversed.
    virtual bool GroupDrawsForward(int index);
    int FirstDrawnIndex() { return DrawsAscending() ? FFirstVisible : FLastVisible; }
    // First active series of the chart with this z order (3D groups).
    bool IsFirstOfZGroup();

    // --- marks ---
    TSeriesMarks& Marks() { return *FMarks; }
    virtual void DrawAllMarks();
    // The series types move the position before the marks draw it.
    virtual void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position);
    std::string BuildMarkText(int index);
    std::string PercentText(int index, bool withTotal);
    // Widest mark text among points whose mark is visible (0 when none).
    int WidestMarkText();
    // Texts of legend items.
    virtual std::string LegendItemText(int item, TLegendTextStyle style);
    std::function<void(TChartSeries*, int, std::string&)> OnGetMarkText;
    virtual void FireBeforeDrawValues();
    virtual void FireAfterDrawValues();
    virtual int PointAtPixel(int x, int y) {
        (void)x;
        (void)y;
        return -1;
    }
    // One legend item (index -1: the whole series) in r, over the legend's
    // colour and with its pen when it has one.
    virtual void DrawLegendItem(int index, const TRect& r, TColor legendColor, const TChartPen* legendPen);
    // The symbol in r with the pen and brush the item selected.
    virtual void PaintLegendSymbol(int index, const TRect& r);
    // Series types change the symbol's background and brush style.
    virtual void AdjustLegendBrush(int index, TColor& background, TBrushStyle& style) {
        (void)index;
        (void)background;
        (void)style;
    }
    virtual int LegendItemCount() { return PointCount(); }
    virtual int ValueIndexOfLegendItem(int item) { return item; }
    virtual TColor LegendItemColor(int item) { return PointColor(item); }
    // Gallery: the sub-styles a series type offers ("Normal" here) and
    // applying one of them (nothing here).
    virtual void ListSubGalleryStyles(const std::function<void(const std::string&)>& add) { add("Normal"); }
    virtual void ApplySubGalleryStyle(TChartSeries* series, int style) {
        (void)series;
        (void)style;
    }
    // Sets the chart's View3D.
    virtual void ApplyGallery3D(bool on);

    // Mouse over the points: only for a series with a Cursor, OnMouseEnter
    // or OnMouseLeave. True over a point (the chart shows the Cursor).
    bool UpdateMouseHover(int x, int y);
    bool MouseInside() const { return FMouseInside; }

    // --- events ---
    std::function<bool(TChartSeries*)> OnBeforeAdd;
    std::function<void(TChartSeries*, int)> OnAfterAdd;
    std::function<void(TChartSeries*)> OnClearValues;
    std::function<void(TChartSeries*)> BeforeDrawValues;
    std::function<void(TChartSeries*)> AfterDrawValues;
    std::function<void(TChartSeries*)> OnMouseEnter;
    std::function<void(TChartSeries*)> OnMouseLeave;
    // A click on a point: series, point index, button, shift, x, y.
    using TSeriesClick = std::function<void(TChartSeries*, int, TPlotMouseButton, unsigned, int, int)>;
    TSeriesClick OnClick, OnDblClick;

    // Settings, then a copy of the source's function (when this series has
    // none), its data sources or its points. ChartException when a data
    // source of the source is fed by this series (nothing changes then).
    void Assign(const TChartSeries& source);
    const TSettings& Settings() const { return FSettings; }
    // The settings alone; this series' data sources are dropped.
    void AssignSettings(const TChartSeries& source);
    // Assign from any series: each class copies what it shares with the source.
    virtual void AssignSeries(const TChartSeries& source) { Assign(source); }

protected:
    virtual void ClearStorage();
    void CreateColorList();
    int copyPointWithExtras(TChartSeries& source, int index);
    void Notification(TCustomChartElement* gone) override;
    void SetAutoZOrder(int z) { FAutoZOrder = z; }
    void SetVisibleRange(int first, int last) {
        FFirstVisible = first;
        FLastVisible = last;
    }
    void SetDepthRange(int z0, int z1) {
        FStartZ = z0;
        FEndZ = z1;
    }
    bool FCalcVisiblePoints = true;
    bool FDrawBetweenPoints = false;
    bool FAllowSinglePoint = true;
    bool FHasOwnZValues = false;
    bool FUseSeriesColor = true;
    bool FUseOtherList = true;
    // The legend colour while an item draws.
    TColor FLegendColor = clDefault;

private:
    TSettings FSettings;
    std::vector<TColor> FColors;
    bool FHasColors = false;
    std::vector<TChartSeries*> FDataSources;
    TChartAxis* FHorizAxisObj = nullptr;
    TChartAxis* FVertAxisObj = nullptr;
    TCustomSeriesList FDependents;
    TChartValueLists FValueLists;
    TChartValueList* FX = nullptr;
    TLabelsList FLabels;
    TChartValueList* FY = nullptr;
    THorizAxis FHorizAxis = aBottomAxis;
    TChartAxis* FCustomHoriz = nullptr;
    TChartAxis* FCustomVert = nullptr;
    TVertAxis FVertAxis = aLeftAxis;
    int FFirstVisible = -1;
    int FLastVisible = -1;
    int FHoldCount = 0;
    int FZPosition = 0;
    int FAutoZOrder = 0;
    int FStartZ = 0, FMiddleZ = 0, FEndZ = 0;
    TChartValueList* FMandatory = nullptr;
    TChartValueList* FOther = nullptr;
    bool FYMandatory = true;
    bool FDestroying = false;
    TPlotSeriesSource* FSeriesSource = nullptr;
    std::unique_ptr<TPlotFunction> FFunction;
    bool FManualData = false;
    bool FDontSave = false;
    bool FForceSave = false;
    int FSampleCount = 0;
    // Points added while this is positive come from a source, a function or
    // the sample generator, not by hand.
    int FFilling = 0;
    unsigned FSampleSeed = 0;
    bool FMouseInside = false;
    std::unique_ptr<TSeriesMarks> FMarks;
};

// Title; else the Name; else "Series" and the 1-based position in its
// chart; else empty.
std::string GetSeriesDisplayTitle(const TChartSeries& series);

}  // namespace cb::chart
