#include "crypto/cast128.h"

#include <cstring>

#include "crypto/byte_order.h"
#include "crypto/cast128_rounds.h"
#include "crypto/wipe.h"
#include "crypto/cast128_sboxes.h"

using namespace cast128;

namespace {

inline uint32_t Word(const uint8_t* b, int index) { return LoadBigEndian32(b + 4 * index); }
inline void SetWord(uint8_t* b, int index, uint32_t v) { StoreBigEndian32(b + 4 * index, v); }

// Key schedule, RFC 2144 section 2.4: the intermediate state z from x ...
void ZFromX(const uint8_t* x, uint8_t* z) {
    SetWord(z, 0, Word(x, 0) ^ kS5[x[0xD]] ^ kS6[x[0xF]] ^ kS7[x[0xC]] ^ kS8[x[0xE]] ^ kS7[x[0x8]]);
    SetWord(z, 1, Word(x, 2) ^ kS5[z[0x0]] ^ kS6[z[0x2]] ^ kS7[z[0x1]] ^ kS8[z[0x3]] ^ kS8[x[0xA]]);
    SetWord(z, 2, Word(x, 3) ^ kS5[z[0x7]] ^ kS6[z[0x6]] ^ kS7[z[0x5]] ^ kS8[z[0x4]] ^ kS5[x[0x9]]);
    SetWord(z, 3, Word(x, 1) ^ kS5[z[0xA]] ^ kS6[z[0x9]] ^ kS7[z[0xB]] ^ kS8[z[0x8]] ^ kS6[x[0xB]]);
}

// ... and x from z.
void XFromZ(const uint8_t* z, uint8_t* x) {
    SetWord(x, 0, Word(z, 2) ^ kS5[z[0x5]] ^ kS6[z[0x7]] ^ kS7[z[0x4]] ^ kS8[z[0x6]] ^ kS7[z[0x0]]);
    SetWord(x, 1, Word(z, 0) ^ kS5[x[0x0]] ^ kS6[x[0x2]] ^ kS7[x[0x1]] ^ kS8[x[0x3]] ^ kS8[z[0x2]]);
    SetWord(x, 2, Word(z, 1) ^ kS5[x[0x7]] ^ kS6[x[0x6]] ^ kS7[x[0x5]] ^ kS8[x[0x4]] ^ kS5[z[0x1]]);
    SetWord(x, 3, Word(z, 3) ^ kS5[x[0xA]] ^ kS6[x[0x9]] ^ kS7[x[0xB]] ^ kS8[x[0x8]] ^ kS6[z[0x3]]);
}

// Byte indices of the four subkeys drawn after each state update: one S5..S8
// look-up each, then a fifth look-up in S5, S6, S7 or S8 in turn.
const uint8_t kPick[4][4][5] = {
    {{0x8, 0x9, 0x7, 0x6, 0x2},
     {0xA, 0xB, 0x5, 0x4, 0x6},
     {0xC, 0xD, 0x3, 0x2, 0x9},
     {0xE, 0xF, 0x1, 0x0, 0xC}},
    {{0x3, 0x2, 0xC, 0xD, 0x8},
     {0x1, 0x0, 0xE, 0xF, 0xD},
     {0x7, 0x6, 0x8, 0x9, 0x3},
     {0x5, 0x4, 0xA, 0xB, 0x7}},
    {{0x3, 0x2, 0xC, 0xD, 0x9},
     {0x1, 0x0, 0xE, 0xF, 0xC},
     {0x7, 0x6, 0x8, 0x9, 0x2},
     {0x5, 0x4, 0xA, 0xB, 0x6}},
    {{0x8, 0x9, 0x7, 0x6, 0x3},
     {0xA, 0xB, 0x5, 0x4, 0x7},
     {0xC, 0xD, 0x3, 0x2, 0x8},
     {0xE, 0xF, 0x1, 0x0, 0xD}},
};
const uint32_t* const kFifthBox[4] = {kS5, kS6, kS7, kS8};

// Appends four subkeys drawn from state v by pick group g.
void DrawSubkeys(const uint8_t* v, int g, uint32_t* out) {
    for (int k = 0; k < 4; ++k) {
        const uint8_t* p = kPick[g][k];
        out[k] = kS5[v[p[0]]] ^ kS6[v[p[1]]] ^ kS7[v[p[2]]] ^ kS8[v[p[3]]] ^ kFifthBox[k][v[p[4]]];
    }
}

}  // namespace

void Cast128::SetKey(const std::string& password) {
    uint8_t raw[kKeySize] = {};
    for (size_t i = 0; i < password.size() && i < kKeySize && password[i] != '\0'; ++i) {
        raw[i] = uint8_t(password[i]);
    }
    SetKeyBytes(raw);
    WipeBytes(raw, sizeof raw);
}

void Cast128::SetKeyBytes(const uint8_t raw[kKeySize]) {
    std::memcpy(key, raw, kKeySize);
    uint8_t x[16], z[16];
    std::memcpy(x, raw, sizeof x);
    uint32_t words[32];  // K1..K32
    for (int half = 0; half < 2; ++half) {
        uint32_t* k = words + 16 * half;
        ZFromX(x, z);
        DrawSubkeys(z, 0, k);
        XFromZ(z, x);
        DrawSubkeys(x, 1, k + 4);
        ZFromX(x, z);
        DrawSubkeys(z, 2, k + 8);
        XFromZ(z, x);
        DrawSubkeys(x, 3, k + 12);
    }
    for (int i = 0; i < 16; ++i) {
        masking[i] = words[i];
        rotation[i] = words[16 + i] & 0x1F;
    }
    WipeBytes(x, sizeof x);
    WipeBytes(z, sizeof z);
    WipeBytes(words, sizeof words);
}

void Cast128::Clear() {
    WipeBytes(key, sizeof key);
    WipeBytes(rotation, sizeof rotation);
    WipeBytes(masking, sizeof masking);
}

// Sixteen rounds; the halves swap roles each round, so after an even count the
// left word holds L16 and the right word R16.
void Cast128::EncryptBlock(uint8_t* out, const uint8_t* in) const {
    uint32_t l = LoadBigEndian32(in), r = LoadBigEndian32(in + 4);
    const uint32_t* m = masking;
    const uint32_t* k = rotation;
    l ^= F1(r, m[0], k[0]);
    r ^= F2(l, m[1], k[1]);
    l ^= F3(r, m[2], k[2]);
    r ^= F1(l, m[3], k[3]);
    l ^= F2(r, m[4], k[4]);
    r ^= F3(l, m[5], k[5]);
    l ^= F1(r, m[6], k[6]);
    r ^= F2(l, m[7], k[7]);
    l ^= F3(r, m[8], k[8]);
    r ^= F1(l, m[9], k[9]);
    l ^= F2(r, m[10], k[10]);
    r ^= F3(l, m[11], k[11]);
    l ^= F1(r, m[12], k[12]);
    r ^= F2(l, m[13], k[13]);
    l ^= F3(r, m[14], k[14]);
    r ^= F1(l, m[15], k[15]);
    StoreBigEndian32(out, r);
    StoreBigEndian32(out + 4, l);
}

// The same rounds with the subkeys in reverse order.
void Cast128::DecryptBlock(uint8_t* out, const uint8_t* in) const {
    uint32_t l = LoadBigEndian32(in), r = LoadBigEndian32(in + 4);
    const uint32_t* m = masking;
    const uint32_t* k = rotation;
    l ^= F1(r, m[15], k[15]);
    r ^= F3(l, m[14], k[14]);
    l ^= F2(r, m[13], k[13]);
    r ^= F1(l, m[12], k[12]);
    l ^= F3(r, m[11], k[11]);
    r ^= F2(l, m[10], k[10]);
    l ^= F1(r, m[9], k[9]);
    r ^= F3(l, m[8], k[8]);
    l ^= F2(r, m[7], k[7]);
    r ^= F1(l, m[6], k[6]);
    l ^= F3(r, m[5], k[5]);
    r ^= F2(l, m[4], k[4]);
    l ^= F1(r, m[3], k[3]);
    r ^= F3(l, m[2], k[2]);
    l ^= F2(r, m[1], k[1]);
    r ^= F1(l, m[0], k[0]);
    StoreBigEndian32(out, r);
    StoreBigEndian32(out + 4, l);
}
