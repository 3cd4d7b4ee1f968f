#include "platform/SecureRandom.h"

#include <QRandomGenerator>

namespace vornel::secureRandom {

std::uint64_t uniformBelow(std::uint64_t bound)
{
    // Reject the low values that would make some residues more likely than
    // others: 2^64 mod bound of them. What remains maps evenly onto [0, bound).
    const std::uint64_t threshold = (0 - bound) % bound;
    for (;;) {
        const std::uint64_t r = QRandomGenerator::system()->generate64();
        if (r >= threshold)
            return r % bound;
    }
}

double unitClosed()
{
    constexpr std::uint64_t top = (std::uint64_t(1) << 53) - 1;
    const std::uint64_t bits = QRandomGenerator::system()->generate64() >> 11;
    return double(bits) / double(top);
}

} // namespace vornel::secureRandom
