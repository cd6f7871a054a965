// Composing the MDX text from the lists, the default query, and normalising
// the lists against the result of their query.
#include "app/core/settings/Config.h"
#include "app/core/cube/CubeModel.h"
#include "app/core/base/Helpers.h"
#include "app/core/query/MDXBuilder.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace cb::app {

using namespace cb::olap;

namespace {

// Runs of entries with the same dimension key, in list order.
std::vector<TTextList> Groups(const TTextList& list) {
    std::vector<TTextList> groups;
    std::string previous;
    for (const auto& e : list) {
        const std::string key = TMDXBuilder::FirstBracketedPart(e);
        if (groups.empty() || key != previous) groups.emplace_back();
        groups.back().push_back(e);
        previous = key;
    }
    return groups;
}

// "{a, b}*{c}" for the groups; the number of groups written in count.
std::string CrossedGroups(const TTextList& list, int& count) {
    std::string s;
    auto groups = Groups(list);
    count = static_cast<int>(groups.size());
    for (size_t g = 0; g < groups.size(); ++g) {
        s += g == 0 ? "{" : "}*{";
        for (size_t i = 0; i < groups[g].size(); ++i) {
            if (i > 0) s += ", ";
            s += groups[g][i];
        }
    }
    if (!groups.empty()) s += "}";
    return s;
}

}  // namespace

std::string TMDXBuilder::BuildRowsSet() const {
    if (Rows.empty()) return "{}";
    int groups = 0;
    std::string s = CrossedGroups(Rows, groups);
    return groups >= 2 ? "{" + s + "}" : s;
}

std::string TMDXBuilder::BuildColumnsSet() const {
    const std::string measures = BuildMeasuresSet();
    if (Columns.empty()) return measures;
    int groups = 0;
    std::string s = CrossedGroups(Columns, groups);
    bool crossed = groups >= 2;
    if (measures != "{}") {
        s += "*" + measures;
        crossed = true;
    }
    return crossed ? "{" + s + "}" : s;
}

std::string TMDXBuilder::BuildMeasuresSet() const {
    if (Measures.empty()) return "{}";
    std::string s;
    for (size_t i = 0; i < Measures.size(); ++i) {
        if (i > 0) s += ",";
        s += Measures[i];
    }
    for (int i = 0; i < FCalculated.Count(); ++i) {
        const auto& calc = FCalculated.GetMeasure(i);
        if (!calc.Selected) continue;
        const std::string name = "[Measures].[" + calc.Name + "]";
        if (s.find(name) == std::string::npos) s += ", " + name;
    }
    return "{" + s + "}";
}

std::string TMDXBuilder::Compose() const {
    return " SELECT " + BuildRowsSet() + " ON ROWS, " + BuildColumnsSet() + " ON COLUMNS FROM " + CubeName;
}

std::string TMDXBuilder::BuildMDX() {
    if (Changed) {
        FMDX = Compose();
        NormalizeAxes();
        Changed = false;
    }
    FMDX = Compose();
    return FMDX;
}

bool TMDXBuilder::BuildDefaultQuery() {
    std::string dimension;
    std::string cubeName;
    try {
        if (!FCubeDef) return false;
        for (const auto& d : FCubeDef->Dimensions()) {
            if (GetDimensionType(d.get()) != 2) {
                dimension = d->UniqueName();
                break;
            }
        }
        cubeName = FCubeDef->Name();
    } catch (const std::exception&) {
        return false;
    }
    Measures.clear();
    FCalculated.Clear();
    FMDX = "SELECT {[Measures].members(0)} ON COLUMNS, {AddCalculatedMembers({" + dimension +
           ".levels(0).members})} ON ROWS FROM [" + cubeName + "]";
    FDefaultState.reset();
    FInDefaultQuery = true;
    const bool ok = NormalizeAxes();
    FInDefaultQuery = false;
    if (ok) {
        FDefaultState = std::make_unique<TMDXAxisState>();
        FDefaultState->RowMembers = Rows;
        FDefaultState->ColMembers = Columns;
        FDefaultState->MeasuresMembers = Measures;
    }
    return ok;
}

void TMDXBuilder::OpenQuery(Cellset& cellset, const std::string& mdx, std::shared_ptr<Connection> connection) {
    if (OnQuery) OnQuery(mdx);
    cellset.Open(mdx, std::move(connection));
}

void TMDXBuilder::ReportQueryFailure(const std::string& message) {
    const std::string text = "Error building requested data display with error:" + message + "\r\r";
    FContext.WriteLog(text + "Current MDX was: \r\r" + FMDX);
    FContext.ShowInformation(
        text + "The display will be reset.\r\rProbable cause for issue could be incompatible version of Pivot "
               "Table Service installed on this machine or non up-to-date service pack version installed.  "
               "Please visit our support forum for instructions on both of these issues.");
}

bool TMDXBuilder::NormalizeAxes() {
    FResult.reset();
    auto cellset = std::make_shared<Cellset>();
    try {
        cellset->SetActiveConnection(ConnectionString);
        OpenQuery(*cellset, FMDX, cellset->ActiveConnection());
    } catch (const std::exception& e) {
        ReportQueryFailure(e.what());
        // The support page opens once per failure: not again for the
        // default query that answers it.
        // It opens only when the settings name one.
        const std::string page = FContext.Config ? FContext.Config->SupportAddress : std::string();
        if (!FInFailureReset && !page.empty()) {
            if (OnOpenWebPage)
                OnOpenWebPage(page);
            else
                ShellOpen(page);
        }
        // A failing default query is not answered by itself again.
        if (!FInDefaultQuery && !FInFailureReset) {
            FInFailureReset = true;
            ResetToDefaultQuery();
            FInFailureReset = false;
        }
        return false;
    }
    try {
        auto axes = cellset->Axes();
        ReadAxisMembers(*axes.Item(0), Columns, &Measures);
        ReadAxisMembers(*axes.Item(1), Rows, nullptr);
    } catch (const std::exception&) {
        return true;
    }
    try {
        if (ResultMatchesLists(*cellset)) {
            FResult = cellset;
            FResultMDX = Compose();
        }
    } catch (const std::exception&) {}
    return true;
}

void TMDXBuilder::ReadAxisMembers(const Axis& axis, TTextList& target, TTextList* measures) {
    // The target starts empty, so it is its dimensions' groups in order of
    // first appearance; kept apart here so each member is placed at once.
    std::vector<std::pair<std::string, TTextList>> groups;
    std::unordered_map<std::string, size_t> groupOf;
    std::unordered_set<std::string> seen;
    target.clear();
    for (const auto& position : axis.Positions()) {
        for (const auto& member : position->Members()) {
            std::string u = member->UniqueName();
            std::string key = FirstBracketedPart(u);
            if (measures && key == "[Measures]") {
                const int index = FindInsertIndex(u, *measures);
                if (index == -1)
                    measures->push_back(u);
                else if (index >= 0)
                    measures->insert(measures->begin() + index + 1, u);
                continue;
            }
            if (!seen.insert(u).second) continue;
            auto [it, added] = groupOf.try_emplace(key, groups.size());
            if (added) groups.emplace_back(key, TTextList());
            groups[it->second].second.push_back(std::move(u));
        }
    }
    for (auto& group : groups)
        for (auto& u : group.second) target.push_back(std::move(u));
}

int TMDXBuilder::FindInsertIndex(const std::string& uniqueName, const TTextList& list) {
    const std::string key = FirstBracketedPart(uniqueName);
    int last = -1;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == uniqueName) return -2;
        if (FirstBracketedPart(list[i]) == key) last = static_cast<int>(i);
    }
    return last;
}

bool TMDXBuilder::ResultMatchesLists(const Cellset& cellset) const {
    // The composed text crosses the groups of each axis in order, the
    // measures last on the columns; the result answers it when its
    // positions are exactly that cross product.
    auto columnGroups = Groups(Columns);
    if (BuildMeasuresSet() != "{}") {
        TTextList measures = Measures;
        for (int i = 0; i < FCalculated.Count(); ++i) {
            const auto& calc = FCalculated.GetMeasure(i);
            const std::string name = "[Measures].[" + calc.Name + "]";
            if (calc.Selected && std::find(measures.begin(), measures.end(), name) == measures.end())
                measures.push_back(name);
        }
        columnGroups.push_back(measures);
    }
    const std::vector<TTextList> axisGroups[2] = {columnGroups, Groups(Rows)};
    auto axes = cellset.Axes();
    for (int a = 0; a < 2; ++a) {
        const auto& groups = axisGroups[a];
        auto axis = axes.Item(a);
        if (axis->DimensionCount() != static_cast<int>(groups.size())) return false;
        size_t expected = groups.empty() ? 0 : 1;
        for (const auto& g : groups) expected *= g.size();
        auto positions = axis->Positions();
        if (static_cast<size_t>(positions.Count()) != expected) return false;
        for (size_t p = 0; p < expected; ++p) {
            auto members = positions.Item(static_cast<int>(p))->Members();
            size_t rest = p;
            for (size_t k = groups.size(); k-- > 0;) {
                const auto& g = groups[k];
                if (members.Item(static_cast<int>(k))->UniqueName() != g[rest % g.size()]) return false;
                rest /= g.size();
            }
        }
    }
    return true;
}

std::shared_ptr<Cellset> TMDXBuilder::TakeResult(const std::string& mdx) {
    if (!FResult || mdx != FResultMDX) return nullptr;
    FResultMDX.clear();
    return std::move(FResult);
}

}  // namespace cb::app
