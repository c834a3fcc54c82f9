#include "candidate_heap.h"

namespace quarn {

bool CandidateHeap::before(const Candidate& x, const Candidate& y) {
    if (x.error != y.error)
        return x.error > y.error;
    if (x.sample != y.sample)
        return x.sample < y.sample;
    return x.triangle < y.triangle;
}

void CandidateHeap::place(std::size_t at, const Candidate& candidate) {
    m_heap[at] = candidate;
    m_place[std::size_t(candidate.triangle)] = static_cast<std::int32_t>(at);
}

void CandidateHeap::set(const Candidate& candidate) {
    const auto t = std::size_t(candidate.triangle);
    if (t >= m_place.size())
        m_place.resize(t + 1, -1);
    if (m_place[t] < 0) {
        m_heap.push_back(candidate);
        place(m_heap.size() - 1, candidate);
        siftUp(m_heap.size() - 1);
        return;
    }
    const auto at = std::size_t(m_place[t]);
    const bool rises = before(candidate, m_heap[at]);
    place(at, candidate);
    if (rises)
        siftUp(at);
    else
        siftDown(at);
}

void CandidateHeap::remove(std::int32_t triangle) {
    const auto t = std::size_t(triangle);
    if (t >= m_place.size() || m_place[t] < 0)
        return;
    const auto at = std::size_t(m_place[t]);
    m_place[t] = -1;
    const Candidate last = m_heap.back();
    m_heap.pop_back();
    if (at == m_heap.size())
        return;
    const bool rises = before(last, m_heap[at]);
    place(at, last);
    if (rises)
        siftUp(at);
    else
        siftDown(at);
}

void CandidateHeap::siftUp(std::size_t at) {
    const Candidate moving = m_heap[at];
    while (at > 0) {
        const std::size_t parent = (at - 1) / 2;
        if (!before(moving, m_heap[parent]))
            break;
        place(at, m_heap[parent]);
        at = parent;
    }
    place(at, moving);
}

void CandidateHeap::siftDown(std::size_t at) {
    const Candidate moving = m_heap[at];
    const std::size_t size = m_heap.size();
    for (;;) {
        std::size_t child = 2 * at + 1;
        if (child >= size)
            break;
        if (child + 1 < size && before(m_heap[child + 1], m_heap[child]))
            ++child;
        if (!before(m_heap[child], moving))
            break;
        place(at, m_heap[child]);
        at = child;
    }
    place(at, moving);
}

}  // namespace quarn
