#pragma once
// Entry points of the vector kernels, one source file per instruction set.
// Each enciphers whole vectors of units in place from the start of the run
// and returns how many units it did; the caller does the rest. Only for a CPU
// that has the instructions (cast128::KernelSupported).

#include <cstddef>
#include <cstdint>

namespace cast128 {

size_t EncryptAvx2(const uint32_t* masking, const uint32_t* rotation, uint8_t* data, size_t units);
size_t DecryptAvx2(const uint32_t* masking, const uint32_t* rotation, uint8_t* data, size_t units);
size_t EncryptAvx512(const uint32_t* masking, const uint32_t* rotation, uint8_t* data,
                     size_t units);
size_t DecryptAvx512(const uint32_t* masking, const uint32_t* rotation, uint8_t* data,
                     size_t units);
size_t EncryptVbmi(const uint32_t* masking, const uint32_t* rotation, uint8_t* data, size_t units);
size_t DecryptVbmi(const uint32_t* masking, const uint32_t* rotation, uint8_t* data, size_t units);

}  // namespace cast128
