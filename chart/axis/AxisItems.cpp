#include "chart/axis/AxisItems.h"

#include "chart/core/PlotExceptions.h"
#include "platform/rtl/Property.h"

#include <string>

namespace cb::chart {

TAxisItem::TAxisItem(TChangeEvent onChange) : FOnChange(std::move(onChange)) {
    FFont = std::make_unique<TPlotFont>([this] {
        if (FOnChange) FOnChange();
    });
}

void TAxisItem::SetValue(double v) {
    cb::rtl::SetProperty(FValue, v, FOnChange);
}

void TAxisItem::SetText(const std::string& t) {
    cb::rtl::SetProperty(FText, t, FOnChange);
}

void TAxisItem::SetVisible(bool on) {
    cb::rtl::SetProperty(FVisible, on, FOnChange);
}

TAxisLabelFrame::TAxisLabelFrame(TChangeEvent onChange) : FOnChange(std::move(onChange)) {
    FFont = std::make_unique<TPlotFont>([this] {
        if (FOnChange) FOnChange();
    });
}

void TAxisLabelFrame::SetVisible(bool on) {
    cb::rtl::SetProperty(FVisible, on, FOnChange);
}

TAxisItems::TAxisItems(TChangeEvent onChange) : FOnChange(onChange), FFrame(onChange) {}
TAxisItems::~TAxisItems() = default;

TAxisItem* TAxisItems::ItemAt(int index) const {
    if (index < 0 || index >= Count())
        throw ChartException("Axis label index " + std::to_string(index) + " out of bounds.");
    return FItems[std::size_t(index)].get();
}

TAxisItem* TAxisItems::AddLabel(double value, const std::string& text) {
    FItems.push_back(std::make_unique<TAxisItem>(FOnChange));
    TAxisItem* item = FItems.back().get();
    item->SetValue(value);
    item->SetText(text);
    if (FOnChange) FOnChange();
    return item;
}

void TAxisItems::Delete(int index) {
    ItemAt(index);
    FItems.erase(FItems.begin() + index);
    if (FOnChange) FOnChange();
}

void TAxisItems::ClearItems() {
    if (FItems.empty()) return;
    FItems.clear();
    if (FOnChange) FOnChange();
}

void TAxisItems::CopyItems(const TAxisItems& other) {
    FItems.clear();
    for (const auto& it : other.FItems) {
        TAxisItem* n = AddLabel(it->Value(), it->Text());
        n->SetVisible(it->Visible());
        n->SetTransparent(it->Transparent());
        n->Font().Assign(it->Font());
    }
}

}  // namespace cb::chart
