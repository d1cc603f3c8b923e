#pragma once
// CAST-128 (RFC 2144) cipher context keyed by a password.
//
// The key is always the full 128 bits: the password's first bytes up to its
// first zero byte, at most 16, zero-filled to 16. The cipher therefore always
// runs 16 rounds, even for passwords of ten bytes or fewer; stored files
// depend on this.

#include <cstddef>
#include <cstdint>
#include <string>

enum class Cast128Kernel : uint8_t;  // crypto/cast128_kernels.h

class Cast128 {
  public:
    Cast128() = default;
    Cast128(const Cast128&) = default;
    Cast128& operator=(const Cast128&) = default;
    ~Cast128() { Clear(); }

    static constexpr int kBlockSize = 8;
    static constexpr int kKeySize = 16;
    // Units the bulk path enciphers together: the fastest width that
    // tests/bench/kernel_widths measured for the target. Past the width at
    // which the table look-ups rather than each unit's chain of rounds set the
    // pace, gains flatten out; the register spills of wide groups cost little
    // next to those look-ups, even on i686.
#if defined(__x86_64__)
    static constexpr int kGroupUnits = 6;
#else  // i686, the shipped build
    static constexpr int kGroupUnits = 8;
#endif

    // Takes the password's bytes before its first zero byte, at most 16.
    void SetKey(const std::string& password);
    // Runs the key schedule on 16 raw key bytes, zero bytes included.
    void SetKeyBytes(const uint8_t raw[kKeySize]);
    // Overwrites the key and its schedule, so that no copy of the password
    // outlives its use; the cipher is then keyed with zeros.
    void Clear();

    // One 8-byte block; out may equal in.
    void EncryptBlock(uint8_t* out, const uint8_t* in) const;
    void DecryptBlock(uint8_t* out, const uint8_t* in) const;

    // A run of consecutive 8-byte units in place, any alignment; the same
    // bytes as one EncryptBlock or DecryptBlock per unit, only faster.
    void EncryptBlocks(uint8_t* data, size_t units) const;
    void DecryptBlocks(uint8_t* data, size_t units) const;

    // The same through a given kernel, which the CPU must support
    // (crypto/cast128_kernels.h); the calls above use the fastest.
    void EncryptBlocksWith(Cast128Kernel kernel, uint8_t* data, size_t units) const;
    void DecryptBlocksWith(Cast128Kernel kernel, uint8_t* data, size_t units) const;

    // The bulk path with N units per group, for comparing widths; defined in
    // crypto/cast128_rounds.h.
    template <int N>
    void EncryptBlocksGrouped(uint8_t* data, size_t units) const;
    template <int N>
    void DecryptBlocksGrouped(uint8_t* data, size_t units) const;

    const uint8_t* Key() const { return key; }

  private:
    uint8_t key[kKeySize] = {};
    uint32_t rotation[16] = {};  // Kr1..Kr16, each 0..31
    uint32_t masking[16] = {};   // Km1..Km16
};
