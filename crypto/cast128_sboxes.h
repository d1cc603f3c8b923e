#pragma once
// The constant substitution boxes of CAST-128, shared by every cipher context.

#include <cstdint>

namespace cast128 {
// S1..S4 in one array: a round reaches all four from one base address.
extern const uint32_t kRoundBoxes[4][256];
inline constexpr const uint32_t (&kS1)[256] = kRoundBoxes[0];
inline constexpr const uint32_t (&kS2)[256] = kRoundBoxes[1];
inline constexpr const uint32_t (&kS3)[256] = kRoundBoxes[2];
inline constexpr const uint32_t (&kS4)[256] = kRoundBoxes[3];
extern const uint32_t kS5[256];
extern const uint32_t kS6[256];
extern const uint32_t kS7[256];
extern const uint32_t kS8[256];
}  // namespace cast128
