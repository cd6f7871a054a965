#pragma once
// An ordered list that owns its elements, for elements that join their list
// from their constructor and leave it from their destructor:
//
//     TChartAxis::TChartAxis(chart) { chart->Axes().Add(this); }  // Adopt
//     TChartAxis::~TChartAxis() { chart->Axes().Remove(this); }   // Release
//
// Deleting an element elsewhere therefore only takes it out of the list;
// Destroy and Clear take it out first and then free it, so its destructor
// finds nothing left to release.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace cb::chart {

template <class T>
class TOwnedList {
public:
    TOwnedList() = default;
    TOwnedList(const TOwnedList&) = delete;
    TOwnedList& operator=(const TOwnedList&) = delete;
    ~TOwnedList() { Clear(); }

    int Count() const { return int(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    // Unchecked: callers check the index.
    T* At(int index) const { return FItems[std::size_t(index)].get(); }
    T* Front() const { return FItems.front().get(); }
    T* Back() const { return FItems.back().get(); }
    int IndexOf(const T* item) const {
        auto it = std::find_if(FItems.begin(), FItems.end(), [item](const auto& p) { return p.get() == item; });
        return it == FItems.end() ? -1 : int(it - FItems.begin());
    }
    // The elements in order, as a copy: freeing one while walking it is safe.
    std::vector<T*> Items() const {
        std::vector<T*> items;
        items.reserve(FItems.size());
        for (const auto& p : FItems) items.push_back(p.get());
        return items;
    }

    // Takes over item (appended); an item already held is left as it is.
    T* Adopt(T* item) {
        if (item && IndexOf(item) < 0) FItems.emplace_back(item);
        return item;
    }
    T* Adopt(std::unique_ptr<T> item) {
        T* p = item.get();
        if (p && IndexOf(p) < 0)
            FItems.push_back(std::move(item));
        else
            item.release();  // already held
        return p;
    }
    // Builds an element; one whose constructor did not join the list is
    // adopted here. Either way the list owns it.
    template <class U = T, class... A>
    U* Make(A&&... args) {
        auto item = std::make_unique<U>(std::forward<A>(args)...);
        U* p = item.get();
        Adopt(std::unique_ptr<T>(std::move(item)));
        return p;
    }
    // Forgets item without freeing it (it is being destroyed, or changes
    // owner); nothing happens when it is not held.
    std::unique_ptr<T> Release(const T* item) {
        const int i = IndexOf(item);
        if (i < 0) return nullptr;
        std::unique_ptr<T> p = std::move(FItems[std::size_t(i)]);
        FItems.erase(FItems.begin() + i);
        return p;
    }
    // Frees item when held.
    void Destroy(const T* item) { Release(item).reset(); }
    // Frees every element, from the front or from the back.
    void Clear(bool fromBack = false) {
        while (!FItems.empty()) Destroy(fromBack ? Back() : Front());
    }

private:
    std::vector<std::unique_ptr<T>> FItems;
};

}  // namespace cb::chart
