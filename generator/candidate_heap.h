// The triangles still to refine, each with its sample of largest error, largest error first.
//
// Equal errors go by sample index, then triangle, so the order never depends on how the heap
// came to hold them. A triangle holds one place at most; setting it again moves it.
#pragma once

#include <cstdint>
#include <vector>

namespace quarn {

struct Candidate {
    double error = 0;
    std::int32_t sample = 0;
    std::int32_t triangle = 0;
};

class CandidateHeap {
  public:
    bool empty() const { return m_heap.empty(); }
    const Candidate& top() const { return m_heap.front(); }

    /// Puts the triangle's candidate in, or replaces the one it had.
    void set(const Candidate& candidate);
    /// Takes the triangle's candidate out, if it had one.
    void remove(std::int32_t triangle);

  private:
    static bool before(const Candidate& x, const Candidate& y);
    void place(std::size_t at, const Candidate& candidate);
    void siftUp(std::size_t at);
    void siftDown(std::size_t at);

    std::vector<Candidate> m_heap;
    std::vector<std::int32_t> m_place;  // per triangle: its index in m_heap, -1 for none
};

}  // namespace quarn
