#pragma once
// The constant substitution boxes of CAST-128, shared by every cipher context.

#include <cstdint>

namespace cast128 {
extern const uint32_t kS1[256];
extern const uint32_t kS2[256];
extern const uint32_t kS3[256];
extern const uint32_t kS4[256];
extern const uint32_t kS5[256];
extern const uint32_t kS6[256];
extern const uint32_t kS7[256];
extern const uint32_t kS8[256];
}  // namespace cast128
