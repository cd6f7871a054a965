#pragma once
// Saving and loading object lists: owns-objects (1 byte), count (4 bytes,
// little-endian), then per object its class name (a length byte and at most
// 63 characters) and what the class's registered save procedure writes.
// A sorted list writes its duplicates byte first. Classes register once per
// process under a name; nothing is registered by default.
#include "platform/rtl/Streams.h"
#include "zip/ObjectList.h"

#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>

namespace cb::zip {

class EClassNotFound : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};

inline constexpr std::size_t MaxClassNameLength = 63;

// Objects travel as pointers to the list's item type (Base below).
struct TStreamableClass {
    std::string Name;
    std::type_index Type = typeid(void);
    std::function<void*()> Create;
    std::function<void(void* Object, cb::rtl::TStream& Stream)> Load;
    std::function<void(const void* Object, cb::rtl::TStream& Stream)> Save;
    std::function<void(void* Object)> Free;
};

// A second class of the same name is ignored. Names are cut to 63 characters.
void RegisterStreamableClass(TStreamableClass Class);
void UnregisterStreamableClass(std::string_view Name);
const TStreamableClass* FindStreamableClass(std::string_view Name);
const TStreamableClass* FindStreamableClass(std::type_index Type);

// Registers T for lists of Base.
template <class T, class Base = T>
void RegisterStreamable(std::string Name, std::function<void(T&, cb::rtl::TStream&)> Load,
                        std::function<void(const T&, cb::rtl::TStream&)> Save) {
    TStreamableClass c;
    c.Name = std::move(Name);
    c.Type = typeid(T);
    c.Create = [] { return static_cast<void*>(static_cast<Base*>(new T)); };
    c.Load = [Load](void* p, cb::rtl::TStream& s) { Load(*static_cast<T*>(static_cast<Base*>(p)), s); };
    c.Save = [Save](const void* p, cb::rtl::TStream& s) {
        Save(*static_cast<const T*>(static_cast<const Base*>(p)), s);
    };
    c.Free = [](void* p) { delete static_cast<Base*>(p); };
    RegisterStreamableClass(std::move(c));
}

namespace detail {
void WriteClassName(cb::rtl::TStream& Stream, std::string_view Name);
std::string ReadClassName(cb::rtl::TStream& Stream);
[[noreturn]] void NilSourceClass();
[[noreturn]] void SourceClassNotRegistered(std::string_view Name);
}  // namespace detail

template <class T>
void SaveObjectList(const TObjectList<T>& List, cb::rtl::TStream& Stream) {
    Stream.WriteU8(List.OwnsObjects() ? 1 : 0);
    Stream.WriteU32(static_cast<std::uint32_t>(List.Count()));
    for (int i = 0; i < List.Count(); ++i) {
        const T* item = List.Items(i);
        if (!item) detail::NilSourceClass();
        std::type_index type = typeid(T);
        if constexpr (std::is_polymorphic_v<T>) type = typeid(*item);
        const TStreamableClass* c = FindStreamableClass(type);
        if (!c) detail::SourceClassNotRegistered(type.name());
        detail::WriteClassName(Stream, c->Name);
        c->Save(item, Stream);
    }
}

// Adds the stored objects to List (its ownership setting stays).
template <class T>
void LoadObjectList(TObjectList<T>& List, cb::rtl::TStream& Stream) {
    Stream.ReadU8();
    const std::uint32_t count = Stream.ReadU32();
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string name = detail::ReadClassName(Stream);
        const TStreamableClass* c = FindStreamableClass(name);
        if (!c) throw EClassNotFound("Class <" + name + "> not registered");
        void* object = c->Create();
        try {
            c->Load(object, Stream);
        } catch (...) {
            c->Free(object);
            throw;
        }
        T* item = static_cast<T*>(object);
        if (List.Add(item) < 0 && !List.OwnsObjects()) c->Free(object);
    }
}

template <class T>
void SaveSortedObjectList(const TSortedObjectList<T>& List, cb::rtl::TStream& Stream) {
    Stream.WriteU8(static_cast<std::uint8_t>(List.Duplicates()));
    SaveObjectList(List, Stream);
}

// The duplicates byte of the stream is read; the list keeps its own setting.
template <class T>
void LoadSortedObjectList(TSortedObjectList<T>& List, cb::rtl::TStream& Stream) {
    Stream.ReadU8();
    LoadObjectList(List, Stream);
}

}  // namespace cb::zip
