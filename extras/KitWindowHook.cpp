#include "extras/KitWindowHook.h"

#include <QEvent>

namespace cb::extras {

TKitWndProcHook& TKitWndProcHook::Instance() {
    static TKitWndProcHook* instance = new TKitWndProcHook; // lives to the end of the program
    return *instance;
}

bool TKitWndProcHook::AddHandler(QObject* control, int index, const void* key, TKitHookHandler handler) {
    if (!control || index < 0 || index > 1 || !handler)
        return false;
    auto it = fInfos.find(control);
    if (it == fInfos.end()) {
        it = fInfos.emplace(control, Infos{}).first;
        it->second.destroyed = connect(control, &QObject::destroyed, this, [this, control]() {
            fInfos.erase(control);
        });
        control->installEventFilter(this);
    }
    it->second.lists[index].push_back({key, std::make_shared<TKitHookHandler>(std::move(handler))});
    return true;
}

bool TKitWndProcHook::RemoveHandler(QObject* control, int index, const void* key) {
    if (!control || index < 0 || index > 1)
        return false;
    auto it = fInfos.find(control);
    if (it == fInfos.end())
        return false;
    auto& list = it->second.lists[index];
    for (auto n = list.begin(); n != list.end(); ++n)
        if (n->key == key) {
            list.erase(n);
            break;
        }
    if (it->second.lists[0].empty() && it->second.lists[1].empty()) {
        control->removeEventFilter(this);
        disconnect(it->second.destroyed);
        fInfos.erase(it);
    }
    return true;
}

bool TKitWndProcHook::eventFilter(QObject* watched, QEvent* event) {
    auto it = fInfos.find(watched);
    if (it == fInfos.end())
        return false;
    // Copies: a handler may add or remove handlers.
    const std::vector<Node> before = it->second.lists[Before];
    const std::vector<Node> after = it->second.lists[After];
    // A handler removed by an earlier one (its owner may be gone) is skipped.
    auto live = [this, watched](int index, const Node& node) {
        auto at = fInfos.find(watched);
        if (at == fInfos.end())
            return false;
        for (const Node& n : at->second.lists[index])
            if (n.handler == node.handler)
                return true;
        return false;
    };
    for (const Node& n : before)
        if (live(Before, n) && (*n.handler)(watched, event))
            return true;
    if (after.empty())
        return false;
    // Deliver to the object here so the "after" handlers run once it is done.
    QPointer<QObject> guard(watched);
    watched->event(event);
    if (!guard)
        return true;
    for (const Node& n : after)
        if (live(After, n) && (*n.handler)(watched, event))
            break;
    return true;
}

TKitWindowHook::TKitWindowHook(QObject* owner) : QObject(owner) {}

TKitWindowHook::~TKitWindowHook() { unhook(); }

void TKitWindowHook::hook() {
    unhook();
    if (!fActive || !fControl)
        return;
    auto& service = TKitWndProcHook::Instance();
    if (fBefore)
        service.AddHandler(fControl, TKitWndProcHook::Before, this,
                           [this](QObject*, QEvent* e) { return BeforeHandler(e); });
    if (fAfter)
        service.AddHandler(fControl, TKitWndProcHook::After, this,
                           [this](QObject*, QEvent* e) { return AfterHandler(e); });
    fHooked = true;
}

void TKitWindowHook::unhook() {
    if (!fHooked)
        return;
    fHooked = false;
    if (!fControl)
        return;
    auto& service = TKitWndProcHook::Instance();
    service.RemoveHandler(fControl, TKitWndProcHook::Before, this);
    service.RemoveHandler(fControl, TKitWndProcHook::After, this);
}

void TKitWindowHook::SetActive(bool value) {
    if (value == fActive)
        return;
    fActive = value;
    hook();
}

void TKitWindowHook::SetControl(QObject* control) {
    if (control == fControl)
        return;
    unhook();
    fControl = control;
    hook();
}

void TKitWindowHook::SetBeforeMessage(TMessageEvent handler) {
    fBefore = std::move(handler);
    hook();
}

void TKitWindowHook::SetAfterMessage(TMessageEvent handler) {
    fAfter = std::move(handler);
    hook();
}

bool TKitWindowHook::BeforeHandler(QEvent* event) {
    bool handled = false;
    if (fBefore)
        fBefore(*this, event, handled);
    return handled;
}

bool TKitWindowHook::AfterHandler(QEvent* event) {
    bool handled = false;
    if (fAfter)
        fAfter(*this, event, handled);
    return handled;
}

} // namespace cb::extras
