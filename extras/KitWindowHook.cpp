#include "extras/KitWindowHook.h"

#include <QEvent>

namespace cb::extras {

TKitWndProcHook& TKitWndProcHook::Instance() {
    static TKitWndProcHook* instance = new TKitWndProcHook;  // lives to the end of the program
    return *instance;
}

bool TKitWndProcHook::AddHandler(QObject* control, THookList list, const void* key, TKitHookHandler handler) {
    const int index = list;
    if (!control || index < Before || index > After || !handler) return false;
    auto it = FInfos.find(control);
    if (it == FInfos.end()) {
        it = FInfos.emplace(control, Infos{}).first;
        it->second.destroyed =
            connect(control, &QObject::destroyed, this, [this, control]() { FInfos.erase(control); });
        control->installEventFilter(this);
    }
    it->second.lists[index].push_back({key, std::make_shared<TKitHookHandler>(std::move(handler))});
    return true;
}

bool TKitWndProcHook::RemoveHandler(QObject* control, THookList hookList, const void* key) {
    const int index = hookList;
    if (!control || index < Before || index > After) return false;
    auto it = FInfos.find(control);
    if (it == FInfos.end()) return false;
    auto& list = it->second.lists[index];
    for (auto n = list.begin(); n != list.end(); ++n)
        if (n->key == key) {
            list.erase(n);
            break;
        }
    if (it->second.lists[0].empty() && it->second.lists[1].empty()) {
        control->removeEventFilter(this);
        disconnect(it->second.destroyed);
        FInfos.erase(it);
    }
    return true;
}

bool TKitWndProcHook::eventFilter(QObject* watched, QEvent* event) {
    auto it = FInfos.find(watched);
    if (it == FInfos.end()) return false;
    // Copies: a handler may add or remove handlers.
    const std::vector<Node> before = it->second.lists[Before];
    const std::vector<Node> after = it->second.lists[After];
    // A handler removed by an earlier one (its owner may be gone) is skipped.
    auto live = [this, watched](int index, const Node& node) {
        auto at = FInfos.find(watched);
        if (at == FInfos.end()) return false;
        for (const Node& n : at->second.lists[index])
            if (n.handler == node.handler) return true;
        return false;
    };
    for (const Node& n : before)
        if (live(Before, n) && (*n.handler)(watched, event)) return true;
    if (after.empty()) return false;
    // Deliver to the object here so the "after" handlers run once it is done.
    QPointer<QObject> guard(watched);
    watched->event(event);
    if (!guard) return true;
    for (const Node& n : after)
        if (live(After, n) && (*n.handler)(watched, event)) break;
    return true;
}

TKitWindowHook::TKitWindowHook(QObject* owner) : QObject(owner) {}

TKitWindowHook::~TKitWindowHook() {
    unhook();
}

void TKitWindowHook::hook() {
    unhook();
    if (!FActive || !FControl) return;
    auto& service = TKitWndProcHook::Instance();
    if (FBefore)
        service.AddHandler(FControl, TKitWndProcHook::Before, this,
                           [this](QObject*, QEvent* e) { return BeforeHandler(e); });
    if (FAfter)
        service.AddHandler(FControl, TKitWndProcHook::After, this,
                           [this](QObject*, QEvent* e) { return AfterHandler(e); });
    FHooked = true;
}

void TKitWindowHook::unhook() {
    if (!FHooked) return;
    FHooked = false;
    if (!FControl) return;
    auto& service = TKitWndProcHook::Instance();
    service.RemoveHandler(FControl, TKitWndProcHook::Before, this);
    service.RemoveHandler(FControl, TKitWndProcHook::After, this);
}

void TKitWindowHook::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    hook();
}

void TKitWindowHook::SetControl(QObject* control) {
    if (control == FControl) return;
    unhook();
    FControl = control;
    hook();
}

void TKitWindowHook::SetBeforeMessage(TMessageEvent handler) {
    FBefore = std::move(handler);
    hook();
}

void TKitWindowHook::SetAfterMessage(TMessageEvent handler) {
    FAfter = std::move(handler);
    hook();
}

bool TKitWindowHook::BeforeHandler(QEvent* event) {
    bool handled = false;
    if (FBefore) FBefore(*this, event, handled);
    return handled;
}

bool TKitWindowHook::AfterHandler(QEvent* event) {
    bool handled = false;
    if (FAfter) FAfter(*this, event, handled);
    return handled;
}

}  // namespace cb::extras
