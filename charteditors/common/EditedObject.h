#pragma once
// What an editor edits, and the guard through which it holds it.
//
// An edited object is a chart element (a series or a tool), or a part of
// something (a pen, brush, gradient, axis, legend...) together with the
// owner whose going takes the part along: a chart element or a QObject (a
// chart). The guard watches the element or the owner and clears itself the
// moment it goes, then tells the editor; an editor never reads a freed
// object through it.
#include "chart/panel/ChartElement.h"

#include <QMetaObject>

#include <functional>
#include <memory>
#include <typeindex>
#include <typeinfo>
#include <vector>

class QObject;

namespace cb::charteditors {

class TEditedObject {
public:
    TEditedObject() = default;

    // A series or tool: freeing it clears the reference.
    static TEditedObject Element(cb::chart::TCustomChartElement* element);
    // A part of an element (its pen, marks, pointer...).
    template <class T>
    static TEditedObject Part(T* part, cb::chart::TCustomChartElement* owner) {
        TEditedObject o = Typed(part);
        o.FOwnerElement = owner;
        return o;
    }
    // A part of a QObject (a chart's axis, legend, wall, or the chart itself).
    template <class T>
    static TEditedObject Part(T* part, QObject* owner) {
        TEditedObject o = Typed(part);
        o.FOwnerObject = owner;
        return o;
    }
    // An object whose lifetime the caller answers for (a dialog's own copy,
    // a pen of the caller's that outlives the modal dialog).
    template <class T>
    static TEditedObject Unowned(T* part) {
        return Typed(part);
    }

    // A part of what whole edits, going with whole's element or owner (a
    // shape's font, a font's shadow).
    template <class T>
    static TEditedObject PartOf(const TEditedObject& whole, T* part) {
        if (whole.FElement) return Part(part, whole.FElement);
        if (whole.FOwnerElement) return Part(part, whole.FOwnerElement);
        if (whole.FOwnerObject) return Part(part, whole.FOwnerObject);
        return Unowned(part);
    }

    // The object as T: for an element any class it is (dynamic_cast); for a
    // part the very type it was bound as. Null when empty or of another type.
    template <class T>
    T* As() const {
        if (FElement) return dynamic_cast<T*>(FElement);
        if (FPart && FPartType == std::type_index(typeid(T))) return static_cast<T*>(FPart);
        return nullptr;
    }
    bool Empty() const { return !FElement && !FPart; }
    // Identity of the object, for comparisons only.
    const void* Address() const;
    cb::chart::TCustomChartElement* OwnerElement() const { return FOwnerElement; }
    QObject* OwnerObject() const { return FOwnerObject; }
    cb::chart::TCustomChartElement* AsElement() const { return FElement; }

private:
    template <class T>
    static TEditedObject Typed(T* part) {
        TEditedObject o;
        o.FPart = part;
        o.FPartType = std::type_index(typeid(T));
        return o;
    }

    cb::chart::TCustomChartElement* FElement = nullptr;
    void* FPart = nullptr;
    std::type_index FPartType = std::type_index(typeid(void));
    cb::chart::TCustomChartElement* FOwnerElement = nullptr;
    QObject* FOwnerObject = nullptr;
};

// Holds an edited object and forgets it when the object (or its owner) goes.
// Not copyable: it is registered with what it watches.
class TObjectGuard {
public:
    TObjectGuard();
    TObjectGuard(const TObjectGuard&) = delete;
    TObjectGuard& operator=(const TObjectGuard&) = delete;
    ~TObjectGuard();

    // Watches the new object; an empty one releases.
    void Set(const TEditedObject& object);
    void Clear() { Set(TEditedObject()); }
    const TEditedObject& Get() const { return FObject; }
    template <class T>
    T* As() const {
        return FObject.As<T>();
    }
    bool Empty() const { return FObject.Empty(); }

    // Runs once the object has gone (the reference is already cleared).
    std::function<void()> OnGone;

private:
    class TWatcher;
    void Gone();

    TEditedObject FObject;
    std::unique_ptr<TWatcher> FWatcher;
    std::vector<std::unique_ptr<TWatcher>> FRetired;
    bool FInGone = false;
    QMetaObject::Connection FConnection;
};

}  // namespace cb::charteditors
