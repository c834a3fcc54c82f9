// The loops split over workers, at worker counts set for the test whatever the machine has.
#include "parallel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace quarn {
namespace {

struct Chunk {
    std::size_t index, begin, end;
    std::thread::id thread;
};

// Runs ParallelChunks and gives the chunks it ran, in chunk order.
std::vector<Chunk> RunChunks(std::size_t count, std::size_t minimumPerWorker) {
    std::mutex guard;
    std::vector<Chunk> ran;
    ParallelChunks(count, minimumPerWorker,
                   [&](std::size_t chunk, std::size_t begin, std::size_t end) {
                       const std::lock_guard<std::mutex> lock(guard);
                       ran.push_back({chunk, begin, end, std::this_thread::get_id()});
                   });
    std::sort(ran.begin(), ran.end(),
              [](const Chunk& a, const Chunk& b) { return a.index < b.index; });
    return ran;
}

TEST(ParallelChunks, CutsConsecutiveChunksThatCoverEveryItem) {
    const struct {
        const char* reason;
        std::size_t workers, count, minimum, chunks;
    } cases[] = {
        {"enough for every worker", 4, 100, 10, 4},
        {"enough for three workers only", 4, 39, 10, 3},
        {"fewer than the minimum: one chunk", 4, 9, 10, 1},
        {"nothing: one empty chunk", 4, 0, 10, 1},
        {"a minimum of 0 counts as 1", 3, 10, 0, 3},
        {"one worker", 1, 1000, 1, 1},
        {"uneven sizes, none under the minimum", 5, 23, 4, 5},
        {"more workers than items", 8, 3, 1, 3},
        {"two full shares of the hidden-surface drawing", 2, 32768, 16384, 2},
        {"one item short of two shares", 2, 32767, 16384, 1},
    };
    for (const auto& c : cases) {
        const ScopedWorkerCount workers(c.workers);
        EXPECT_EQ(ChunkCount(c.count, c.minimum), c.chunks) << c.reason;
        const std::vector<Chunk> ran = RunChunks(c.count, c.minimum);
        ASSERT_EQ(ran.size(), c.chunks) << c.reason;
        std::size_t next = 0;
        for (std::size_t k = 0; k < ran.size(); ++k) {
            EXPECT_EQ(ran[k].index, k) << c.reason << ": each chunk once";
            EXPECT_EQ(ran[k].begin, next) << c.reason << ", chunk " << k << ": consecutive";
            next = ran[k].end;
            const std::size_t size = ran[k].end - ran[k].begin;
            if (c.chunks > 1) {
                EXPECT_GE(size, std::max<std::size_t>(c.minimum, 1)) << c.reason << ", chunk " << k;
            }
            // Even shares: none more than one item over.
            EXPECT_LE(size, c.count / c.chunks + 1) << c.reason << ", chunk " << k;
        }
        EXPECT_EQ(next, c.count) << c.reason << ": the last chunk ends at the count";
    }
}

// Refuses the helper starts whose numbers (from 0) are in refused, as the system does when it
// has no thread to give, or for want of memory; starts the others.
ThreadStarter Refusing(std::set<std::size_t> refused, std::size_t& asked, bool noMemory = false) {
    return [refused, &asked, noMemory](std::function<void()> job) {
        if (refused.count(asked++)) {
            if (noMemory)
                throw std::bad_alloc();
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        return std::thread(std::move(job));
    };
}

TEST(ParallelChunks, RethrowsTheEarliestChunksFaultOnceEveryChunkIsDone) {
    const struct {
        const char* reason;
        std::set<std::size_t> failing;
        const char* rethrown;
        std::set<std::size_t> refused = {};  // helper starts, chunk 1 first
    } cases[] = {
        {"all but the first fail", {1, 2, 3}, "chunk 1"},
        {"the first and the last fail", {0, 3}, "chunk 0"},
        {"the last two fail", {2, 3}, "chunk 2"},
        {"only the last fails", {3}, "chunk 3"},
        // Were the fault of a chunk run in place let out at once, the chunks already started
        // would be left running.
        {"a chunk run in place fails", {1, 3}, "chunk 1", {0}},
    };
    const ScopedWorkerCount workers(4);
    for (const auto& c : cases) {
        std::size_t asked = 0;
        const ScopedThreadStarter starter(Refusing(c.refused, asked));
        std::atomic<int> finished{0};
        std::string caught = "nothing";
        try {
            ParallelChunks(4, 1, [&](std::size_t chunk, std::size_t, std::size_t) {
                ++finished;
                if (c.failing.count(chunk))
                    throw std::runtime_error("chunk " + std::to_string(chunk));
            });
        } catch (const std::runtime_error& e) {
            caught = e.what();
        }
        EXPECT_EQ(caught, c.rethrown) << c.reason;
        EXPECT_EQ(finished.load(), 4) << c.reason << ": a fault stops no other chunk";
    }
}

TEST(ParallelChunks, RunsAChunkWhoseThreadIsRefusedOnTheCallingThread) {
    const struct {
        const char* reason;
        std::set<std::size_t> refused;  // helper starts, chunk 1 first
        bool noMemory = false;          // a start that ended the program while other threads ran
    } cases[] = {
        {"every thread refused", {0, 1, 2}},
        {"the second thread refused", {1}},
        {"the first and the last refused", {0, 2}},
        {"none refused", {}},
        {"the second thread finds no memory", {1}, true},
    };
    const ScopedWorkerCount workers(4);
    for (const auto& c : cases) {
        std::size_t asked = 0;
        const ScopedThreadStarter starter(Refusing(c.refused, asked, c.noMemory));
        const std::vector<Chunk> ran = RunChunks(40, 10);
        EXPECT_EQ(asked, 3u) << c.reason << ": a thread for each chunk after the first";
        ASSERT_EQ(ran.size(), 4u) << c.reason;
        std::set<std::thread::id> helpers;
        for (std::size_t k = 0; k < ran.size(); ++k) {
            EXPECT_EQ(std::pair(ran[k].begin, ran[k].end), std::pair(10 * k, 10 * k + 10))
                << c.reason << ", chunk " << k;
            const bool here = k == 0 || c.refused.count(k - 1) != 0;
            EXPECT_EQ(ran[k].thread == std::this_thread::get_id(), here)
                << c.reason << ", chunk " << k;
            if (!here)
                helpers.insert(ran[k].thread);
        }
        EXPECT_EQ(helpers.size(), 3 - c.refused.size()) << c.reason << ": a thread each";
    }
}

TEST(WorkerCount, IsTheMachinesUnlessSetAndComesBackAfterwards) {
    const std::size_t machine = WorkerCount();
    EXPECT_EQ(machine, std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 16));
    {
        const ScopedWorkerCount none(0);
        EXPECT_EQ(WorkerCount(), 1u) << "never fewer than one";
    }
    EXPECT_EQ(WorkerCount(), machine);
}

TEST(ForEachRowBand, CutsTheRowsIntoBandsAndSkipsAnEmptyPicture) {
    const struct {
        const char* reason;
        std::int64_t rows, minimum;
        std::vector<std::pair<std::int64_t, std::int64_t>> bands;
    } cases[] = {
        {"three bands", 10, 2, {{0, 3}, {3, 6}, {6, 10}}},
        {"too few rows for two bands", 7, 4, {{0, 7}}},
        {"a negative minimum counts as 1", 2, -5, {{0, 1}, {1, 2}}},
        {"no rows", 0, 1, {}},
        {"negative rows", -4, 1, {}},
    };
    const ScopedWorkerCount workers(3);
    for (const auto& c : cases) {
        std::mutex guard;
        std::vector<std::pair<std::int64_t, std::int64_t>> bands;
        ForEachRowBand(c.rows, c.minimum, [&](std::int64_t begin, std::int64_t end) {
            const std::lock_guard<std::mutex> lock(guard);
            bands.emplace_back(begin, end);
        });
        std::sort(bands.begin(), bands.end());
        EXPECT_EQ(bands, c.bands) << c.reason;
    }
}

}  // namespace
}  // namespace quarn
