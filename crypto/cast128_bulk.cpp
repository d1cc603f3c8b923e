// The bulk path: several independent units round by round, so that the table
// look-ups of one unit overlap those of the others.

#include "crypto/cast128.h"
#include "crypto/cast128_rounds.h"

void Cast128::EncryptBlocks(uint8_t* data, size_t units) const {
    EncryptBlocksGrouped<kGroupUnits>(data, units);
}

void Cast128::DecryptBlocks(uint8_t* data, size_t units) const {
    DecryptBlocksGrouped<kGroupUnits>(data, units);
}
