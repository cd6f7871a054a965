#include "app/core/cube/CubeModel.h"

#include "app/core/base/UserInterface.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cstring>

namespace cb::app {

using namespace cb::olap;

void TDimension::Assign(const TDimension& source) {
    if (&source == this) return;
    Name = source.Name;
    DimensionType = source.DimensionType;
    UniqueName = source.UniqueName;
    FMembers.clear();
    for (const auto& m : source.FMembers) FMembers.push_back(CloneDimensionMember(*m));
}

void TDimension::AddMember(std::unique_ptr<TDimensionMember> member) {
    FMembers.push_back(std::move(member));
}

TDimensionMember* TDimension::FindMember(const std::string& uniqueName) const {
    for (const auto& m : FMembers)
        if (m->UniqueName == uniqueName) return m.get();
    return nullptr;
}

TDimensionMember* TDimension::GetMember(int index) const {
    return FMembers.at(static_cast<size_t>(index)).get();
}

std::unique_ptr<TDimensionMember> CloneDimensionMember(const TDimensionMember& member) {
    return std::make_unique<TDimensionMember>(member);
}

int GetDimensionType(const Dimension* dimension) {
    if (!dimension) return 4;
    int type = 4;
    for (const auto& p : dimension->Properties())
        if (p->Name() == "DIMENSION_TYPE") type = p->Value().ToInt();
    return type;
}

std::unique_ptr<std::vector<std::string>> GetCubeDimensionNames(const CubeDef* cube) {
    try {
        auto names = std::make_unique<std::vector<std::string>>();
        for (const auto& d : cube->Dimensions())
            if (d->UniqueName() != "[Measures]") names->push_back(d->UniqueName());
        return names;
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::unique_ptr<std::vector<std::string>> GetCubeMeasureNames(const CubeDef* cube) {
    try {
        auto names = std::make_unique<std::vector<std::string>>();
        for (const auto& d : cube->Dimensions()) {
            for (const auto& h : d->Hierarchies()) {
                if (h->UniqueName() != "[Measures]") continue;
                for (const auto& m : h->Levels().Item(0)->Members()) {
                    if (IsCalculatedMember(m.get())) continue;
                    names->push_back(cb::rtl::StringReplace(m->UniqueName(), "[Measures].", "", cb::rtl::rfIgnoreCase));
                }
            }
        }
        return names;
    } catch (const std::exception&) {
        return nullptr;
    }
}

bool IsCalculatedMember(const Member* member) {
    if (!member) return false;
    try {
        bool calculated = false;
        for (const auto& p : member->Properties())
            if (p->Name() == "EXPRESSION") calculated = !cb::rtl::Trim(p->Value().ToString()).empty();
        return calculated;
    } catch (const std::exception&) {
        return false;
    }
}

std::string GetCubeLastDataUpdate(const CubeDef* cube) {
    std::string value;
    for (const auto& p : cube->Properties())
        if (p->Name() == "LAST_DATA_UPDATE") value = p->Value().ToString();
    return value;
}

std::string GetLastBracketedPart(const std::string& text) {
    auto p = text.rfind('[');
    return p == std::string::npos ? text : text.substr(p);
}

bool IsValidCubeName(const std::string& name, TBaseUserInterface* messagesTo) {
    auto fail = [&](const std::string& message) {
        if (messagesTo) messagesTo->ShowError(message);
        return false;
    };
    if (cb::rtl::Trim(name).empty()) return fail("Cube name connot be empty.");
    // Characters, not bytes: a UTF-8 continuation byte starts none.
    const auto length =
        std::count_if(name.begin(), name.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
    if (length > 50) return fail("Cube name cannot be longer than 50 characters.");
    const char first = name[0];
    if (!((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')))
        return fail("Cube name must begin with a letter.");
    static const char kInvalid[] = "!\"$%&'()*+-./:;<=>?[]^`{}~";
    for (char c : name)
        if (c != '\0' && std::strchr(kInvalid, c))
            return fail(std::string("Invalid character \"") + c + "\" within cube name.");
    return true;
}

std::string AxisSetOf(const TDimensionObject& item) {
    switch (item.Kind) {
    case dokDimension:
        return item.UniqueName + ".Levels(0).members";
    case dokLevel:
        return "AddCalculatedMembers(" + item.UniqueName + ".members)";
    default:
        return item.UniqueName;
    }
}

}  // namespace cb::app
