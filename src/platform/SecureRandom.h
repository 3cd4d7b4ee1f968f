#pragma once

#include <cstdint>

namespace vornel {

// Draws from the operating system's secure random source
// (QRandomGenerator::system(), backed by getrandom(2)).
namespace secureRandom {

// Uniform integer in [0, bound), without modulo bias. bound must be > 0.
std::uint64_t uniformBelow(std::uint64_t bound);

// Uniform 53-bit fraction of the closed interval [0, 1].
double unitClosed();

} // namespace secureRandom
} // namespace vornel
