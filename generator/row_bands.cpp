#include "row_bands.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace quarn {

void ForEachRowBand(std::int64_t rows, std::int64_t minRowsPerBand,
                    const std::function<void(std::int64_t begin, std::int64_t end)>& work) {
    if (rows <= 0)
        return;
    const std::int64_t hardware = std::max(1u, std::thread::hardware_concurrency());
    const std::int64_t bands =
        std::clamp(rows / std::max<std::int64_t>(minRowsPerBand, 1), std::int64_t{1}, hardware);
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(bands));
    const auto runBand = [&](std::int64_t band) {
        try {
            work(rows * band / bands, rows * (band + 1) / bands);
        } catch (...) {
            failures[static_cast<std::size_t>(band)] = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    for (std::int64_t band = 1; band < bands; ++band) {
        try {
            helpers.emplace_back(runBand, band);
        } catch (const std::system_error&) {
            runBand(band);  // no thread to be had: the caller does the band itself
        }
    }
    runBand(0);
    for (std::thread& helper : helpers)
        helper.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

}  // namespace quarn
