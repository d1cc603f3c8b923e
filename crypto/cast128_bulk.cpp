// The bulk path: a vector kernel takes whole vectors of units, the grouped
// scalar kernel the rest, so any run length and alignment work with any
// kernel.

#include "crypto/cast128.h"
#include "crypto/cast128_kernels.h"
#include "crypto/cast128_rounds.h"
#include "crypto/cast128_vector_kernels.h"

namespace {

using VectorKernel = size_t (*)(const uint32_t* masking, const uint32_t* rotation, uint8_t* data,
                                size_t units);
struct Directions {
    VectorKernel encrypt, decrypt;
};

size_t NoVectors(const uint32_t*, const uint32_t*, uint8_t*, size_t) { return 0; }

Directions VectorKernels(Cast128Kernel kernel) {
    switch (kernel) {
        case Cast128Kernel::kAvx2:
            return {cast128::EncryptAvx2, cast128::DecryptAvx2};
        case Cast128Kernel::kAvx512:
            return {cast128::EncryptAvx512, cast128::DecryptAvx512};
        case Cast128Kernel::kAvx512Vbmi:
            return {cast128::EncryptVbmi, cast128::DecryptVbmi};
        default:
            return {NoVectors, NoVectors};
    }
}

}  // namespace

void Cast128::EncryptBlocks(uint8_t* data, size_t units) const {
    EncryptBlocksWith(cast128::ChosenKernel(), data, units);
}

void Cast128::DecryptBlocks(uint8_t* data, size_t units) const {
    DecryptBlocksWith(cast128::ChosenKernel(), data, units);
}

void Cast128::EncryptBlocksWith(Cast128Kernel kernel, uint8_t* data, size_t units) const {
    const size_t done = VectorKernels(kernel).encrypt(masking, rotation, data, units);
    EncryptBlocksGrouped<kGroupUnits>(data + kBlockSize * done, units - done);
}

void Cast128::DecryptBlocksWith(Cast128Kernel kernel, uint8_t* data, size_t units) const {
    const size_t done = VectorKernels(kernel).decrypt(masking, rotation, data, units);
    DecryptBlocksGrouped<kGroupUnits>(data + kBlockSize * done, units - done);
}
