#pragma once
// The process-wide registry of tool classes that the chart editors offer.
#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

namespace cb::chart {

class TPlotCustomTool;

struct TToolClass {
    std::string Name;
    std::type_index Type;
    std::function<std::unique_ptr<TPlotCustomTool>()> Create;
};

template <class T>
const TToolClass& ToolClassOf(const char* name) {
    static const TToolClass c{name, typeid(T), [] { return std::unique_ptr<TPlotCustomTool>(new T()); }};
    return c;
}

class TPlotToolTypes {
public:
    int Count() const { return int(FItems.size()); }
    const TToolClass* GetItem(int index) const { return FItems.at(std::size_t(index)); }
    int IndexOf(std::type_index type) const;
    void Append(const TToolClass* c) { FItems.push_back(c); }
    void Remove(std::type_index type);

private:
    std::vector<const TToolClass*> FItems;
};

TPlotToolTypes& ToolTypes();
// Classes already present are skipped.
void RegisterToolTypes(const std::vector<const TToolClass*>& classes);
// Classes not present are ignored.
void UnregisterToolTypes(const std::vector<const TToolClass*>& classes);

}  // namespace cb::chart
