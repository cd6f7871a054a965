#include "chart/ChartElement.h"

#include "chart/CustomAxisPanel.h"

#include <algorithm>

namespace cb::chart {

TCustomChartElement::TCustomChartElement()
{
    fBrush = std::make_unique<TChartBrush>([this] { ElementChanged(); });
    fPen = std::make_unique<TChartPen>([this] { ElementChanged(); });
}

TCustomChartElement::~TCustomChartElement()
{
    const auto notifies = fNotifies;
    fNotifies.clear();
    for (TCustomChartElement* e : notifies) {
        e->fNotifiedBy.erase(std::remove(e->fNotifiedBy.begin(), e->fNotifiedBy.end(), this), e->fNotifiedBy.end());
        e->Notification(this);
    }
    for (TCustomChartElement* e : fNotifiedBy)
        e->fNotifies.erase(std::remove(e->fNotifies.begin(), e->fNotifies.end(), this), e->fNotifies.end());
}

void TCustomChartElement::SetActive(bool on) { StoreBooleanAndRepaint(fActive, on); }

void TCustomChartElement::InvalidateChart()
{
    if (fParentChart)
        fParentChart->Invalidate();
}

void TCustomChartElement::Assign(const TCustomChartElement& source)
{
    fActive = source.fActive;
    fBrush->Assign(*source.fBrush);
    SetPen(*source.fPen);
    fTag = source.fTag;
}

void TCustomChartElement::FreeNotification(TCustomChartElement* other)
{
    if (!other || other == this || std::find(fNotifies.begin(), fNotifies.end(), other) != fNotifies.end())
        return;
    fNotifies.push_back(other);
    other->fNotifiedBy.push_back(this);
}

void TCustomChartElement::RemoveFreeNotification(TCustomChartElement* other)
{
    if (!other)
        return;
    fNotifies.erase(std::remove(fNotifies.begin(), fNotifies.end(), other), fNotifies.end());
    other->fNotifiedBy.erase(std::remove(other->fNotifiedBy.begin(), other->fNotifiedBy.end(), this),
                             other->fNotifiedBy.end());
}

} // namespace cb::chart
