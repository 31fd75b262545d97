#pragma once

#include <QtGlobal>
#include <cmath>

namespace dbtool {

// PCG32 (O'Neill's permuted congruential generator, XSH RR variant) with its own integer and
// real mappings, so that the demo data are the same on every platform and library version.
class DemoRandom
{
public:
    explicit DemoRandom(quint64 seed, quint64 stream = 0x5851F42D4C957F2DULL)
        : m_increment((stream << 1u) | 1u)
    {
        next();
        m_state += seed;
        next();
    }

    quint32 next()
    {
        const quint64 old = m_state;
        m_state = old * 6364136223846793005ULL + m_increment;
        const quint32 shifted = quint32(((old >> 18u) ^ old) >> 27u);
        const quint32 rotation = quint32(old >> 59u);
        return (shifted >> rotation) | (shifted << ((32u - rotation) & 31u));
    }

    // Uniform in [0, 1).
    double uniform() { return next() * (1.0 / 4294967296.0); }
    double between(double low, double high) { return low + (high - low) * uniform(); }
    // Uniform in low..high, both included.
    int between(int low, int high) { return low + int((quint64(next()) * quint64(high - low + 1)) >> 32u); }
    bool chance(double probability) { return uniform() < probability; }

    // A skewed positive value around `median`: e^(normal-like spread), from the sum of three
    // uniforms (roughly normal, bounded), which needs nothing from <random>.
    double skewed(double median, double spread)
    {
        const double z = (uniform() + uniform() + uniform() - 1.5) * 2.0;
        return median * std::exp(spread * z);
    }

    template <typename List> void shuffle(List& list)
    {
        for (qsizetype i = list.size() - 1; i > 0; --i)
            list.swapItemsAt(i, between(0, int(i)));
    }

private:
    quint64 m_state = 0;
    quint64 m_increment;
};

// Rounds to a number of decimal places, as a measured value would be written down.
inline double roundTo(double value, int decimals)
{
    const double factor = std::pow(10.0, decimals);
    return std::round(value * factor) / factor;
}

} // namespace dbtool
