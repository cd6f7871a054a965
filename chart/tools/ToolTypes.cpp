#include "chart/tools/ToolTypes.h"

#include <algorithm>

namespace cb::chart {

int TPlotToolTypes::IndexOf(std::type_index type) const {
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->Type == type) return int(i);
    return -1;
}

void TPlotToolTypes::Remove(std::type_index type) {
    FItems.erase(std::remove_if(FItems.begin(), FItems.end(), [&](const TToolClass* c) { return c->Type == type; }),
                 FItems.end());
}

TPlotToolTypes& ToolTypes() {
    static TPlotToolTypes types;
    return types;
}

void RegisterToolTypes(const std::vector<const TToolClass*>& classes) {
    for (const TToolClass* c : classes)
        if (c && ToolTypes().IndexOf(c->Type) < 0) ToolTypes().Append(c);
}

void UnregisterToolTypes(const std::vector<const TToolClass*>& classes) {
    for (const TToolClass* c : classes)
        if (c) ToolTypes().Remove(c->Type);
}

}  // namespace cb::chart
