// The AVX-512 VBMI kernel at the width this target compiles in.

#include "crypto/cast128_vbmi.h"

#include "crypto/cast128_vector_kernels.h"

namespace cast128 {

size_t EncryptVbmi(const uint32_t* masking, const uint32_t* rotation, uint8_t* data, size_t units) {
    return VbmiBlocks<kVbmiBatches, true>(masking, rotation, data, units);
}

size_t DecryptVbmi(const uint32_t* masking, const uint32_t* rotation, uint8_t* data, size_t units) {
    return VbmiBlocks<kVbmiBatches, false>(masking, rotation, data, units);
}

}  // namespace cast128
