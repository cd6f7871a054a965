// TGridSizing: limits and scale factors of the grid's sizing.
#include "grid/GridSizing.h"

namespace cb::grid {

int TGridSizing::ApplyLimits(int value, int minValue, int maxValue) {
    if (minValue == maxValue) return value;
    if (minValue > 0 && value < minValue) value = minValue;
    if (maxValue > 0 && value > maxValue) value = maxValue;
    return value;
}

double TGridSizing::FollowClientWidth(int client, bool scale) {
    const double factor = scale && FClientWidth > 0 && client != FClientWidth ? double(client) / FClientWidth : 0.0;
    FClientWidth = client;
    return factor;
}

double TGridSizing::Factor(int& index, int& start, int at, int size) {
    const double factor = index == at && start > 0 && size != start ? double(size) / start : 0.0;
    index = -1;
    return factor;
}

double TGridSizing::EndCol(int col, int width) {
    return Factor(FCol, FColWidth, col, width);
}

double TGridSizing::EndRow(int row, int height) {
    return Factor(FRow, FRowHeight, row, height);
}

}  // namespace cb::grid
