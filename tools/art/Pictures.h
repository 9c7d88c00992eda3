// Each picture of the scene, painted at the size the program stores it.
#pragma once

#include "Raster.h"
#include "Sprite.h"

#include <vector>

namespace art {

struct GroundPictures {
    Image ground;    // 800 x 408
    Keyed treeMask;  // 40 x 164: the palm trunk where the mask is drawn
};
GroundPictures paintGround();

// Water strips: 32 frames stacked top to bottom, looping.
Image paintHighWater();  // 800 x (32 x 92)
Image paintLowWater();   // 611 x (32 x 115)

Keyed paintStone();  // 800 x 245

enum class GullDistance { Near, Far };
Keyed paintGulls(GullDistance distance);  // 30 x (40 x 11)
Keyed paintYacht();                       // 31 x (28 x 31)
Keyed paintDolphin();                     // 88 x (19 x 39)

}  // namespace art
