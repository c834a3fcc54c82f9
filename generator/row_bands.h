// Splitting work on the rows of a picture or grid into bands, one band per thread.
//
// Each band is a run of consecutive rows [begin, end); the bands cover 0..rows in order and
// never overlap, so work that writes only its own rows gives the same result as one loop over
// all rows. The calling thread takes the first band and waits for the others. An exception in
// any band is raised again in the caller once all have ended: the one of the earliest band,
// which is the one a single loop would have met first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace quarn {

/// Runs work(begin, end) over bands of 0..rows, on up to the machine's hardware threads; rows
/// below minRowsPerBand per thread use fewer threads (one for small jobs).
void ForEachRowBand(std::int64_t rows, std::int64_t minRowsPerBand,
                    const std::function<void(std::int64_t begin, std::int64_t end)>& work);

}  // namespace quarn
