#include "chartexport/preview/PlotPanelsList.h"

#include "chart/panel/CustomPlotPanel.h"

#include <algorithm>

namespace cb::chartexport {

void TPlotPanelsList::Prune() const {
    FItems.erase(std::remove_if(FItems.begin(), FItems.end(), [](const auto& p) { return p.isNull(); }),
                 FItems.end());
}

int TPlotPanelsList::Count() const {
    Prune();
    return static_cast<int>(FItems.size());
}

cb::chart::TCustomPlotPanel* TPlotPanelsList::Items(int index) const {
    Prune();
    if (index < 0 || index >= static_cast<int>(FItems.size())) return nullptr;
    return FItems[static_cast<size_t>(index)].data();
}

int TPlotPanelsList::IndexOf(const cb::chart::TCustomPlotPanel* panel) const {
    Prune();
    if (!panel) return -1;
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].data() == panel) return static_cast<int>(i);
    return -1;
}

bool TPlotPanelsList::Add(cb::chart::TCustomPlotPanel* panel) {
    if (!panel || IndexOf(panel) >= 0) return false;
    FItems.emplace_back(panel);
    return true;
}

void TPlotPanelsList::MakeFirst(cb::chart::TCustomPlotPanel* panel) {
    if (!panel) return;
    Remove(panel);
    FItems.insert(FItems.begin(), panel);
}

void TPlotPanelsList::Remove(const cb::chart::TCustomPlotPanel* panel) {
    Delete(IndexOf(panel));
}

void TPlotPanelsList::Delete(int index) {
    Prune();
    if (index < 0 || index >= static_cast<int>(FItems.size())) return;
    FItems.erase(FItems.begin() + index);
}

std::vector<cb::chart::TCustomPlotPanel*> TPlotPanelsList::Panels() const {
    Prune();
    std::vector<cb::chart::TCustomPlotPanel*> out;
    out.reserve(FItems.size());
    for (const auto& p : FItems) out.push_back(p.data());
    return out;
}

}  // namespace cb::chartexport
