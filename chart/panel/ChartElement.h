#pragma once
// Base of everything that lives in a chart's lists (series and tools): the
// Active switch, an owned pen and brush, the chart it belongs to, and
// free notifications between elements.
#include "chart/style/ChartBrush.h"
#include "chart/style/ChartPen.h"
#include "platform/rtl/Property.h"

#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

class TCustomAxisPanel;

class TCustomChartElement {
public:
    TCustomChartElement();
    TCustomChartElement(const TCustomChartElement&) = delete;
    TCustomChartElement& operator=(const TCustomChartElement&) = delete;
    virtual ~TCustomChartElement();

    bool Active() const { return FActive; }
    virtual void SetActive(bool on);
    TChartBrush& Brush() { return *FBrush; }
    TChartPen& Pen() { return *FPen; }
    virtual void SetPen(const TChartPen& pen) { FPen->Assign(pen); }
    TCustomAxisPanel* ParentChart() const { return FParentChart; }
    // Series and tools also leave the old chart's list and join the new one.
    virtual void SetParentChart(TCustomAxisPanel* chart) { FParentChart = chart; }
    // Made for the chart's own use; not handed out as a stored child.
    bool Internal() const { return FInternal; }
    void SetInternal(bool on) { FInternal = on; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& n) { FName = n; }
    long Tag() const { return FTag; }
    void SetTag(long t) { FTag = t; }

    virtual void ElementChanged() { InvalidateChart(); }
    virtual std::string EditorClassName() const { return {}; }
    void InvalidateChart();

    template <class T>
    void StoreAndRepaint(T& field, const T& value) {
        cb::rtl::SetProperty(field, value, [this] { InvalidateChart(); });
    }
    void StoreBooleanAndRepaint(bool& f, bool v) { StoreAndRepaint(f, v); }
    void StoreColorAndRepaint(TColor& f, TColor v) { StoreAndRepaint(f, v); }
    void StoreIntegerAndRepaint(int& f, int v) { StoreAndRepaint(f, v); }
    void StoreDoubleAndRepaint(double& f, double v) { StoreAndRepaint(f, v); }
    void StoreStringAndRepaint(std::string& f, const std::string& v) { StoreAndRepaint(f, v); }

    // Active (plain), Brush, Pen and Tag.
    void Assign(const TCustomChartElement& source);

    // other hears Notification(this) when this element is destroyed.
    void FreeNotification(TCustomChartElement* other);
    void RemoveFreeNotification(TCustomChartElement* other);

protected:
    // gone is being destroyed: drop every reference to it.
    virtual void Notification(TCustomChartElement* gone) { (void)gone; }
    void SetParentChartField(TCustomAxisPanel* chart) { FParentChart = chart; }
    bool FActive = true;

private:
    std::unique_ptr<TChartBrush> FBrush;
    TCustomAxisPanel* FParentChart = nullptr;
    std::unique_ptr<TChartPen> FPen;
    bool FInternal = false;
    std::string FName;
    long FTag = 0;
    std::vector<TCustomChartElement*> FNotifies;    // told when this goes
    std::vector<TCustomChartElement*> FNotifiedBy;  // whose going this hears of
};

}  // namespace cb::chart
