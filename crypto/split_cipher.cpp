#include "crypto/split_cipher.h"

#include <algorithm>
#include <thread>

void SplitCipher::EncryptBlocks(const Cast128& cipher, uint8_t* data, size_t units) {
    Run({&cipher, true, data, units});
}

void SplitCipher::DecryptBlocks(const Cast128& cipher, uint8_t* data, size_t units) {
    Run({&cipher, false, data, units});
}

void SplitCipher::RunPart(const Part& part) {
    if (part.encrypt) {
        part.cipher->EncryptBlocks(part.data, part.units);
    } else {
        part.cipher->DecryptBlocks(part.data, part.units);
    }
}

void SplitCipher::Run(const Part& whole) {
    static const bool twoCores = std::thread::hardware_concurrency() >= 2;
    if (whole.units < kMinSplitUnits || !twoCores) return RunPart(whole);
    nextPiece = 0;
    if (!helper.Hand([this, whole] { TakePieces(whole); })) return RunPart(whole);
    TakePieces(whole);
    helper.Wait();
}

void SplitCipher::TakePieces(const Part& whole) {
    for (size_t start; (start = nextPiece.fetch_add(kPieceUnits)) < whole.units;) {
        Part piece = whole;
        piece.data += start * Cast128::kBlockSize;
        piece.units = std::min(kPieceUnits, whole.units - start);
        RunPart(piece);
    }
}
