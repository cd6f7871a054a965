#include "app/core/query/MDXUndo.h"

namespace cb::app {

bool TMDXAxisStateList::DropTop() {
    if (FStates.empty()) return false;
    FStates.pop_back();
    return true;
}

void TMDXAxisStateList::PushCopies(const TTextList& rows, const TTextList& columns, const TTextList& measures) {
    auto state = std::make_unique<TMDXAxisState>();
    state->RowMembers = rows;
    state->ColMembers = columns;
    state->MeasuresMembers = measures;
    FStates.push_back(std::move(state));
}

std::unique_ptr<TMDXAxisState> TMDXAxisStateList::PopTop() {
    if (FStates.empty()) return nullptr;
    auto state = std::move(FStates.back());
    FStates.pop_back();
    return state;
}

int TCalcuatedMeasureList::SelectedCount() const {
    int n = 0;
    for (const auto& m : FMeasures) n += m.Selected ? 1 : 0;
    return n;
}

}  // namespace cb::app
