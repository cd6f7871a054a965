#pragma once
// The data side of a series: points as parallel value lists with optional
// colours and labels, adding, deleting and clearing, the automatic colour,
// axis binding, dependent series, hold and release of updates, z order,
// and the visible and page ranges.
#include "chart/ChartElement.h"
#include "chart/ChartValueList.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cb::chart {

class TChartAxis;
class TChartSeries;

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// What a series tells the series that depend on it.
enum TSeriesDependencyCode { dcCleared = 0, dcAdded = 1, dcDeleted = 2, dcRefreshed = 3, dcModified = 4 };

// Which changes dependents follow.
enum TSeriesRefreshOption : unsigned {
    roFollowDeletes = 1,
    roFollowModifications = 2,
    roFollowInserts = 4,
    roFollowClears = 8,
};

// Series in order; does not own them.
class TCustomSeriesList {
public:
    virtual ~TCustomSeriesList() = default;
    int Count() const { return int(fItems.size()); }
    TChartSeries* SeriesAt(int index) const;
    TChartSeries* operator[](int index) const { return SeriesAt(index); }
    int IndexOf(const TChartSeries* s) const;
    void Add(TChartSeries* s) { fItems.push_back(s); }
    void Insert(int index, TChartSeries* s);
    void Remove(const TChartSeries* s);
    void Delete(int index);
    void Exchange(int i, int j);
    void Clear() { fItems.clear(); }
    const std::vector<TChartSeries*>& Items() const { return fItems; }

protected:
    std::vector<TChartSeries*> fItems;
};

// One optional text per point; shorter than the points until a label is given.
class TLabelsList {
public:
    int Count() const { return int(fItems.size()); }
    bool Empty() const { return fItems.empty(); }
    // Empty beyond the end.
    std::string Label(int index) const;
    void SetLabel(int index, const std::string& text);
    void Insert(int index, const std::string& text);
    void Delete(int index, int n = 1);
    void Exchange(int i, int j);
    void Clear() { fItems.clear(); }

private:
    std::vector<std::string> fItems;
};

class TCustomChartSeries : public TCustomChartElement {
public:
    bool ShowInLegend() const { return fShowInLegend; }
    void SetShowInLegend(bool on) { StoreBooleanAndRepaint(fShowInLegend, on); }
    const std::string& Title() const { return fTitle; }
    // Repaints on change; always broadcasts series event 2.
    void SetTitle(const std::string& title);
    const std::string& Identifier() const { return fIdentifier; }
    void SetIdentifier(const std::string& id) { fIdentifier = id; }
    unsigned Style() const { return fStyle; }
    void SetStyle(unsigned style) { fStyle = style & 0x3F; }

    // Extra pixels beside the axis range.
    virtual void HorizontalMargins(int& left, int& right) { left = right = 0; }
    virtual void VerticalMargins(int& top, int& bottom) { top = bottom = 0; }
    virtual void PrepareForPaint() {}
    // Broadcasts series event 5 after the store.
    void SetActive(bool on) override;
    void Assign(const TCustomChartSeries& source);

private:
    bool fShowInLegend = true;
    std::string fTitle;
    std::string fIdentifier;
    unsigned fStyle = 0;
};

class TChartSeries : public TCustomChartSeries {
public:
    TChartSeries();
    ~TChartSeries() override;

    // --- published ---
    bool ColorEachPoint() const { return fColorEachPoint; }
    virtual void SetColorEachPoint(bool on) { StoreBooleanAndRepaint(fColorEachPoint, on); }
    const std::string& ColorSource() const { return fColorSource; }
    void SetColorSource(const std::string& s);
    int Cursor() const { return fCursor; }
    void SetCursor(int c) { fCursor = c; }
    int Depth() const { return fDepth; }
    void SetDepth(int d) { StoreIntegerAndRepaint(fDepth, d); }
    THorizAxis HorizAxis() const { return fHorizAxis; }
    void SetHorizAxis(THorizAxis a);
    TVertAxis VertAxis() const { return fVertAxis; }
    void SetVertAxis(TVertAxis a);
    const std::string& PercentFormat() const { return fPercentFormat; }
    void SetPercentFormat(const std::string& f) { StoreStringAndRepaint(fPercentFormat, f); }
    const std::string& ValueFormat() const { return fValueFormat; }
    void SetValueFormat(const std::string& f) { StoreStringAndRepaint(fValueFormat, f); }
    const std::string& XLabelsSource() const { return fXLabelsSource; }
    void SetXLabelsSource(const std::string& s);
    // The stored colour, or the automatic one when stored is automatic.
    TColor SeriesColor() const { return fColor == clDefault ? fAutoColor : fColor; }
    TColor StoredSeriesColor() const { return fColor; }
    TColor AutomaticColor() const { return fAutoColor; }
    virtual void SetSeriesColor(TColor c);
    int ZOrder() const { return fZOrder; }
    void SetZOrder(int z) { StoreIntegerAndRepaint(fZOrder, z); }
    void SetParentChart(TCustomAxisPanel* chart) override;

    // --- value lists ---
    TChartValueLists& ValueLists() { return fValueLists; }
    TChartValueList& XValues() { return *fX; }
    TChartValueList& YValues() { return *fY; }
    // The value list (Y for usual series) and the position list.
    TChartValueList& MandatoryList() { return *fMandatory; }
    TChartValueList& OtherList() { return *fOther; }
    bool YMandatory() const { return fYMandatory; }
    // X becomes the value list; for series drawn horizontally.
    void MakeXMandatory();
    // Copies Order, DateTime and ValueSource into the list, then repaints.
    void SetXValues(const TChartValueList& source);
    void SetYValues(const TChartValueList& source);
    TLabelsList& Labels() { return fLabels; }
    bool HasColorList() const { return fHasColors; }

    // --- points ---
    int PointCount() const { return fX->ValueCount(); }
    virtual int AddValue(double value, const std::optional<std::string>& label = std::nullopt, TColor color = clDefault);
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
    std::string PointLabel(int index) const { return fLabels.Label(index); }
    void SortByMandatoryOrder();
    virtual double PointX(int index) { return fX->Value(index); }
    virtual double PointY(int index) { return fY->Value(index); }
    virtual double MandatoryValue(int index) { return fMandatory->Value(index); }
    virtual double StackValue(int index) { return MandatoryValue(index); }
    virtual TChartValueList& ValueListByName(const std::string& name);
    virtual TChartValueList* ValueListForAxis(const TChartAxis* axis);

    // --- statistics ---
    virtual double HighestX() { return fX->Highest(); }
    virtual double HighestY() { return fY->Highest(); }
    virtual double HighestZ() { return EffectiveZOrder(); }
    virtual double LowestX() { return fX->Lowest(); }
    virtual double LowestY() { return fY->Lowest(); }
    virtual double LowestZ() { return EffectiveZOrder(); }
    // Series whose points carry their own depth.
    bool HasOwnZValues() const { return fHasOwnZValues; }

    // --- updates and dependents ---
    void HoldUpdates() { ++fHoldCount; }
    void ReleaseUpdates();
    bool UpdatesHeld() const { return fHoldCount > 0; }
    virtual void NotifyDependents(int code, int index);
    void NotifyDataChanged();
    void RequestDataRefresh();
    virtual void PointAdded(TChartSeries* sender, int index);
    unsigned RefreshOptions() const { return fRefreshOptions; }
    void SetRefreshOptions(unsigned o) { fRefreshOptions = o; }
    TCustomSeriesList& Dependents() { return fDependents; }
    // Sources this series copies its points from (not owned).
    const std::vector<TChartSeries*>& DataSources() const { return fDataSources; }
    void AddDataSource(TChartSeries* source);
    void RemoveDataSource(TChartSeries* source);
    void UnlinkFromSources();
    virtual bool CanCopyFrom(const TChartSeries* source) const { return source != this; }
    virtual int CopyPointValues(TChartSeries& source, int index);
    virtual void CopyPointFrom(TChartSeries& source, int index);
    virtual void RefillFromSeries(TChartSeries& source);
    virtual void SourcePointDeleted(TChartSeries& source, int index);

    // --- colours ---
    void AssignAutomaticColor(TColor c);
    void AnnounceColorChange();

    // --- chart and axes ---
    virtual void JoinedChart();
    virtual void LeftChart();
    void ResolveAxes();
    TChartAxis* CustomHorizAxis() const { return fCustomHoriz; }
    TChartAxis* CustomVertAxis() const { return fCustomVert; }
    void SetCustomHorizAxis(TChartAxis* axis);
    void SetCustomVertAxis(TChartAxis* axis);
    // Called by an axis that goes away.
    void ForgetAxis(const TChartAxis* axis);
    TChartAxis* GetHorizAxis() const { return fHorizAxisObj; }
    TChartAxis* GetVertAxis() const { return fVertAxisObj; }
    TChartAxis* MandatoryAxis() const { return fYMandatory ? fVertAxisObj : fHorizAxisObj; }
    virtual bool UsesAxes() const { return true; }
    virtual bool IsLinkedToAxis(const TChartAxis* axis) const;
    int XToPixel(double x) const;
    int YToPixel(double y) const;
    int MandatoryToPixel(double v) const { return fYMandatory ? YToPixel(v) : XToPixel(v); }
    virtual int ScreenX(int index) { return XToPixel(PointX(index)); }
    virtual int ScreenY(int index) { return YToPixel(PointY(index)); }

    // --- depth, visible and page ranges ---
    int ZPosition() const { return fZPosition; }
    void SetZPosition(int z) { fZPosition = z; }
    // ZOrder when fixed, else the automatic order of the current paint.
    int EffectiveZOrder() const { return fZOrder == -1 ? fAutoZOrder : fZOrder; }
    virtual void AssignZOrder();
    virtual bool SharesZOrder();
    virtual void ComputeDepthRange();
    int StartZ() const { return fStartZ; }
    int MiddleZ() const { return fMiddleZ; }
    int EndZ() const { return fEndZ; }
    virtual void ComputeVisibleRange();
    int FirstVisible() const { return fFirstVisible; }
    int LastVisible() const { return fLastVisible; }
    // (-1, -1) without points or for a page past the last.
    std::pair<int, int> PageRange() const;
    bool CalculatesVisiblePoints() const { return fCalcVisiblePoints; }
    bool DrawsBetweenPoints() const { return fDrawBetweenPoints; }

    // --- drawing hooks (the series types fill them) ---
    virtual void DrawVisiblePoints();
    virtual void DrawPoint(int index) { (void)index; }
    virtual void FireBeforeDrawValues();
    virtual void FireAfterDrawValues();
    virtual int PointAtPixel(int x, int y) { (void)x; (void)y; return -1; }
    virtual int LegendItemCount() { return PointCount(); }
    virtual int ValueIndexOfLegendItem(int item) { return item; }
    virtual TColor LegendItemColor(int item) { return PointColor(item); }
    // Gallery: the sub-styles a series type offers ("Normal" here) and
    // applying one of them (nothing here).
    virtual void ListSubGalleryStyles(const std::function<void(const std::string&)>& add) { add("Normal"); }
    virtual void ApplySubGalleryStyle(TChartSeries* series, int style) { (void)series; (void)style; }
    // Sets the chart's View3D.
    virtual void ApplyGallery3D(bool on);

    // Mouse over the points: only for a series with a Cursor, OnMouseEnter
    // or OnMouseLeave. True over a point (the chart shows the Cursor).
    bool UpdateMouseHover(int x, int y);
    bool MouseInside() const { return fMouseInside; }

    // --- events ---
    std::function<bool(TChartSeries*)> OnBeforeAdd;
    std::function<void(TChartSeries*, int)> OnAfterAdd;
    std::function<void(TChartSeries*)> OnClearValues;
    std::function<void(TChartSeries*)> BeforeDrawValues;
    std::function<void(TChartSeries*)> AfterDrawValues;
    std::function<void(TChartSeries*)> OnMouseEnter;
    std::function<void(TChartSeries*)> OnMouseLeave;

    void Assign(const TChartSeries& source);

protected:
    virtual void ClearStorage();
    void CreateColorList();
    int copyPointWithExtras(TChartSeries& source, int index);
    void Notification(TCustomChartElement* gone) override;
    bool fCalcVisiblePoints = true;
    bool fDrawBetweenPoints = false;
    bool fAllowSinglePoint = true;
    bool fHasOwnZValues = false;
    bool fUseSeriesColor = true;
    bool fUseOtherList = true;

private:
    TColor fColor = clDefault;
    bool fColorEachPoint = false;
    std::vector<TColor> fColors;
    bool fHasColors = false;
    std::string fColorSource;
    int fCursor = 0;
    std::vector<TChartSeries*> fDataSources;
    int fDepth = -1;
    TChartAxis* fHorizAxisObj = nullptr;
    TChartAxis* fVertAxisObj = nullptr;
    std::string fXLabelsSource;
    TCustomSeriesList fDependents;
    std::string fPercentFormat;
    std::string fValueFormat;
    TChartValueLists fValueLists;
    TChartValueList* fX = nullptr;
    TLabelsList fLabels;
    TChartValueList* fY = nullptr;
    THorizAxis fHorizAxis = aBottomAxis;
    TChartAxis* fCustomHoriz = nullptr;
    TChartAxis* fCustomVert = nullptr;
    int fZOrder = -1;
    TVertAxis fVertAxis = aLeftAxis;
    unsigned fRefreshOptions = roFollowDeletes | roFollowModifications | roFollowInserts | roFollowClears;
    TColor fAutoColor = clDefault;
    int fFirstVisible = -1;
    int fLastVisible = -1;
    int fHoldCount = 0;
    int fZPosition = 0;
    int fAutoZOrder = 0;
    int fStartZ = 0, fMiddleZ = 0, fEndZ = 0;
    TChartValueList* fMandatory = nullptr;
    TChartValueList* fOther = nullptr;
    bool fYMandatory = true;
    bool fDestroying = false;
    bool fMouseInside = false;
};

// Title; else the Name; else "Series" and the 1-based position in its
// chart; else empty.
std::string GetSeriesDisplayTitle(const TChartSeries& series);

} // namespace cb::chart
