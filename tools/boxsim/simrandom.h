#pragma once

#include <QtGlobal>

namespace boxsim {

// Deterministic mixing and a tiny generator: the same seed gives the same line-up, EPG and
// signal values on every machine and run.
constexpr quint64 mix64(quint64 x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

constexpr quint64 mix64(quint64 a, quint64 b)
{
    return mix64(a ^ mix64(b));
}

class SimRandom
{
public:
    explicit SimRandom(quint64 seed = 1)
        : m_state(seed)
    {}

    void reseed(quint64 seed) { m_state = seed; }
    quint64 next()
    {
        m_state += 0x9e3779b97f4a7c15ULL;
        return mix64(m_state);
    }
    // Uniform in [0, n); 0 when n <= 0.
    int bounded(int n) { return n <= 0 ? 0 : int(next() % quint64(n)); }
    // Uniform in [low, high].
    int between(int low, int high) { return low + bounded(high - low + 1); }

private:
    quint64 m_state = 1;
};

} // namespace boxsim
