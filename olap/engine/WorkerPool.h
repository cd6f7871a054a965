#pragma once
// Threads that stay alive between queries and share out a query's work in
// chunks: a thread that finishes a chunk takes the next one, so uneven
// chunks and a busy core slow a query less than fixed slices would.
//
// The number of threads a query uses is a setting: SetEngineThreadCount, or
// the environment variable CB_ENGINE_THREADS (a whole number of 1 or more)
// read when the setting is 0 (the default); without either, one per core.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace cb::olap {

// 0 restores the default (the environment variable, else one per core).
void SetEngineThreadCount(size_t threads);
// The threads a query may use now: 1 or more.
size_t EngineThreadCount();

class WorkerPool {
public:
    // The pool every query uses.
    static WorkerPool& Shared();

    WorkerPool() = default;
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Calls fn(worker, chunk) once for every chunk in [0, chunks), on at most
    // `workers` threads at once (the calling thread is worker 0; worker
    // indexes stay below `workers`), and returns when all chunks are done.
    // The first exception thrown by fn is rethrown here; chunks not yet
    // started are then skipped. While the pool serves another caller, and in
    // a child process forked from the pool's (which has none of its
    // threads), the work runs on the calling thread alone.
    void Run(size_t workers, size_t chunks, const std::function<void(size_t worker, size_t chunk)>& fn);

private:
    void Loop(size_t index);
    void Work(size_t worker);

    std::mutex FRunMutex;  // one job at a time
    std::mutex FMutex;     // guards what follows
    std::condition_variable FWake, FDone;
    std::vector<std::thread> FThreads;
    int FOwner = 0;  // process id the threads run in
    uint64_t FGeneration = 0;
    bool FStop = false;
    size_t FPending = 0;  // helper threads still working on the job
    // The job.
    const std::function<void(size_t, size_t)>* FFn = nullptr;
    size_t FChunks = 0;
    size_t FWorkers = 0;
    size_t FNext = 0;  // next chunk to hand out (under FMutex)
    std::exception_ptr FError;
};

}  // namespace cb::olap
