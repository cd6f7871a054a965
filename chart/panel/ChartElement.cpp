#include "chart/panel/ChartElement.h"

#include "chart/panel/CustomAxisPanel.h"

#include <algorithm>

namespace cb::chart {

TCustomChartElement::TCustomChartElement() {
    FBrush = std::make_unique<TChartBrush>([this] { ElementChanged(); });
    FPen = std::make_unique<TChartPen>([this] { ElementChanged(); });
}

TCustomChartElement::~TCustomChartElement() {
    const auto notifies = FNotifies;
    FNotifies.clear();
    for (TCustomChartElement* e : notifies) {
        e->FNotifiedBy.erase(std::remove(e->FNotifiedBy.begin(), e->FNotifiedBy.end(), this), e->FNotifiedBy.end());
        e->Notification(this);
    }
    for (TCustomChartElement* e : FNotifiedBy)
        e->FNotifies.erase(std::remove(e->FNotifies.begin(), e->FNotifies.end(), this), e->FNotifies.end());
}

void TCustomChartElement::SetActive(bool on) {
    StoreBooleanAndRepaint(FActive, on);
}

void TCustomChartElement::InvalidateChart() {
    if (FParentChart) FParentChart->Invalidate();
}

void TCustomChartElement::Assign(const TCustomChartElement& source) {
    FActive = source.FActive;
    FBrush->Assign(*source.FBrush);
    SetPen(*source.FPen);
    FTag = source.FTag;
}

void TCustomChartElement::FreeNotification(TCustomChartElement* other) {
    if (!other || other == this || std::find(FNotifies.begin(), FNotifies.end(), other) != FNotifies.end()) return;
    FNotifies.push_back(other);
    other->FNotifiedBy.push_back(this);
}

void TCustomChartElement::RemoveFreeNotification(TCustomChartElement* other) {
    if (!other) return;
    FNotifies.erase(std::remove(FNotifies.begin(), FNotifies.end(), other), FNotifies.end());
    other->FNotifiedBy.erase(std::remove(other->FNotifiedBy.begin(), other->FNotifiedBy.end(), this),
                             other->FNotifiedBy.end());
}

}  // namespace cb::chart
