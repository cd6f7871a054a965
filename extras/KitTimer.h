#pragma once
// A timer component: fires OnTimer every Interval milliseconds while it is
// enabled and has a handler. It runs on a single-shot Qt timer on the
// user-interface thread, armed again after each event, so an interval
// changed inside the event applies to the next wait. Threaded, SyncEvent
// and ThreadPriority are kept as settings; every event runs on the
// user-interface thread.
#include "platform/os/ThreadPriority.h"
#include <cstdint>
#include <exception>

#include <functional>
#include <memory>

class QTimer;

namespace cb::extras {

using cb::os::TThreadPriority;
using enum cb::os::TThreadPriority;

class TKitTimer {
public:
    TKitTimer();
    ~TKitTimer();
    TKitTimer(const TKitTimer&) = delete;
    TKitTimer& operator=(const TKitTimer&) = delete;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    std::uint32_t Interval() const { return FInterval; }
    // 0 stops firing.
    void SetInterval(std::uint32_t ms);
    bool SyncEvent() const { return FSyncEvent; }
    void SetSyncEvent(bool v) { FSyncEvent = v; }
    bool Threaded() const { return FThreaded; }
    void SetThreaded(bool v) { FThreaded = v; }
    TThreadPriority ThreadPriority() const { return FPriority; }
    void SetThreadPriority(TThreadPriority p) { FPriority = p; }
    const std::function<void()>& OnTimer() const { return FOnTimer; }
    void SetOnTimer(std::function<void()> handler);

    // Calls OnTimer when enabled, assigned and not being destroyed.
    void Fire();
    // Runs `fn` now (every event already runs on the user-interface thread).
    void RunSynchronized(const std::function<void()>& fn) { fn(); }
    // Reports an exception an event raised; the timer goes on.
    std::function<void(const std::exception&)> OnException;
    // The timer is armed (for tests).
    bool Active() const;
    // Tests step the timer without waiting.
    void FireNowForTest() { onTimeout(); }

private:
    void Rearm();
    void onTimeout();
    std::unique_ptr<QTimer> FTimer;
    bool FEnabled = true;
    std::uint32_t FInterval = 1000;
    bool FSyncEvent = true;
    bool FThreaded = true;
    TThreadPriority FPriority = tpNormal;
    std::function<void()> FOnTimer;
    bool FDestroying = false;
    bool FFiring = false;
};

}  // namespace cb::extras
