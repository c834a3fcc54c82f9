#include "parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <utility>
#include <vector>

namespace quarn {

namespace {

// 0: the machine's count.
std::atomic<std::size_t> g_workerCount{0};
// Null: std::thread itself.
std::atomic<const ThreadStarter*> g_threadStarter{nullptr};

std::thread StartHelper(std::function<void()> job) {
    const ThreadStarter* starter = g_threadStarter.load(std::memory_order_relaxed);
    return starter ? (*starter)(std::move(job)) : std::thread(std::move(job));
}

}  // namespace

std::size_t WorkerCount() {
    if (const std::size_t set = g_workerCount.load(std::memory_order_relaxed); set != 0)
        return set;
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 16);
}

std::size_t ChunkCount(std::size_t count, std::size_t minimumPerWorker) {
    return std::clamp<std::size_t>(count / std::max<std::size_t>(minimumPerWorker, 1), 1,
                                   WorkerCount());
}

void ParallelChunks(std::size_t count, std::size_t minimumPerWorker,
                    const std::function<void(std::size_t, std::size_t, std::size_t)>& work) {
    const std::size_t chunks = ChunkCount(count, minimumPerWorker);
    std::vector<std::exception_ptr> faults(chunks);
    const auto run = [&](std::size_t chunk) {
        try {
            work(chunk, count * chunk / chunks, count * (chunk + 1) / chunks);
        } catch (...) {
            faults[chunk] = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(chunks - 1);
    for (std::size_t chunk = 1; chunk < chunks; ++chunk) {
        try {
            helpers.push_back(StartHelper([&run, chunk] { run(chunk); }));
        } catch (const std::exception&) {
            // No thread to be had (none left, or no memory for one): the chunk runs here, and
            // the threads already started are still joined below.
            run(chunk);
        }
    }
    run(0);
    for (std::thread& helper : helpers)
        helper.join();
    for (const std::exception_ptr& fault : faults)
        if (fault)
            std::rethrow_exception(fault);
}

void ForEachRowBand(std::int64_t rows, std::int64_t minRowsPerBand,
                    const std::function<void(std::int64_t begin, std::int64_t end)>& work) {
    if (rows <= 0)
        return;
    ParallelChunks(std::size_t(rows), std::size_t(std::max<std::int64_t>(minRowsPerBand, 1)),
                   [&](std::size_t, std::size_t begin, std::size_t end) {
                       work(std::int64_t(begin), std::int64_t(end));
                   });
}

ScopedWorkerCount::ScopedWorkerCount(std::size_t workers)
    : m_previous(g_workerCount.exchange(std::max<std::size_t>(workers, 1))) {}

ScopedWorkerCount::~ScopedWorkerCount() {
    g_workerCount.store(m_previous);
}

ScopedThreadStarter::ScopedThreadStarter(ThreadStarter starter)
    : m_starter(std::move(starter)), m_previous(g_threadStarter.exchange(&m_starter)) {}

ScopedThreadStarter::~ScopedThreadStarter() {
    g_threadStarter.store(m_previous);
}

}  // namespace quarn
