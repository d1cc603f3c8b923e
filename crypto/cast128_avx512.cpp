// The AVX-512 kernel at the width this target compiles in.

#include "crypto/cast128_avx512.h"

#include "crypto/cast128_vector_kernels.h"

namespace cast128 {

size_t EncryptAvx512(const uint32_t* masking, const uint32_t* rotation, uint8_t* data,
                     size_t units) {
    return Avx512Blocks<kAvx512Vectors, true>(masking, rotation, data, units);
}

size_t DecryptAvx512(const uint32_t* masking, const uint32_t* rotation, uint8_t* data,
                     size_t units) {
    return Avx512Blocks<kAvx512Vectors, false>(masking, rotation, data, units);
}

}  // namespace cast128
