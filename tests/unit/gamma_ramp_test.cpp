#include "display/GammaRamp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

TEST(GammaRamp, StepsFillTheTablesWithA16BitAccumulator) {
    DDGAMMARAMP ramp{};
    // Step 256 is the identity, 0 to 65280; 128 halves, to 32640; 0 is black.
    GammaRamp::FillRamp(ramp, 256, 128, 0);
    struct Entry {
        int index;
        WORD red, green;
    };
    for (const Entry& entry :
         {Entry{0, 0, 0}, Entry{1, 256, 128}, Entry{128, 32768, 16384}, Entry{255, 65280, 32640}}) {
        EXPECT_EQ(ramp.red[entry.index], entry.red) << entry.index;
        EXPECT_EQ(ramp.green[entry.index], entry.green) << entry.index;
    }
    EXPECT_TRUE(
        std::all_of(std::begin(ramp.blue), std::end(ramp.blue), [](WORD level) { return level == 0; }));

    GammaRamp::FillRamp(ramp, 257, 300, 65536 + 5);
    EXPECT_EQ(ramp.red[255], 65535);  // 257 is the largest step that never wraps
    EXPECT_EQ(ramp.green[218], 65400);
    EXPECT_EQ(ramp.green[219], 164);  // 65700 wrapped
    EXPECT_EQ(ramp.green[255], 10964);
    EXPECT_EQ(ramp.blue[255], 1275);  // only the step's low 16 bits count: 5
}
