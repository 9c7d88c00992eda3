#include "display/GammaRamp.h"

#include <gtest/gtest.h>

TEST(GammaRamp, StepsFillTheTablesWithA16BitAccumulator) {
    DDGAMMARAMP ramp{};
    GammaRamp::FillRamp(ramp, 256, 128, 0);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(ramp.red[i], 256 * i);
        EXPECT_EQ(ramp.green[i], 128 * i);
        EXPECT_EQ(ramp.blue[i], 0);
    }
    EXPECT_EQ(ramp.green[255], 32640);
    GammaRamp::FillRamp(ramp, 257, 300, 65536 + 5);
    EXPECT_EQ(ramp.red[255], 257 * 255);              // 257 never wraps
    EXPECT_EQ(ramp.green[255], (300 * 255) % 65536);  // larger steps wrap
    EXPECT_EQ(ramp.blue[255], 5 * 255);               // only the step's low 16 bits count
}
