#include "app/core/query/GraphDisplayManager.h"

#include "app/core/theme/GridTheme.h"
#include "chart/component/Chart.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/series/pie/PieSeries.h"
#include "chart/series/pyramid/PyramidSeries.h"
#include "platform/rtl/ScopeGuard.h"
#include "tabexport/core/ValueFormat.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace cb::app {

using namespace cb::olap;
using cb::chart::TBarSeries;
using cb::chart::TChartSeries;

namespace {

const char* const kPalette[] = {
    "000000", "004F9A", "E7B400", "009900", "CC66CC", "800000", "FF0000", "FFF2CA", "996666", "33CC00", "3366CC",
    "CCCC99", "CCCC66", "000066", "FFFF00", "999933", "336666", "33CCCC", "9999FF", "663366", "CC6666", "663333",
    "3399CC", "999999", "FFFFFF", "FF9999", "0000FF", "9999CC", "339966", "00FF99", "336633", "8EC751", "647D41",
    "006EB1", "00848A", "332D2C", "F16254", "DEE28F", "00B1B5", "894091", "312B4A", "666666"};

constexpr std::string_view kMeasuresDimension = "Measures";
// Appended to a group's series title in the all-cells mode.
constexpr const char* kGroupTitleTail = "       ";

// The text between the first "[" and the first "]" of a unique name.
std::string_view DimensionOf(std::string_view uniqueName) {
    const auto open = uniqueName.find('[');
    const auto close = uniqueName.find(']');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return {};
    return uniqueName.substr(open + 1, close - open - 1);
}

bool IsBarType(int type) {
    return type == ctcBar || type == ctcBarDepth || type == ctcStackedBar || type == ctcSideBySideBar;
}

// What a build needs of one axis position, read once.
struct TPositionInfo {
    std::vector<std::shared_ptr<Member>> Members;
    bool TopLevel = false;    // a non-measure member at depth 0
    bool HasMeasure = false;  // holds the filtered measure
};

std::vector<TPositionInfo> ReadAxis(const Cellset& cellset, int axis, const std::string& measure) {
    std::vector<TPositionInfo> infos;
    const auto positions = cellset.Axes().Item(axis)->Positions();
    infos.reserve(static_cast<size_t>(positions.Count()));
    for (const auto& position : positions) {
        TPositionInfo info;
        for (const auto& member : position->Members()) {
            const std::string unique = member->UniqueName();
            const bool isMeasure = DimensionOf(unique) == kMeasuresDimension;
            if (member->LevelDepth() == 0 && (axis != 0 || !isMeasure)) info.TopLevel = true;
            if (unique == measure) info.HasMeasure = true;
            info.Members.push_back(member);
        }
        infos.push_back(std::move(info));
    }
    return infos;
}

}  // namespace

TGraphDisplayManager::TGraphDisplayManager() {
    for (const char* hex : kPalette) {
        FPalette.emplace_back(hex);
        FPaletteColors.push_back(HexToColor(hex));
    }
}

TGraphDisplayManager::~TGraphDisplayManager() = default;

TColor TGraphDisplayManager::NextPaletteColor() {
    if (++FPaletteIndex >= static_cast<int>(FPaletteColors.size())) FPaletteIndex = 0;
    return FPaletteColors[static_cast<size_t>(FPaletteIndex)];
}

std::optional<double> TGraphDisplayManager::CellValue(const Cell& cell) {
    const Variant& value = cell.Value();
    if (value.IsNumber()) return value.ToDouble();
    if (value.IsEmpty()) return 0.0;
    return std::nullopt;
}

std::string TGraphDisplayManager::ShownPicture(const Cellset& cellset, int column, int row) {
    try {
        const std::string& shown = cellset.Item(column, row)->FormattedValue();
        return shown.empty() ? std::string() : cb::tabexport::NumberPictureOf(shown);
    } catch (const std::exception&) {
        return {};
    }
}

void TGraphDisplayManager::SetCellset(std::shared_ptr<Cellset> cellset) {
    FCellset = std::move(cellset);
    FColumn = -1;
    FRow = -1;
    Render();
}

void TGraphDisplayManager::SetColumn(int position) {
    if (position == FColumn) return;
    FColumn = position;
    if (FDataMode != cdmAllCells) Render();
}

void TGraphDisplayManager::SetRow(int position) {
    if (position == FRow) return;
    FRow = position;
    if (FDataMode != cdmAllCells) Render();
}

void TGraphDisplayManager::SetMarksStyle(int style) {
    FMarksStyle = style;
    ApplyMarks();
}

int TGraphDisplayManager::GetTotalPointCount() const {
    if (!FChart) return 0;
    int total = 0;
    for (int i = 0; i < FChart->NumberOfSeries(); ++i) total += FChart->SeriesAt(i)->PointCount();
    return total;
}

bool TGraphDisplayManager::Render() {
    if (!FChart || !FCellset || FCellset->State() == Cellset::adStateClosed) return false;
    const bool result = ApplyChartType();
    const int count = FChart->NumberOfSeries();
    FChart->setVisible(count >= 2 || (count == 1 && FChart->SeriesAt(0)->PointCount() > 0));
    return result;
}

bool TGraphDisplayManager::ApplyChartType() {
    try {
        FChart->FreeSeriesOfClass();
        BuildSeries();
        for (int i = 0; i < FChart->NumberOfSeries(); ++i) ApplyTypeSettings(*FChart->SeriesAt(i));
        if (IsBarType(FChartType)) {
            auto& view = FChart->View3DOptions();
            view.SetPerspective(20);
            view.SetRotation(340);
            view.SetElevation(360);
        }
        ApplyMarks();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::unique_ptr<TChartSeries> TGraphDisplayManager::NewSeries() const {
    std::unique_ptr<TChartSeries> series;
    switch (FChartType) {
    case ctcPie:
    case ctcDoughnut:
        series = std::make_unique<cb::chart::TPieSeries>();
        break;
    case ctcPyramid: {
        auto pyramid = std::make_unique<cb::chart::TPyramidSeries>();
        pyramid->SetSizePercent(100);
        series = std::move(pyramid);
        break;
    }
    case ctcLine:
        series = std::make_unique<cb::chart::TLineSeries>();
        break;
    default:
        series = std::make_unique<TBarSeries>();
        break;
    }
    series->RemoveAllPoints();
    series->SetColorEachPoint(true);
    return series;
}

void TGraphDisplayManager::ApplyTypeSettings(TChartSeries& series) const {
    if (auto* bar = dynamic_cast<TBarSeries*>(&series); bar && IsBarType(FChartType)) {
        bar->SetStackGroup(0);
        if (FChartType == ctcBarDepth) {
            bar->SetMultiBar(cb::chart::mbNone);
            bar->SetDepth(30);
        } else if (FChartType == ctcStackedBar) {
            bar->SetMultiBar(cb::chart::mbSelfStack);
        } else if (FChartType == ctcSideBySideBar) {
            bar->SetMultiBar(cb::chart::mbSideAll);
        }
    }
    if (auto* pie = dynamic_cast<cb::chart::TPieSeries*>(&series); pie && FChartType == ctcDoughnut)
        pie->SetDonutHolePercent(40);
    if (auto* line = dynamic_cast<cb::chart::TLineSeries*>(&series)) {
        line->SetColorEachPoint(FGroupBy == kNoGroupBy);
        line->SetColorEachLine(false);
        line->LinePen().SetWidth(3);
        line->Pointer().SetHorizSize(5);
        line->Pointer().SetVertSize(5);
        line->Pointer().SetVisible(true);
    }
}

void TGraphDisplayManager::ApplyMarks() {
    if (!FEnabled || !FChart) return;
    for (int i = 0; i < FChart->NumberOfSeries(); ++i) {
        auto& marks = FChart->SeriesAt(i)->Marks();
        marks.SetVisible(FMarksStyle != -1);
        marks.SetStyle(FMarksStyle == -1 ? cb::chart::smsLabelValue
                                         : static_cast<cb::chart::TSeriesMarksStyle>(FMarksStyle));
        marks.Callout().Brush().SetColor(cb::gfx::clBlack);
        marks.Callout().Arrow().SetColor(cb::gfx::clBlack);
    }
}

void TGraphDisplayManager::BuildSeries() {
    FPaletteIndex = 0;
    try {
        const auto& cellset = *FCellset;
        const auto columns = ReadAxis(cellset, 0, FMeasureName);
        const auto rows = ReadAxis(cellset, 1, FMeasureName);
        const int cp = static_cast<int>(columns.size());
        const int rp = static_cast<int>(rows.size());
        const int rd = cellset.Axes().Item(1)->DimensionCount();
        const bool oneSeries = rd == 1 || FGroupBy < 0 || FGroupBy >= rd || FChartType == ctcPie ||
                               FChartType == ctcDoughnut || FChartType == ctcPyramid;
        const int groupBy = oneSeries ? -1 : FGroupBy;
        FChart->Legend().SetCheckBoxes(!oneSeries);

        // Captions are read once per position; labels are built per cell.
        std::vector<std::string> columnLabels(static_cast<size_t>(cp));
        for (int q = 0; q < cp; ++q)
            for (const auto& m : columns[static_cast<size_t>(q)].Members)
                if (DimensionOf(m->UniqueName()) != kMeasuresDimension)
                    columnLabels[static_cast<size_t>(q)] += m->Caption() + ' ';
        std::vector<std::string> rowLabels(static_cast<size_t>(rp));
        for (int r = 0; r < rp; ++r) {
            const auto& members = rows[static_cast<size_t>(r)].Members;
            for (int level = 0; level < static_cast<int>(members.size()); ++level)
                if (level != groupBy)
                    rowLabels[static_cast<size_t>(r)] += members[static_cast<size_t>(level)]->Caption() + ' ';
        }

        TChartSeries* single = nullptr;
        if (oneSeries) single = FChart->AdoptSeries(NewSeries());
        std::string valueFormat;
        const auto useValueFormat = cb::rtl::OnScopeExit([&] {
            if (valueFormat.empty() || valueFormat == "General") return;
            for (int i = 0; i < FChart->NumberOfSeries(); ++i) FChart->SeriesAt(i)->SetValueFormat(valueFormat);
        });
        // Groups by the member's unique name, so equal captions of different
        // members ("Q1" of two years) stay apart.
        std::unordered_map<std::string, TChartSeries*> groups;

        auto addCell = [&](int q, int r) {
            const auto& column = columns[static_cast<size_t>(q)];
            const auto& row = rows[static_cast<size_t>(r)];
            if (!FShowAllMembers && (column.TopLevel || row.TopLevel)) return;
            if (FMeasureFilter && !column.HasMeasure) return;
            std::optional<double> value;
            try {
                value = CellValue(*cellset.Item(q, r));
            } catch (const std::exception&) {
                value.reset();
            }
            // Legend and marks show values with the decimals the grid shows.
            if (valueFormat.empty()) valueFormat = ShownPicture(cellset, q, r);
            std::string label = columnLabels[static_cast<size_t>(q)] + rowLabels[static_cast<size_t>(r)];
            if (oneSeries) {
                const TColor color = NextPaletteColor();
                if (value)
                    single->AddValue(*value, label, color);
                else
                    single->AddNullValue(label);
                return;
            }
            const auto& member = row.Members.at(static_cast<size_t>(groupBy));
            TChartSeries*& series = groups[member->UniqueName()];
            if (!series) {
                series = FChart->AdoptSeries(NewSeries());
                series->SetColorEachPoint(false);
                std::string title = member->Caption();
                if (FDataMode == cdmAllCells) title += kGroupTitleTail;
                series->SetTitle(title);
            }
            if (FDataMode == cdmSelectedRow) label += ' ';
            if (value)
                series->AddValue(*value, label);
            else
                series->AddNullValue(label);
        };

        switch (FDataMode) {
        case cdmSelectedColumn:
            FColumn = std::max(FColumn, 0);
            for (int r = 0; r < rp && FColumn < cp; ++r) addCell(FColumn, r);
            break;
        case cdmSelectedRow:
            FRow = std::max(FRow, 0);
            for (int q = 0; q < cp && FRow < rp; ++q) addCell(q, FRow);
            break;
        case cdmAllCells:
            for (int r = 0; r < rp; ++r)
                for (int q = 0; q < cp; ++q) addCell(q, r);
            break;
        }
    } catch (const std::exception&) {
        // What was added stays; the caller applies settings and marks.
    }
}

}  // namespace cb::app
