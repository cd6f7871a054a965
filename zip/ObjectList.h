#pragma once
// The zip library's lists of objects: a list that may own its items, and a
// sorted list on top of it whose descendants supply the comparison.
#include "platform/rtl/Exception.h"

#include <cstdio>
#include <string>
#include <typeinfo>
#include <vector>

namespace cb::zip {

inline constexpr int MaxListSize = 536870910;

[[noreturn]] inline void ListIndexError(int Index) {
    char msg[64];
    std::snprintf(msg, sizeof msg, "List index out of bounds (%d)", Index);
    throw cb::rtl::EListError(msg);
}

// Items are raw pointers; with OwnsObjects the list deletes what it holds
// (when an item is deleted, the list cleared or destroyed).
template <class T>
class TObjectList {
public:
    explicit TObjectList(bool OwnsObjects = true) : FOwnsObjects(OwnsObjects) {}
    TObjectList(const TObjectList&) = delete;
    TObjectList& operator=(const TObjectList&) = delete;
    virtual ~TObjectList() { Clear(); }

    bool OwnsObjects() const { return FOwnsObjects; }
    int Count() const { return FCount; }
    int Capacity() const { return FCapacity; }
    T* Items(int Index) const {
        if (Index < 0 || Index >= FCount) ListIndexError(Index);
        return FItems[static_cast<std::size_t>(Index)];
    }
    T* operator[](int Index) const { return Items(Index); }

    virtual void Put(int Index, T* Item) {
        if (Index < 0 || Index >= FCount) ListIndexError(Index);
        FItems[static_cast<std::size_t>(Index)] = Item;
    }
    // Appends; returns the new index.
    virtual int Add(T* Item) {
        if (FCount == FCapacity) Grow();
        FItems[static_cast<std::size_t>(FCount)] = Item;
        return FCount++;
    }
    // Index 0..Count; later items move up.
    virtual void Insert(int Index, T* Item) {
        if (Index < 0 || Index > FCount) ListIndexError(Index);
        if (FCount == FCapacity) Grow();
        for (int i = FCount; i > Index; --i) FItems[i] = FItems[i - 1];
        FItems[static_cast<std::size_t>(Index)] = Item;
        ++FCount;
    }
    // Removes the item, freeing it when the list owns it.
    void Delete(int Index) { FreeObject(Extract(Index)); }
    // Removes the item and hands it to the caller.
    T* Extract(int Index) {
        T* item = Items(Index);
        for (int i = Index; i + 1 < FCount; ++i) FItems[i] = FItems[i + 1];
        FItems[static_cast<std::size_t>(--FCount)] = nullptr;
        return item;
    }
    // Frees the items it owns; count and capacity become 0.
    void Clear() {
        for (int i = 0; i < FCount; ++i) FreeObject(FItems[static_cast<std::size_t>(i)]);
        FItems.clear();
        FItems.shrink_to_fit();
        FCount = FCapacity = 0;
    }
    // By identity; -1 when absent.
    virtual int IndexOf(const T* Item) const {
        for (int i = 0; i < FCount; ++i)
            if (FItems[static_cast<std::size_t>(i)] == Item) return i;
        return -1;
    }
    T* First() const { return Items(0); }
    T* Last() const { return Items(FCount - 1); }
    // The item after (Forward) or before Item; with no Item the first or
    // last; nullptr past either end.
    T* Neighbour(const T* Item, bool Forward) const {
        if (!Item) return Forward ? First() : Last();
        const int i = IndexOf(Item);
        if (i < 0) throw cb::rtl::EListError("tObject " + std::string(typeid(T).name()) + " not in item list");
        const int j = Forward ? i + 1 : i - 1;
        return j >= 0 && j < FCount ? FItems[static_cast<std::size_t>(j)] : nullptr;
    }
    void SetCapacity(int NewCapacity) {
        if (NewCapacity < FCount || NewCapacity > MaxListSize) ListIndexError(NewCapacity);
        FItems.resize(static_cast<std::size_t>(NewCapacity), nullptr);
        FCapacity = NewCapacity;
    }
    // A larger count fills the new places with nullptr.
    void SetCount(int NewCount) {
        if (NewCount < 0 || NewCount > MaxListSize) ListIndexError(NewCount);
        if (NewCount > FCapacity) SetCapacity(NewCount);
        for (int i = NewCount; i < FCount; ++i) FreeObject(FItems[static_cast<std::size_t>(i)]);
        for (int i = FCount; i < NewCount; ++i) FItems[static_cast<std::size_t>(i)] = nullptr;
        FCount = NewCount;
    }

protected:
    void Grow() {
        const int delta = FCapacity > 8 ? 16 : (FCapacity > 4 ? 8 : 4);
        SetCapacity(FCapacity + delta);
    }
    void FreeObject(T* Item) {
        if (FOwnsObjects) delete Item;
    }
    std::vector<T*> FItems;

private:
    bool FOwnsObjects;
    int FCount = 0;
    int FCapacity = 0;
};

enum class TDuplicates : unsigned char {
    dupIgnore,
    dupAccept,
    dupError
};

// Kept in the order of Compare. Add places an item at its sorted place.
template <class T>
class TSortedObjectList : public TObjectList<T> {
public:
    TSortedObjectList(bool OwnsObjects, TDuplicates Duplicates)
        : TObjectList<T>(OwnsObjects), FDuplicates(Duplicates) {}

    TDuplicates Duplicates() const { return FDuplicates; }

    // Negative places A before B.
    virtual int Compare(const T* A, const T* B) const = 0;

    void Put(int, T*) override { throw cb::rtl::EListError("Cannot <Put> an Object in a sorted list!"); }
    // Returns the index, or -1 when an equal item was there and duplicates
    // are ignored (the caller keeps the item). dupError raises.
    int Add(T* Item) override {
        int index;
        if (Find(Item, index)) {
            if (FDuplicates == TDuplicates::dupIgnore) return -1;
            if (FDuplicates == TDuplicates::dupError) throw cb::rtl::EListError("Duplicate Object index");
        }
        TObjectList<T>::Insert(index, Item);
        return index;
    }
    void Insert(int, T* Item) override { Add(Item); }
    int IndexOf(const T* Item) const override {
        int index;
        return Find(Item, index) ? index : -1;
    }
    // Binary search; with duplicates accepted the index is the first place
    // of an equal run, so a new equal item goes before the old ones.
    bool Find(const T* Key, int& Index) const {
        int low = 0, high = this->Count() - 1;
        bool found = false;
        while (low <= high) {
            const int mid = (low + high) / 2;
            const int c = Compare(this->FItems[static_cast<std::size_t>(mid)], Key);
            if (c < 0) {
                low = mid + 1;
            } else {
                high = mid - 1;
                if (c == 0) {
                    found = true;
                    if (FDuplicates != TDuplicates::dupAccept) low = mid;
                }
            }
        }
        Index = low;
        return found;
    }

private:
    TDuplicates FDuplicates;
};

}  // namespace cb::zip
