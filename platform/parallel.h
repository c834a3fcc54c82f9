// Splitting a loop over the machine's cores while the calling thread waits.
//
// ParallelChunks cuts 0..count into consecutive chunks, one per worker when each gets enough
// items and one in all otherwise, and runs work(chunk, begin, end) for each, the first chunk
// on the calling thread. It returns when every chunk is done; an exception from a chunk is
// rethrown then, the earliest chunk's first. Work that writes only what its own chunk owns
// therefore gives the same result as one plain loop. ForEachRowBand is the same over the rows
// of a picture or grid.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace quarn {

/// How many workers the loops here use: the cores, at least one.
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

}  // namespace quarn
