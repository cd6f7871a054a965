#pragma once
// TNetCustomThread: runs one piece of work at a time on a worker thread and
// lets the work call back into the user-interface thread synchronously.
//
// Every start gets a fresh worker. A hard stop abandons the running worker at
// once: its later calls to the user-interface thread are skipped, its finish
// step never runs, and the thread ends on its own once the work notices
// (Terminated() / Abandoned()). The work and the worker share only a state
// object, so a worker never touches a component that was freed.
#include "platform/os/ThreadPriority.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace cb::upgrade {

using cb::os::TThreadPriority;

struct TNetWorkerState;

// What the work sees of its worker while it runs on the worker thread.
class TNetWorker {
public:
    explicit TNetWorker(std::shared_ptr<TNetWorkerState> State) : FState(std::move(State)) {}
    // Soft or hard stop requested.
    bool Terminated() const;
    // Hard stop: nothing the worker does is wanted any more.
    bool Abandoned() const;
    // Runs Fn on the user-interface thread and waits for it. False when the
    // worker was abandoned (Fn did not run, or its result is not wanted); an
    // exception raised by Fn is raised again here.
    bool Synchronize(const std::function<void()>& Fn);

private:
    std::shared_ptr<TNetWorkerState> FState;
};

class TNetCustomThread {
public:
    using TExecuteEvent = std::function<void(TNetWorker& Worker)>;
    using TExceptionEvent = std::function<void(const std::string& Message)>;
    using TFinishEvent = std::function<void()>;

    TNetCustomThread();
    virtual ~TNetCustomThread();
    TNetCustomThread(const TNetCustomThread&) = delete;
    TNetCustomThread& operator=(const TNetCustomThread&) = delete;

    // Runs the work once on a fresh worker. With WaitThread set it returns
    // only after the finish step has ran, serving the user-interface
    // thread's events meanwhile.
    virtual void Start();
    bool IsRunning() const;
    // Hard: the worker is abandoned at once and its finish step never runs.
    // Soft: the work is asked to stop (Terminated()).
    void Stop(bool Hard);

    TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority Value) { FPriority = Value; }
    bool WaitThread() const { return FWaitThread; }
    void SetWaitThread(bool Value) { FWaitThread = Value; }
    bool CatchExceptions() const { return FCatchExceptions; }
    void SetCatchExceptions(bool Value) { FCatchExceptions = Value; }

    // The work (worker thread), the exception notice and the finish step
    // (both on the user-interface thread).
    void SetOnExecute(TExecuteEvent Handler) { FOnExecute = std::move(Handler); }
    void SetOnException(TExceptionEvent Handler) { FOnException = std::move(Handler); }
    void SetOnFinish(TFinishEvent Handler) { FOnFinish = std::move(Handler); }

    // Worker threads still running in the process (abandoned ones included).
    static int LiveWorkers();
    // Waits up to TimeoutMs for every worker thread to end; true when none is left.
    static bool WaitForWorkers(int TimeoutMs);

private:
    std::shared_ptr<TNetWorkerState> FState;
    TThreadPriority FPriority = TThreadPriority::tpNormal;
    bool FWaitThread = false;
    bool FCatchExceptions = true;
    TExecuteEvent FOnExecute;
    TExceptionEvent FOnException;
    TFinishEvent FOnFinish;
    // Cleared by the destructor; a start waiting in its event loop checks it
    // before touching the component again.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace cb::upgrade
