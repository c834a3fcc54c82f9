#include "parallel.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace quarn {

std::size_t WorkerCount() {
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
            helpers.emplace_back(run, chunk);
        } catch (const std::system_error&) {
            run(chunk);  // no thread to be had: the chunk runs here
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

}  // namespace quarn
