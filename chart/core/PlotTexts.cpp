#include "chart/core/PlotTexts.h"

#include <array>

namespace cb::chart {

namespace {

constexpr int TextCount = int(TPlotText::Count);

const char* const Literals[TextCount] = {
#define CB_PLOT_TEXT_VALUE(id, value) value,
    CB_PLOT_TEXTS(CB_PLOT_TEXT_VALUE)
#undef CB_PLOT_TEXT_VALUE
};

struct TextTable {
    std::array<std::string, TextCount> values;
    bool loaded = false;
};

TextTable& Table() {
    static TextTable table;
    return table;
}

std::string CarriageReturns(const char* literal) {
    // "\r" in a literal stands for character 13 (already so in C++).
    return literal;
}

}  // namespace

std::string& ChartFileExtension() {
    static std::string extension = "dza";
    return extension;
}

std::string BuildChartFileFilter() {
    const std::string& ext = ChartFileExtension();
    return "(*." + ext + ")|*." + ext;
}

void LoadPlotTexts() {
    TextTable& t = Table();
    for (int i = 0; i < TextCount; ++i) t.values[i] = CarriageReturns(Literals[i]);
    const std::string& ext = ChartFileExtension();
    t.values[int(TPlotText::txtInvalidChartFile)] = "Invalid Chart in *." + ext + " file";
    t.values[int(TPlotText::txtWrongFileFormat)] = "Wrong *." + ext + " file format";
    t.values[int(TPlotText::txtEmptyChartFile)] = "Empty *." + ext + " file";
    t.values[int(TPlotText::txtChartFileFilter)] = "DezAvoze files " + BuildChartFileFilter();
    t.loaded = true;
}

const std::string& PlotText(TPlotText id) {
    TextTable& t = Table();
    if (!t.loaded) LoadPlotTexts();
    return t.values[int(id)];
}

void SetPlotText(TPlotText id, const std::string& value) {
    TextTable& t = Table();
    if (!t.loaded) LoadPlotTexts();
    t.values[int(id)] = value;
}

std::string FormatPlotText(const std::string& format, const std::vector<std::string>& args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == 'd')) {
            if (next < args.size()) out += args[next++];
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

std::string FormatPlotText(TPlotText id, const std::vector<std::string>& args) {
    return FormatPlotText(PlotText(id), args);
}

}  // namespace cb::chart
