// Which kernels the CPU can run, and the choice among them by timing.

#include "crypto/cast128_kernels.h"

#include <chrono>
#include <vector>

#include "crypto/cast128.h"

namespace cast128 {

namespace {

// 16 KiB, enciphered and deciphered: whole groups of every kernel, still in
// the first-level cache. The passes over all kernels take a few
// milliseconds.
const size_t kTrialUnits = 2048;
const int kTrialPasses = 10;
// A later kernel must beat the one chosen so far by this much: where gathers
// only tie with table loads, noise alone must not pick them.
const double kMargin = 1.05;

double PassSeconds(const Cast128& cipher, Cast128Kernel kernel, uint8_t* data) {
    const auto start = std::chrono::steady_clock::now();
    cipher.EncryptBlocksWith(kernel, data, kTrialUnits);
    cipher.DecryptBlocksWith(kernel, data, kTrialUnits);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    return seconds.count();
}

// The kernels take turns and each keeps its best pass, since other load on
// the machine can only slow a pass down. Near ties go to the earlier kernel,
// the scalar one first.
Cast128Kernel Measure() {
    Cast128 cipher;
    cipher.SetKey("kernel trial");
    std::vector<uint8_t> buffer(Cast128::kBlockSize * kTrialUnits, 0x5A);
    std::vector<Cast128Kernel> kernels;
    for (Cast128Kernel kernel : kAllKernels) {
        if (KernelSupported(kernel)) kernels.push_back(kernel);
    }
    std::vector<double> best(kernels.size(), 1e9);
    for (int pass = 0; pass < kTrialPasses; ++pass) {
        for (size_t k = 0; k < kernels.size(); ++k) {
            const double seconds = PassSeconds(cipher, kernels[k], buffer.data());
            if (seconds < best[k]) best[k] = seconds;
        }
    }
    size_t fastest = 0;
    for (size_t k = 1; k < kernels.size(); ++k) {
        if (best[k] * kMargin < best[fastest]) fastest = k;
    }
    return kernels[fastest];
}

}  // namespace

const char* KernelName(Cast128Kernel kernel) {
    switch (kernel) {
        case Cast128Kernel::kAvx2:
            return "avx2";
        case Cast128Kernel::kAvx512:
            return "avx512";
        case Cast128Kernel::kAvx512Vbmi:
            return "avx512vbmi";
        default:
            return "scalar";
    }
}

// __builtin_cpu_supports counts a vector feature only if the system saves its
// registers on a task switch (XGETBV), so this covers the system too.
bool KernelSupported(Cast128Kernel kernel) {
    __builtin_cpu_init();
    switch (kernel) {
        case Cast128Kernel::kAvx2:
            return __builtin_cpu_supports("avx2");
        case Cast128Kernel::kAvx512:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
        case Cast128Kernel::kAvx512Vbmi:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                   __builtin_cpu_supports("avx512vbmi");
        default:
            return true;
    }
}

Cast128Kernel ChosenKernel() {
    static const Cast128Kernel chosen = Measure();
    return chosen;
}

}  // namespace cast128
