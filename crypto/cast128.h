#pragma once
// CAST-128 (RFC 2144) cipher context keyed by a password.
//
// The key is always the full 128 bits: the password's first bytes up to its
// first zero byte, at most 16, zero-filled to 16. The cipher therefore always
// runs 16 rounds, even for passwords of ten bytes or fewer; stored files
// depend on this.

#include <cstdint>
#include <string>

class Cast128 {
  public:
    static constexpr int kBlockSize = 8;
    static constexpr int kKeySize = 16;

    // Takes the password's bytes before its first zero byte, at most 16.
    void SetKey(const std::string& password);
    // Runs the key schedule on 16 raw key bytes, zero bytes included.
    void SetKeyBytes(const uint8_t raw[kKeySize]);

    // One 8-byte block; out may equal in.
    void EncryptBlock(uint8_t* out, const uint8_t* in) const;
    void DecryptBlock(uint8_t* out, const uint8_t* in) const;

    const uint8_t* Key() const { return key; }

  private:
    uint8_t key[kKeySize] = {};
    uint32_t rotation[16] = {};  // Kr1..Kr16, each 0..31
    uint32_t masking[16] = {};   // Km1..Km16
};
