// The engine's worker pool and its thread-count setting.
#include "olap/engine/WorkerPool.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace {

using namespace cb::olap;

TEST(WorkerPoolTest, ThreadCountFromSettingOrEnvironment) {
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    struct Case {
        size_t setting;
        const char* env;  // nullptr: unset
        size_t expected;
    } cases[] = {
        {0, nullptr, cores}, {0, "3", 3},    {0, "1", 1}, {0, "0", cores}, {0, "two", cores},
        {0, "4x", cores},    {0, "", cores}, {2, "5", 2}, {7, nullptr, 7}, {0, "100000", 256},
    };
    for (const Case& c : cases) {
        if (c.env)
            setenv("CB_ENGINE_THREADS", c.env, 1);
        else
            unsetenv("CB_ENGINE_THREADS");
        SetEngineThreadCount(c.setting);
        EXPECT_EQ(EngineThreadCount(), c.expected) << c.setting << " / " << (c.env ? c.env : "unset");
    }
    unsetenv("CB_ENGINE_THREADS");
    SetEngineThreadCount(0);
}

TEST(WorkerPoolTest, EveryChunkOnceOnFewerWorkersThanAsked) {
    WorkerPool pool;
    for (size_t workers : {1, 3, 8}) {
        for (size_t chunks : {0, 1, 5, 200}) {
            std::vector<std::atomic<int>> done(chunks);
            std::atomic<size_t> badWorker{0};
            pool.Run(workers, chunks, [&](size_t worker, size_t chunk) {
                if (worker >= workers) ++badWorker;
                ++done[chunk];
            });
            for (size_t c = 0; c < chunks; ++c) EXPECT_EQ(done[c], 1) << workers << " workers, chunk " << c;
            EXPECT_EQ(badWorker, 0u);
        }
    }
}

TEST(WorkerPoolTest, FirstErrorReachesTheCallerAndThePoolServesOn) {
    WorkerPool pool;
    std::atomic<int> ran{0};
    EXPECT_THROW(pool.Run(4, 1000,
                          [&](size_t, size_t chunk) {
                              ++ran;
                              if (chunk == 0) throw std::runtime_error("chunk 0");
                              std::this_thread::sleep_for(std::chrono::microseconds(200));
                          }),
                 std::runtime_error);
    EXPECT_LT(ran, 1000);  // chunks not yet started are skipped
    std::atomic<int> sum{0};
    pool.Run(4, 10, [&](size_t, size_t chunk) { sum += int(chunk); });
    EXPECT_EQ(sum, 45);
}

// A child forked from a process whose pool has threads has none of them:
// its work runs on the calling thread instead of waiting for ever.
TEST(WorkerPoolTest, ForkedChildRunsItsWorkAlone) {
    WorkerPool pool;
    pool.Run(4, 8, [](size_t, size_t) {});
    const pid_t pid = ::fork();
    if (pid == 0) {
        size_t sum = 0;
        pool.Run(4, 10, [&](size_t worker, size_t chunk) { sum += worker == 0 ? chunk : 100; });
        ::_exit(sum == 45 ? 0 : 1);
    }
    int status = -1;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
