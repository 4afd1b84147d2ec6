// The position carried by a show request, as the hook packs it and the resident program
// unpacks it.
#include "exchange.h"

#include <gtest/gtest.h>

namespace {

TEST(ShowPosition, XInTheLowWordYInTheHighWord) {
    const struct {
        int x, y;
        unsigned long packed;
    } cases[] = {
        {100, 200, 0x00C80064ul},
        {130, 240, 0x00F00082ul},   // client 30,40 in a client area at screen 100,200
        {-1, 5, 0x0005FFFFul},      // a negative x keeps only its low 16 bits
        {-1280, -20, 0xFFECFB00ul},
        {0, 0, 0ul},
        {0x12345, 0x10002, 0x00022345ul},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PackShowPosition(c.x, c.y), c.packed) << c.x << "," << c.y;
        EXPECT_EQ(ShowPositionX(c.packed), static_cast<short>(c.x)) << c.x;
        EXPECT_EQ(ShowPositionY(c.packed), static_cast<short>(c.y)) << c.y;
    }
}

}  // namespace
