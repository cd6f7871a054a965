#include "charteditors/common/EditedObject.h"

#include "chart/panel/ChartElement.h"

#include <QObject>

namespace cb::charteditors {

using cb::chart::TCustomChartElement;

TEditedObject TEditedObject::Element(TCustomChartElement* element) {
    TEditedObject o;
    o.FElement = element;
    return o;
}

const void* TEditedObject::Address() const {
    return FElement ? static_cast<const void*>(FElement) : FPart;
}

// Hears of a chart element's going through the elements' own free
// notifications.
class TObjectGuard::TWatcher : public TCustomChartElement {
public:
    TWatcher(TCustomChartElement* watched, std::function<void()> gone)
        : FWatched(watched), FGoneEvent(std::move(gone)) {
        FWatched->FreeNotification(this);
    }
    ~TWatcher() override {
        if (FWatched) FWatched->RemoveFreeNotification(this);
    }

protected:
    void Notification(TCustomChartElement* gone) override {
        if (gone != FWatched) return;
        FWatched = nullptr;
        if (FGoneEvent) FGoneEvent();
    }

private:
    TCustomChartElement* FWatched;
    std::function<void()> FGoneEvent;
};

TObjectGuard::TObjectGuard() = default;

TObjectGuard::~TObjectGuard() {
    OnGone = nullptr;
    FInGone = false;
    Set(TEditedObject());
}

void TObjectGuard::Set(const TEditedObject& object) {
    QObject::disconnect(FConnection);
    FConnection = {};
    // The watcher may be the caller (Gone runs inside its notification):
    // it is released only outside that call.
    if (FWatcher) FRetired.push_back(std::move(FWatcher));
    FObject = object;
    TCustomChartElement* element = object.AsElement() ? object.AsElement() : object.OwnerElement();
    if (element) FWatcher = std::make_unique<TWatcher>(element, [this] { Gone(); });
    if (QObject* owner = object.OwnerObject())
        FConnection = QObject::connect(owner, &QObject::destroyed, [this] { Gone(); });
    if (!FInGone) FRetired.clear();
}

void TObjectGuard::Gone() {
    if (FObject.Empty()) return;
    FObject = TEditedObject();
    QObject::disconnect(FConnection);
    FConnection = {};
    // The watcher stays until a later Set or the guard's end: it may be
    // running this very call.
    FInGone = true;
    if (OnGone) OnGone();
    FInGone = false;
}

}  // namespace cb::charteditors
