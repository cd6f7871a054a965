#include "upgrade/NetThread.h"

#include "platform/rtl/ErrorLog.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace cb::upgrade {

struct TNetWorkerState {
    std::mutex M;
    std::condition_variable CV;
    std::atomic<bool> Terminated{false};
    std::atomic<bool> Abandoned{false};
    std::atomic<bool> Running{false};
    std::atomic<bool> Finished{false};
    bool CatchExceptions = true;
    TThreadPriority Priority = TThreadPriority::tpNormal;
    TNetCustomThread::TExecuteEvent Execute;
    TNetCustomThread::TExceptionEvent OnException;
    TNetCustomThread::TFinishEvent OnFinish;
};

namespace {

std::atomic<int> GLiveWorkers{0};

bool OnUserInterfaceThread() {
    auto* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

// Wakes the user-interface thread's event loop (a start waiting for its
// worker sleeps in it).
void WakeUserInterface() {
    if (auto* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [] {}, Qt::QueuedConnection);
}

struct TSyncCall {
    std::function<void()> Fn;
    std::exception_ptr Error;
    bool Done = false;
};

void RunWorker(std::shared_ptr<TNetWorkerState> S) {
    cb::os::ApplyToCurrentThread(S->Priority);
    TNetWorker worker(S);
    S->Running = true;
    try {
        if (S->Execute) S->Execute(worker);
    } catch (const std::exception& e) {
        if (S->CatchExceptions && S->OnException && !S->Abandoned) {
            std::string message = e.what();
            try {
                worker.Synchronize([S, message] { S->OnException(message); });
            } catch (...) {
                cb::rtl::LogCurrentException("Reporting a network worker's error");
            }
        }
    } catch (...) {
        if (S->CatchExceptions && S->OnException && !S->Abandoned) {
            try {
                worker.Synchronize([S] { S->OnException("Unknown error"); });
            } catch (...) {
                cb::rtl::LogCurrentException("Reporting a network worker's error");
            }
        }
    }
    S->Running = false;
    if (S->OnFinish && !S->Abandoned) {
        try {
            // finished as soon as the finish step has run, so that it may start the next request
            worker.Synchronize([S] {
                auto done = [S] { S->Finished = true; };
                try {
                    S->OnFinish();
                } catch (...) {
                    done();
                    throw;
                }
                done();
            });
        } catch (...) {
            cb::rtl::LogCurrentException("Finishing a network worker");
        }
    }
    S->Finished = true;
    WakeUserInterface();
    // Handlers may hold the component's resources: drop them here, on this
    // thread, only once the worker is done with them.
    --GLiveWorkers;
}

}  // namespace

bool TNetWorker::Terminated() const {
    return FState->Terminated || FState->Abandoned;
}

bool TNetWorker::Abandoned() const {
    return FState->Abandoned;
}

bool TNetWorker::Synchronize(const std::function<void()>& Fn) {
    if (FState->Abandoned) return false;
    if (OnUserInterfaceThread()) {
        Fn();
        return true;
    }
    auto call = std::make_shared<TSyncCall>();
    call->Fn = Fn;
    auto state = FState;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [state, call] {
            // Abandoned is set on this thread, so the check cannot race.
            if (!state->Abandoned) {
                try {
                    call->Fn();
                } catch (...) {
                    call->Error = std::current_exception();
                }
            }
            {
                std::lock_guard<std::mutex> lock(state->M);
                call->Done = true;
            }
            state->CV.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(FState->M);
    FState->CV.wait(lock, [&] { return call->Done || FState->Abandoned; });
    if (!call->Done) return false;
    if (call->Error) std::rethrow_exception(call->Error);
    return !FState->Abandoned;
}

TNetCustomThread::TNetCustomThread() = default;

TNetCustomThread::~TNetCustomThread() {
    *FAlive = false;
    if (IsRunning()) Stop(true);
}

bool TNetCustomThread::IsRunning() const {
    return FState && !FState->Abandoned && !FState->Finished;
}

void TNetCustomThread::Stop(bool Hard) {
    if (!FState) return;
    FState->Terminated = true;
    if (!Hard) return;
    {
        std::lock_guard<std::mutex> lock(FState->M);
        FState->Abandoned = true;
    }
    FState->CV.notify_all();
    FState.reset();
}

void TNetCustomThread::Start() {
    Stop(true);
    auto S = std::make_shared<TNetWorkerState>();
    S->CatchExceptions = FCatchExceptions;
    S->Priority = FPriority;
    S->Execute = FOnExecute;
    S->OnException = FOnException;
    S->OnFinish = FOnFinish;
    FState = S;
    ++GLiveWorkers;
    std::thread(RunWorker, S).detach();
    if (!FWaitThread) return;
    auto alive = FAlive;
    while (!S->Finished && !S->Abandoned) {
        if (QCoreApplication::instance() && OnUserInterfaceThread()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (!*alive) return;  // freed by a handler while we waited
    }
}

int TNetCustomThread::LiveWorkers() {
    return GLiveWorkers;
}

bool TNetCustomThread::WaitForWorkers(int TimeoutMs) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
    while (GLiveWorkers > 0 && std::chrono::steady_clock::now() < until) {
        if (QCoreApplication::instance() && OnUserInterfaceThread())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return GLiveWorkers == 0;
}

}  // namespace cb::upgrade
