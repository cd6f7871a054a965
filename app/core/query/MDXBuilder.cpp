// The list operations and the history of the query model.
#include "app/core/query/MDXBuilder.h"

#include "app/core/cube/CubeModel.h"

#include <algorithm>

namespace cb::app {

namespace {

bool BeginsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

template <class Pred>
void EraseIf(TTextList& list, Pred pred) {
    list.erase(std::remove_if(list.begin(), list.end(), pred), list.end());
}

void InsertAt(TTextList& list, int index, const std::string& entry) {
    index = std::clamp(index, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + index, entry);
}

}  // namespace

TMDXBuilder::TMDXBuilder(TAppContext context) : FContext(context) {}
TMDXBuilder::~TMDXBuilder() = default;

std::string TMDXBuilder::FirstBracketedPart(const std::string& entry) {
    auto open = entry.find('[');
    auto close = entry.find(']');
    if (open == std::string::npos || close == std::string::npos || close < open) return std::string();
    return entry.substr(open, close - open + 1);
}

std::string TMDXBuilder::EntryHead(const std::string& entry) {
    auto close = entry.find(']');
    return close == std::string::npos ? entry : entry.substr(0, close + 1);
}

TTextList* TMDXBuilder::AxisList(int axis) {
    switch (axis) {
    case axRows:
        return &Rows;
    case axColumns:
        return &Columns;
    case axMeasures:
        return &Measures;
    default:
        return nullptr;
    }
}

bool TMDXBuilder::IsOnOtherAxis(const std::string& key, int axis) const {
    if (key.empty()) return false;
    const std::pair<int, const TTextList*> lists[] = {{axColumns, &Columns}, {axRows, &Rows}, {axMeasures, &Measures}};
    for (const auto& [code, list] : lists) {
        if (code == axis) continue;
        for (const auto& e : *list)
            if (BeginsWith(e, key)) return true;
    }
    return false;
}

bool TMDXBuilder::HasDescendants(const std::string& text) const {
    const std::string prefix = text + ".";
    for (const TTextList* list : {&Columns, &Rows, &Measures})
        for (const auto& e : *list)
            if (BeginsWith(e, prefix)) return true;
    return false;
}

void TMDXBuilder::RemoveDescendants(const std::string& text) {
    const std::string prefix = text + ".";
    for (TTextList* list : {&Columns, &Rows, &Measures})
        EraseIf(*list, [&](const std::string& e) { return BeginsWith(e, prefix); });
}

void TMDXBuilder::RemoveExact(const std::string& text) {
    for (TTextList* list : {&Columns, &Rows, &Measures})
        EraseIf(*list, [&](const std::string& e) { return e == text; });
}

void TMDXBuilder::RemoveSetEntries(const std::string& text) {
    RemoveDescendants(text);
    RemoveExact(text);
}

void TMDXBuilder::RemoveFromMeasures(const std::string& text) {
    EraseIf(Measures, [&](const std::string& e) { return e == text; });
}

int TMDXBuilder::LastIndexWithin(const std::string& text, int axis) {
    const TTextList* list = AxisList(axis);
    if (!list) return -1;
    for (int i = static_cast<int>(list->size()) - 1; i >= 0; --i)
        if (text.find((*list)[static_cast<size_t>(i)]) != std::string::npos) return i;
    return static_cast<int>(list->size()) - 1;
}

bool TMDXBuilder::AxisHasDimension(const std::string& key, const TTextList& list) {
    return std::any_of(list.begin(), list.end(), [&](const std::string& e) { return FirstBracketedPart(e) == key; });
}

std::string TMDXBuilder::TakeDimensionRun(TTextList& list, const std::string& key, int& start) {
    auto first =
        std::find_if(list.begin(), list.end(), [&](const std::string& e) { return FirstBracketedPart(e) == key; });
    if (first == list.end()) {
        start = 0;
        return "{}";
    }
    auto last = std::find_if(first, list.end(), [&](const std::string& e) { return FirstBracketedPart(e) != key; });
    std::string joined;
    for (auto it = first; it != last; ++it) {
        if (it != first) joined += ",";
        joined += *it;
    }
    start = static_cast<int>(first - list.begin());
    list.erase(first, last);
    return joined;
}

template <class F>
bool TMDXBuilder::Step(bool push, F&& change) {
    TMDXAxisState before;
    before.RowMembers = Rows;
    before.ColMembers = Columns;
    before.MeasuresMembers = Measures;
    change();
    const bool changed =
        Rows != before.RowMembers || Columns != before.ColMembers || Measures != before.MeasuresMembers;
    if (changed) {
        Changed = true;
        if (push) {
            FRedo.Clear();
            FUndo.Push(before.RowMembers, before.ColMembers, before.MeasuresMembers);
        }
    }
    return changed;
}

template <class F>
bool TMDXBuilder::PlaceOnAxis(const std::string& set, int axis, bool asOneStep, F&& place) {
    if (!AxisList(axis)) return false;
    Step(asOneStep, [&] {
        const std::string key = FirstBracketedPart(set);
        if (IsOnOtherAxis(key, axis)) RemoveSetEntries(key);
        place(key, *AxisList(axis));
    });
    return true;
}

bool TMDXBuilder::AddToAxis(const std::string& set, int axis, bool asOneStep) {
    return PlaceOnAxis(set, axis, asOneStep, [&](const std::string&, TTextList& list) {
        RemoveFromMeasures(set);
        InsertAt(list, LastIndexWithin(EntryHead(set), axis) + 1, set);
    });
}

bool TMDXBuilder::AddToAxisWithUnion(const std::string& set, int axis, bool asOneStep) {
    return PlaceOnAxis(set, axis, asOneStep, [&](const std::string& key, TTextList& list) {
        if (!key.empty() && AxisHasDimension(key, list)) {
            int start = 0;
            std::string run = TakeDimensionRun(list, key, start);
            InsertAt(list, start, "HIERARCHIZE(UNION({" + run + "},{" + set + "}))");
        } else {
            InsertAt(list, LastIndexWithin(EntryHead(set), axis) + 1, set);
        }
    });
}

bool TMDXBuilder::AppendToAxis(const TTextList& sets, int axis) {
    TTextList* list = AxisList(axis);
    if (!list) return false;
    list->insert(list->end(), sets.begin(), sets.end());
    if (!sets.empty()) Changed = true;
    return true;
}

void TMDXBuilder::RemoveSet(const std::string& set, bool asOneStep) {
    Step(asOneStep, [&] { RemoveSetEntries(set); });
}

bool TMDXBuilder::RemoveMeasure(const std::string& measure, bool asOneStep) {
    return Step(asOneStep, [&] { RemoveFromMeasures(measure); });
}

bool TMDXBuilder::IsLeafMember(const std::string& uniqueName) const {
    if (!FCubeDef) return false;
    try {
        const std::string key = FirstBracketedPart(uniqueName);
        for (const auto& dim : FCubeDef->Dimensions()) {
            if (dim->UniqueName() != key) continue;
            for (const auto& h : dim->Hierarchies())
                for (const auto& level : h->Levels())
                    for (const auto& m : level->Members())
                        if (m->UniqueName() == uniqueName) return m->ChildCount() == 0;
        }
    } catch (const std::exception&) {}
    return false;
}

bool TMDXBuilder::ToggleDrillDown(const std::string& member) {
    try {
        if (HasDescendants(member)) return Step(true, [&] { RemoveDescendants(member); });
        const int axis = GetAxisOf(member);
        if (axis != axRows && axis != axColumns) return false;
        if (IsLeafMember(member)) return false;
        return Step(true, [&] { InsertAt(*AxisList(axis), LastIndexWithin(member, axis) + 1, member + ".Children"); });
    } catch (const std::exception&) {
        return false;
    }
}

void TMDXBuilder::ClearRowsAndColumns() {
    Step(true, [&] {
        Rows.clear();
        Columns.clear();
    });
}

bool TMDXBuilder::SwapRowsAndColumns() {
    try {
        if (Columns.empty()) {
            if (!FContext.ConfirmYesNo("This option swaps the row and column data.  With no column data this "
                                       "request will result in an empty display.\rDo you wish to continue?"))
                return false;
        }
        const bool changed = Changed;
        Step(true, [&] { std::swap(Rows, Columns); });
        Changed = changed;  // swapped lists need no normalising
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TMDXBuilder::ResetToDefaultQuery() {
    if (FDefaultState && FDefaultState->RowMembers == Rows && FDefaultState->ColMembers == Columns &&
        FDefaultState->MeasuresMembers == Measures && FCalculated.Count() == 0)
        return true;  // already the default view
    bool ok = false;
    Step(true, [&] { ok = BuildDefaultQuery(); });
    // The default query normalised the lists (or failed doing so): either
    // way composing need not run it again.
    Changed = false;
    return ok;
}

void TMDXBuilder::SetCubeDef(std::shared_ptr<cb::olap::CubeDef> cubeDef) {
    if (cubeDef == FCubeDef) return;
    FCubeDef = std::move(cubeDef);
    FResult.reset();
    FDefaultState.reset();
    BuildDefaultQuery();
    Changed = false;
    ClearUndoRedo();
}

void TMDXBuilder::SetCubeName(const std::string& name) {
    if (name != CubeName) {
        CubeName = name;
        FResult.reset();
    }
}

int TMDXBuilder::GetAxisOf(const std::string& text) const {
    const std::pair<int, const TTextList*> lists[] = {{axColumns, &Columns}, {axRows, &Rows}, {axMeasures, &Measures}};
    for (const auto& [code, list] : lists)
        for (const auto& e : *list)
            if (BeginsWith(e, text)) return code;
    return axNone;
}

std::unique_ptr<TDimension> TMDXBuilder::GetDimensionSelection(const std::string& dimensionName) const {
    const std::string key = "[" + dimensionName + "]";
    const int axis = GetAxisOf(key);
    if (axis == axNone) return nullptr;
    const TTextList& list = axis == axColumns ? Columns : axis == axRows ? Rows : Measures;
    auto dimension = std::make_unique<TDimension>();
    for (const auto& e : list) {
        if (FirstBracketedPart(e) != key) continue;
        auto member = std::make_unique<TDimensionMember>();
        member->UniqueName = e;
        member->Selected = true;
        dimension->AddMember(std::move(member));
    }
    return dimension;
}

std::string TMDXBuilder::GetCurrentViewText() const {
    std::string s = "For Measures you are currently viewing: \r";
    for (const auto& m : Measures) s += " -   " + m + "\r";
    if (!Columns.empty()) {
        s += "\rIn Columns you are currently viewing:\r";
        for (const auto& c : Columns) s += c + "\r";
    }
    if (!Rows.empty()) {
        s += "\rIn Rows you are currently viewing:\r";
        for (const auto& r : Rows) s += r + "\r";
    }
    return s;
}

bool TMDXBuilder::IsCalculatedMeasure(const std::string& entry) const {
    for (int i = 0; i < FCalculated.Count(); ++i)
        if (entry == "[Measures].[" + FCalculated.GetMeasure(i).Name + "]") return true;
    return false;
}

int TMDXBuilder::CountPlainMeasures() const {
    return static_cast<int>(
        std::count_if(Measures.begin(), Measures.end(), [&](const std::string& m) { return !IsCalculatedMeasure(m); }));
}

void TMDXBuilder::PushUndoState() {
    if (FRedo.HasStates()) FRedo.Clear();
    FUndo.Push(Rows, Columns, Measures);
}

void TMDXBuilder::PushRedoState() {
    FRedo.Push(Rows, Columns, Measures);
}

void TMDXBuilder::Restore(const TMDXAxisState& state) {
    Rows = state.RowMembers;
    Measures = state.MeasuresMembers;
    Columns = state.ColMembers;
}

bool TMDXBuilder::Undo() {
    if (!FUndo.HasStates()) return false;
    PushRedoState();
    Restore(*FUndo.Pop());
    return true;
}

bool TMDXBuilder::Redo() {
    if (!FRedo.HasStates()) return false;
    FUndo.Push(Rows, Columns, Measures);
    Restore(*FRedo.Pop());
    return true;
}

void TMDXBuilder::ClearUndoRedo() {
    FRedo.Clear();
    FUndo.Clear();
}

}  // namespace cb::app
