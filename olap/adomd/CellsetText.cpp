#include "olap/adomd/CellsetText.h"

namespace cb::olap {

namespace {

std::string TupleText(const Position& position) {
    auto members = position.Members();
    if (members.Count() == 1) return members.Item(0)->UniqueName();
    std::string text = "(";
    for (int i = 0; i < members.Count(); ++i) text += (i ? ", " : "") + members.Item(i)->UniqueName();
    return text + ")";
}

}  // namespace

std::string CellsetToText(const Cellset& cellset) {
    auto axes = cellset.Axes();
    auto columns = axes.Item(0);
    auto rows = axes.Item(1);
    auto columnPositions = columns->Positions();
    auto rowPositions = rows->Positions();
    std::string text = "COLUMNS " + std::to_string(columns->DimensionCount()) + "\n";
    for (const auto& p : columnPositions) text += TupleText(*p) + "\n";
    text += "ROWS " + std::to_string(rows->DimensionCount()) + "\n";
    for (int r = 0; r < rowPositions.Count(); ++r) {
        text += TupleText(*rowPositions.Item(r));
        for (int c = 0; c < columnPositions.Count(); ++c) {
            std::string value = cellset.Item(c, r)->FormattedValue();
            text += value.empty() ? " |" : " | " + value;
        }
        text += "\n";
    }
    return text;
}

}  // namespace cb::olap
