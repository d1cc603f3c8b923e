#pragma once
// The kernels behind Cast128's bulk path: the portable one, vector ones whose
// table look-ups are gathers, and one whose look-ups are byte permutes.
// Gathers and permutes are fast on some CPUs and slow on others, so feature
// bits alone cannot choose: the first bulk call times every kernel the CPU
// can run and keeps the fastest for the rest of the process.

#include <cstdint>

enum class Cast128Kernel : uint8_t { kScalar, kAvx2, kAvx512, kAvx512Vbmi };

namespace cast128 {

inline constexpr Cast128Kernel kAllKernels[] = {Cast128Kernel::kScalar, Cast128Kernel::kAvx2,
                                                Cast128Kernel::kAvx512, Cast128Kernel::kAvx512Vbmi};

const char* KernelName(Cast128Kernel kernel);
// Whether this CPU, and the system's saving of its registers, allow it.
bool KernelSupported(Cast128Kernel kernel);
// The kernel EncryptBlocks and DecryptBlocks use, measured once.
Cast128Kernel ChosenKernel();

}  // namespace cast128
