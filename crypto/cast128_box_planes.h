#pragma once
// S1..S4 split into byte planes for kernels that look up bytes rather than
// words: plane k of a box holds byte k (0 the lowest) of its 256 entries.

#include <cstddef>
#include <cstdint>

namespace cast128 {

inline constexpr size_t kPlaneBytes = 256;

// Box b's plane k starts at (4 * b + k) * kPlaneBytes; 64-byte aligned, built
// at the first call.
const uint8_t* RoundBoxPlanes();

}  // namespace cast128
