#include "olap/engine/WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace cb::olap {

namespace {

std::atomic<size_t> gThreadSetting{0};

// At most this many threads, whatever the setting says.
constexpr size_t kMaxThreads = 256;

size_t DefaultThreadCount() {
    if (const char* env = std::getenv("CB_ENGINE_THREADS")) {
        size_t n = 0;
        const char* end = env + std::strlen(env);
        auto [p, ec] = std::from_chars(env, end, n);
        if (ec == std::errc() && p == end && n >= 1) return std::min(n, kMaxThreads);
    }
    return std::clamp<size_t>(std::thread::hardware_concurrency(), 1, kMaxThreads);
}

}  // namespace

void SetEngineThreadCount(size_t threads) {
    gThreadSetting = std::min(threads, kMaxThreads);
}

size_t EngineThreadCount() {
    const size_t n = gThreadSetting;
    return n ? n : DefaultThreadCount();
}

WorkerPool& WorkerPool::Shared() {
    static WorkerPool pool;
    return pool;
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(FMutex);
        FStop = true;
    }
    FWake.notify_all();
    for (std::thread& t : FThreads) t.join();
}

void WorkerPool::Run(size_t workers, size_t chunks, const std::function<void(size_t, size_t)>& fn) {
    workers = std::min(workers, chunks);
    std::unique_lock running(FRunMutex, std::try_to_lock);
    if (workers <= 1 || !running || (!FThreads.empty() && FOwner != ::getpid())) {
        for (size_t c = 0; c < chunks; ++c) fn(0, c);
        return;
    }
    {
        std::lock_guard lock(FMutex);
        FOwner = ::getpid();
        while (FThreads.size() < workers - 1) {
            const size_t index = FThreads.size();
            FThreads.emplace_back([this, index] { Loop(index); });
        }
        FFn = &fn;
        FChunks = chunks;
        FWorkers = workers;
        FNext = 0;
        FError = nullptr;
        FPending = workers - 1;
        ++FGeneration;
    }
    FWake.notify_all();
    Work(0);
    std::exception_ptr error;
    {
        std::unique_lock lock(FMutex);
        FDone.wait(lock, [&] { return FPending == 0; });
        error = FError;
        FFn = nullptr;
    }
    if (error) std::rethrow_exception(error);
}

void WorkerPool::Loop(size_t index) {
    uint64_t seen = 0;
    std::unique_lock lock(FMutex);
    for (;;) {
        FWake.wait(lock, [&] { return FStop || FGeneration != seen; });
        if (FStop) return;
        seen = FGeneration;
        if (index + 1 >= FWorkers) continue;  // not needed for this job
        lock.unlock();
        Work(index + 1);
        lock.lock();
        if (--FPending == 0) FDone.notify_one();
    }
}

void WorkerPool::Work(size_t worker) {
    for (;;) {
        size_t chunk;
        {
            std::lock_guard lock(FMutex);
            if (FNext >= FChunks) return;
            chunk = FNext++;
        }
        try {
            (*FFn)(worker, chunk);
        } catch (...) {
            std::lock_guard lock(FMutex);
            if (!FError) FError = std::current_exception();
            FNext = FChunks;
        }
    }
}

}  // namespace cb::olap
