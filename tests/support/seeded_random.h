#pragma once

#include <cstdint>

namespace pinsum::test {

// A small generator whose numbers depend on the seed alone, so that a failing generated case is
// named by its seed on every machine.
class SeededRandom {
public:
    explicit SeededRandom(uint32_t seed) : m_state(seed * 0x9E3779B97F4A7C15ull) {}
    // Uniform enough in [0, n).
    int Below(int n) {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((m_state >> 33) % static_cast<uint64_t>(n));
    }
    bool OneIn(int n) { return Below(n) == 0; }

private:
    uint64_t m_state;
};

} // namespace pinsum::test
