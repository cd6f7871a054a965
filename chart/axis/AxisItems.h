#pragma once
// The custom labels of an axis and the frame of its automatic labels.
#include "chart/core/PlotTypes.h"
#include "chart/style/PlotFont.h"

#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

// One custom label.
class TAxisItem {
public:
    explicit TAxisItem(TChangeEvent onChange = {});
    double Value() const { return FValue; }
    void SetValue(double v);
    const std::string& Text() const { return FText; }
    void SetText(const std::string& t);
    bool Visible() const { return FVisible; }
    void SetVisible(bool on);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool on) { FTransparent = on; }
    TPlotFont& Font() { return *FFont; }

private:
    TChangeEvent FOnChange;
    double FValue = 0;
    std::string FText;
    bool FVisible = true;
    bool FTransparent = true;
    std::unique_ptr<TPlotFont> FFont;
};

// The frame and font every automatic label of an axis is drawn with.
class TAxisLabelFrame {
public:
    explicit TAxisLabelFrame(TChangeEvent onChange);
    bool Visible() const { return FVisible; }
    void SetVisible(bool on);
    TPlotFont& Font() { return *FFont; }
    const TPlotFont& Font() const { return *FFont; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool on) { FTransparent = on; }

private:
    TChangeEvent FOnChange;
    bool FVisible = true;
    bool FTransparent = true;
    std::unique_ptr<TPlotFont> FFont;
};

// The custom labels of an axis; with at least one item the axis shows them
// and no automatic labels.
class TAxisItems {
public:
    explicit TAxisItems(TChangeEvent onChange);
    ~TAxisItems();
    int Count() const { return int(FItems.size()); }
    TAxisItem* ItemAt(int index) const;
    TAxisItem* AddLabel(double value, const std::string& text = {});
    void Delete(int index);
    void ClearItems();
    void CopyItems(const TAxisItems& other);
    TAxisLabelFrame& LabelFrame() { return FFrame; }
    const TAxisLabelFrame& LabelFrame() const { return FFrame; }

private:
    TChangeEvent FOnChange;
    std::vector<std::unique_ptr<TAxisItem>> FItems;
    TAxisLabelFrame FFrame;
};

}  // namespace cb::chart
