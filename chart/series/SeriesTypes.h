#pragma once
// The process-wide registry of series types (and series function types)
// that galleries and editors offer, with description, gallery page and the
// number of series a gallery sample shows; and the class registry through
// which stored charts name series classes.
#include "chart/core/PlotTexts.h"

#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

namespace cb::chart {

class TChartSeries;

// A series class: its name and a way to make one. Kinds of one C++ class
// (vertical and horizontal bars) tell their series apart by Is.
struct TSeriesClass {
    std::string Name;
    std::type_index Type;
    std::function<std::unique_ptr<TChartSeries>()> Create;
    std::function<bool(const TChartSeries&)> Is = {};
    bool IsClassOf(const TChartSeries& series) const;
};

// One descriptor per class T, made on first use.
template <class T>
const TSeriesClass& SeriesClassOf(const char* name) {
    static const TSeriesClass c{name, typeid(T), [] { return std::unique_ptr<TChartSeries>(new T()); }};
    return c;
}

class TPlotFunction;

// A series function class (the functions fill their series from others).
struct TFunctionClass {
    std::string Name;
    std::type_index Type;
    std::function<std::unique_ptr<TPlotFunction>()> Create = {};
};

// One descriptor per function class F, made on first use.
template <class F>
const TFunctionClass& FunctionClassOf(const char* name) {
    static const TFunctionClass c{name, typeid(F), [] { return std::unique_ptr<TPlotFunction>(new F()); }};
    return c;
}

// The class name of an object: its registered name, else the C++ name
// without namespaces ("TLineSeries").
std::string SeriesClassName(const TChartSeries& series);

class TPlotSeriesType {
public:
    const TSeriesClass* SeriesClass = nullptr;      // none for a function-only entry
    const TFunctionClass* FunctionClass = nullptr;  // none for a plain series type
    // Texts read when shown, so a replaced text shows at once.
    TPlotText Description{};
    TPlotText GalleryPage{};
    int GallerySeriesCount = 0;
    std::string DescriptionText() const { return PlotText(Description); }
    std::string GalleryPageText() const { return PlotText(GalleryPage); }
};

class TPlotSeriesTypes {
public:
    int Count() const { return int(FItems.size()); }
    TPlotSeriesType* GetItem(int index) const { return FItems.at(std::size_t(index)).get(); }
    // The entry with this series class and no function, or none.
    TPlotSeriesType* FindSeriesClass(std::type_index type) const;
    // The entry of the series' class and kind with no function, or none.
    TPlotSeriesType* FindSeriesClassOf(const TChartSeries& series) const;
    void Append(std::unique_ptr<TPlotSeriesType> entry) { FItems.push_back(std::move(entry)); }
    void RemoveIf(const std::function<bool(const TPlotSeriesType&)>& match);
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TPlotSeriesType>> FItems;
};

// The one registry of the process.
TPlotSeriesTypes& SeriesTypes();

// Each given class also joins the class registry; an entry with the same
// two classes is not added again.
void RegisterSeriesOrFunction(const TSeriesClass* seriesClass, const TFunctionClass* functionClass,
                              TPlotText description, TPlotText galleryPage, int gallerySeriesCount);
void RegisterSeriesType(const TSeriesClass& seriesClass, TPlotText description, TPlotText galleryPage,
                        int gallerySeriesCount);
// Page "Standard", 2 series.
void RegisterStandardSeriesType(const TSeriesClass& seriesClass, TPlotText description);
void RegisterFunctionType(const TFunctionClass& functionClass, TPlotText description, TPlotText galleryPage,
                          int gallerySeriesCount);
void RegisterStandardFunctionType(const TFunctionClass& functionClass, TPlotText description);
// Removes every entry whose series class (or function class) is type.
void UnregisterSeriesOrFunction(bool bySeries, std::type_index type);
void UnregisterSeriesTypes(const std::vector<std::type_index>& types);
// The registered description of the series' class, else the class name.
std::string SeriesTypeDescription(const TChartSeries& series);

// Class registry: stored charts name their series classes.
const TSeriesClass* FindSeriesClassByName(const std::string& name);
void RegisterSeriesClass(const TSeriesClass& seriesClass);

}  // namespace cb::chart
