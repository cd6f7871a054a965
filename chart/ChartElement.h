#pragma once
// Base of everything that lives in a chart's lists (series and tools): the
// Active switch, an owned pen and brush, the chart it belongs to, and
// free notifications between elements.
#include "chart/ChartBrush.h"
#include "chart/ChartPen.h"

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

    bool Active() const { return fActive; }
    virtual void SetActive(bool on);
    TChartBrush& Brush() { return *fBrush; }
    TChartPen& Pen() { return *fPen; }
    virtual void SetPen(const TChartPen& pen) { fPen->Assign(pen); }
    TCustomAxisPanel* ParentChart() const { return fParentChart; }
    // Series and tools also leave the old chart's list and join the new one.
    virtual void SetParentChart(TCustomAxisPanel* chart) { fParentChart = chart; }
    // Made for the chart's own use; not handed out as a stored child.
    bool Internal() const { return fInternal; }
    void SetInternal(bool on) { fInternal = on; }
    const std::string& Name() const { return fName; }
    void SetName(const std::string& n) { fName = n; }
    long Tag() const { return fTag; }
    void SetTag(long t) { fTag = t; }

    virtual void ElementChanged() { InvalidateChart(); }
    virtual std::string EditorClassName() const { return {}; }
    void InvalidateChart();

    template <class T> void StoreAndRepaint(T& field, const T& value)
    {
        if (field != value) {
            field = value;
            InvalidateChart();
        }
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
    void SetParentChartField(TCustomAxisPanel* chart) { fParentChart = chart; }
    bool fActive = true;

private:
    std::unique_ptr<TChartBrush> fBrush;
    TCustomAxisPanel* fParentChart = nullptr;
    std::unique_ptr<TChartPen> fPen;
    bool fInternal = false;
    std::string fName;
    long fTag = 0;
    std::vector<TCustomChartElement*> fNotifies;    // told when this goes
    std::vector<TCustomChartElement*> fNotifiedBy;  // whose going this hears of
};

} // namespace cb::chart
