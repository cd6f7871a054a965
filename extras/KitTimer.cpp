#include "extras/KitTimer.h"

#include "platform/rtl/ScopeGuard.h"

#include <QTimer>

namespace cb::extras {

TKitTimer::TKitTimer() : FTimer(std::make_unique<QTimer>()) {
    FTimer->setSingleShot(true);
    QObject::connect(FTimer.get(), &QTimer::timeout, [this]() { onTimeout(); });
}

TKitTimer::~TKitTimer() {
    FDestroying = true;
    FEnabled = false;
    FOnTimer = nullptr;
    FTimer->stop();
}

void TKitTimer::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    Rearm();
}

void TKitTimer::SetInterval(std::uint32_t ms) {
    if (ms == FInterval) return;
    FInterval = ms;
    if (!FFiring) Rearm();
}

void TKitTimer::SetOnTimer(std::function<void()> handler) {
    const bool changed = bool(handler) != bool(FOnTimer);
    FOnTimer = std::move(handler);
    if (changed) Rearm();
}

bool TKitTimer::Active() const {
    return FTimer->isActive();
}

void TKitTimer::Rearm() {
    FTimer->stop();
    if (!FDestroying && FInterval != 0 && FEnabled && FOnTimer) FTimer->start(int(FInterval));
}

void TKitTimer::Fire() {
    if (FEnabled && FOnTimer && !FDestroying) FOnTimer();
}

void TKitTimer::onTimeout() {
    FFiring = true;
    {
        const auto done = cb::rtl::OnScopeExit([this] { FFiring = false; });
        try {
            Fire();
        } catch (const std::exception& e) {
            // An event's failure stops nothing; the next event comes as usual.
            if (OnException) OnException(e);
        }
    }
    if (!FDestroying) Rearm();
}

}  // namespace cb::extras
