// The byte planes of S1..S4, from the boxes themselves.

#include "crypto/cast128_box_planes.h"

#include "crypto/cast128_sboxes.h"

namespace cast128 {

namespace {

struct BoxPlanes {
    alignas(64) uint8_t bytes[4][4][kPlaneBytes];
};

BoxPlanes SplitBoxes() {
    BoxPlanes planes;
    for (int box = 0; box < 4; ++box) {
        for (int k = 0; k < 4; ++k) {
            for (size_t i = 0; i < kPlaneBytes; ++i) {
                planes.bytes[box][k][i] = uint8_t(kRoundBoxes[box][i] >> (8 * k));
            }
        }
    }
    return planes;
}

}  // namespace

const uint8_t* RoundBoxPlanes() {
    static const BoxPlanes planes = SplitBoxes();
    return &planes.bytes[0][0][0];
}

}  // namespace cast128
