#include "chart/series/SeriesTypes.h"

#include "chart/series/ChartSeries.h"

#include <algorithm>
#include <cxxabi.h>
#include <map>

namespace cb::chart {

bool TSeriesClass::IsClassOf(const TChartSeries& series) const {
    return std::type_index(typeid(series)) == Type && (!Is || Is(series));
}

namespace {

std::map<std::string, const TSeriesClass*>& classRegistry() {
    static std::map<std::string, const TSeriesClass*> registry;
    return registry;
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return s;
}

}  // namespace

std::string SeriesClassName(const TChartSeries& series) {
    const std::type_index type(typeid(series));
    for (const auto& [name, c] : classRegistry())
        if (c->IsClassOf(series)) return c->Name;
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                     std::free);
    std::string name = status == 0 && demangled ? demangled.get() : type.name();
    const auto colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

TPlotSeriesType* TPlotSeriesTypes::FindSeriesClass(std::type_index type) const {
    for (const auto& e : FItems)
        if (e->SeriesClass && e->SeriesClass->Type == type && !e->FunctionClass) return e.get();
    return nullptr;
}

TPlotSeriesType* TPlotSeriesTypes::FindSeriesClassOf(const TChartSeries& series) const {
    for (const auto& e : FItems)
        if (e->SeriesClass && e->SeriesClass->IsClassOf(series) && !e->FunctionClass) return e.get();
    return nullptr;
}

void TPlotSeriesTypes::RemoveIf(const std::function<bool(const TPlotSeriesType&)>& match) {
    FItems.erase(std::remove_if(FItems.begin(), FItems.end(), [&](const auto& e) { return match(*e); }), FItems.end());
}

TPlotSeriesTypes& SeriesTypes() {
    static TPlotSeriesTypes types;
    return types;
}

void RegisterSeriesClass(const TSeriesClass& seriesClass) {
    classRegistry()[upper(seriesClass.Name)] = &seriesClass;
}

const TSeriesClass* FindSeriesClassByName(const std::string& name) {
    const auto it = classRegistry().find(upper(name));
    return it == classRegistry().end() ? nullptr : it->second;
}

void RegisterSeriesOrFunction(const TSeriesClass* seriesClass, const TFunctionClass* functionClass,
                              TPlotText description, TPlotText galleryPage, int gallerySeriesCount) {
    if (seriesClass) RegisterSeriesClass(*seriesClass);
    TPlotSeriesTypes& types = SeriesTypes();
    auto same = [](const auto* a, const auto* b) {
        return (!a && !b) || (a && b && a->Type == b->Type && a->Name == b->Name);
    };
    for (int i = 0; i < types.Count(); ++i) {
        const TPlotSeriesType* e = types.GetItem(i);
        if (same(e->SeriesClass, seriesClass) && same(e->FunctionClass, functionClass)) return;
    }
    auto entry = std::make_unique<TPlotSeriesType>();
    entry->SeriesClass = seriesClass;
    entry->FunctionClass = functionClass;
    entry->Description = description;
    entry->GalleryPage = galleryPage;
    entry->GallerySeriesCount = gallerySeriesCount;
    types.Append(std::move(entry));
}

void RegisterSeriesType(const TSeriesClass& seriesClass, TPlotText description, TPlotText galleryPage,
                        int gallerySeriesCount) {
    RegisterSeriesOrFunction(&seriesClass, nullptr, description, galleryPage, gallerySeriesCount);
}

void RegisterStandardSeriesType(const TSeriesClass& seriesClass, TPlotText description) {
    RegisterSeriesType(seriesClass, description, TPlotText::txtGalleryStandard, 2);
}

void RegisterFunctionType(const TFunctionClass& functionClass, TPlotText description, TPlotText galleryPage,
                          int gallerySeriesCount) {
    RegisterSeriesOrFunction(nullptr, &functionClass, description, galleryPage, gallerySeriesCount);
}

void RegisterStandardFunctionType(const TFunctionClass& functionClass, TPlotText description) {
    RegisterFunctionType(functionClass, description, TPlotText::txtGalleryStandard, 2);
}

void UnregisterSeriesOrFunction(bool bySeries, std::type_index type) {
    SeriesTypes().RemoveIf([&](const TPlotSeriesType& e) {
        return bySeries ? e.SeriesClass && e.SeriesClass->Type == type
                        : e.FunctionClass && e.FunctionClass->Type == type;
    });
}

void UnregisterSeriesTypes(const std::vector<std::type_index>& types) {
    for (const std::type_index& t : types) UnregisterSeriesOrFunction(true, t);
}

std::string SeriesTypeDescription(const TChartSeries& series) {
    if (const TPlotSeriesType* e = SeriesTypes().FindSeriesClassOf(series)) return e->DescriptionText();
    return SeriesClassName(series);
}

}  // namespace cb::chart
