#include "zip/ObjectListStream.h"

#include <map>
#include <mutex>

namespace cb::zip {

namespace {

struct TRegistry {
    std::mutex Lock;
    std::map<std::string, TStreamableClass, std::less<>> ByName;
};

TRegistry& Registry() {
    static TRegistry registry;
    return registry;
}

}  // namespace

void RegisterStreamableClass(TStreamableClass Class) {
    if (Class.Name.size() > MaxClassNameLength) Class.Name.resize(MaxClassNameLength);
    auto& r = Registry();
    std::lock_guard<std::mutex> guard(r.Lock);
    r.ByName.emplace(Class.Name, std::move(Class));
}

void UnregisterStreamableClass(std::string_view Name) {
    auto& r = Registry();
    std::lock_guard<std::mutex> guard(r.Lock);
    if (auto it = r.ByName.find(Name.substr(0, MaxClassNameLength)); it != r.ByName.end()) r.ByName.erase(it);
}

const TStreamableClass* FindStreamableClass(std::string_view Name) {
    auto& r = Registry();
    std::lock_guard<std::mutex> guard(r.Lock);
    const auto it = r.ByName.find(Name);
    return it == r.ByName.end() ? nullptr : &it->second;
}

const TStreamableClass* FindStreamableClass(std::type_index Type) {
    auto& r = Registry();
    std::lock_guard<std::mutex> guard(r.Lock);
    for (const auto& [name, c] : r.ByName)
        if (c.Type == Type) return &c;
    return nullptr;
}

namespace detail {

void WriteClassName(cb::rtl::TStream& Stream, std::string_view Name) {
    Name = Name.substr(0, MaxClassNameLength);
    Stream.WriteU8(static_cast<std::uint8_t>(Name.size()));
    Stream.WriteBuffer(Name);
}

std::string ReadClassName(cb::rtl::TStream& Stream) {
    const std::uint8_t len = Stream.ReadU8();
    std::string name = Stream.ReadString(len);
    // Names are written cut to 63 characters: a longer one was not ours.
    if (len > MaxClassNameLength) throw EClassNotFound("Class <" + name + "> not registered");
    return name;
}

void NilSourceClass() {
    throw EClassNotFound("Nil Source Class!");
}

void SourceClassNotRegistered(std::string_view Name) {
    throw EClassNotFound("Source Class <" + std::string(Name) + "> not registered");
}

}  // namespace detail

}  // namespace cb::zip
