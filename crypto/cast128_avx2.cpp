// The AVX2 kernel at the width this target compiles in.

#include "crypto/cast128_avx2.h"

#include "crypto/cast128_vector_kernels.h"

namespace cast128 {

size_t EncryptAvx2(const uint32_t* masking, const uint32_t* rotation, uint8_t* data, size_t units) {
    return Avx2Blocks<kAvx2Vectors, true>(masking, rotation, data, units);
}

size_t DecryptAvx2(const uint32_t* masking, const uint32_t* rotation, uint8_t* data, size_t units) {
    return Avx2Blocks<kAvx2Vectors, false>(masking, rotation, data, units);
}

}  // namespace cast128
