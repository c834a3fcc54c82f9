// Splitting a loop over the machine's cores while the calling thread waits.
//
// ParallelChunks cuts 0..count into consecutive chunks, one per worker when each gets enough
// items and one in all otherwise, and runs work(chunk, begin, end) for each, the first chunk
// on the calling thread. It returns when every chunk is done; an exception from a chunk is
// rethrown then, the earliest chunk's first. A chunk whose thread cannot be started (none left,
// or no memory for one) runs on the calling thread instead. Work that writes only what its own
// chunk owns therefore gives the same result as one plain loop. ForEachRowBand is the same over the
// rows of a picture or grid.
//
// The worker count is the machine's; ScopedWorkerCount sets it, and ScopedThreadStarter the
// way helper threads are started, while they live, so that tests can take the paths of any
// number of workers and of refused threads on any machine. They are set from one thread while
// no loop runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <thread>

namespace quarn {

/// How many workers the loops here use: the cores (at most 16), or the count a
/// ScopedWorkerCount sets; at least one.
std::size_t WorkerCount();

/// Runs work over count items in ChunkCount(count, minimumPerWorker) chunks.
void ParallelChunks(
    std::size_t count, std::size_t minimumPerWorker,
    const std::function<void(std::size_t chunk, std::size_t begin, std::size_t end)>& work);

/// The number of chunks ParallelChunks cuts count items into.
std::size_t ChunkCount(std::size_t count, std::size_t minimumPerWorker);

/// ParallelChunks over the rows 0..rows-1 of a picture or grid: work(begin, end) for each band.
void ForEachRowBand(std::int64_t rows, std::int64_t minRowsPerBand,
                    const std::function<void(std::int64_t begin, std::int64_t end)>& work);

/// Starts a thread running job; throws, as std::thread does, when the system gives none
/// (std::system_error) or there is no memory for one.
using ThreadStarter = std::function<std::thread(std::function<void()> job)>;

class ScopedWorkerCount {
  public:
    /// WorkerCount() answers workers (at least one) until this goes; then the count before.
    explicit ScopedWorkerCount(std::size_t workers);
    ~ScopedWorkerCount();
    ScopedWorkerCount(const ScopedWorkerCount&) = delete;
    ScopedWorkerCount& operator=(const ScopedWorkerCount&) = delete;

  private:
    std::size_t m_previous;
};

class ScopedThreadStarter {
  public:
    /// ParallelChunks starts its helper threads through starter until this goes.
    explicit ScopedThreadStarter(ThreadStarter starter);
    ~ScopedThreadStarter();
    ScopedThreadStarter(const ScopedThreadStarter&) = delete;
    ScopedThreadStarter& operator=(const ScopedThreadStarter&) = delete;

  private:
    ThreadStarter m_starter;
    const ThreadStarter* m_previous;
};

}  // namespace quarn
