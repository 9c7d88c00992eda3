// Pictures for checking by eye and the preview: the scene layered as the program draws it.
#pragma once

#include "Indexed.h"
#include "Raster.h"

namespace art {

struct SceneParts {
    Image ground, highWater, lowWater;
    Indexed stone, treeMask, gulls, farGulls, yacht, dolphin;
};

// 800 x 600: ground, water frame `waterFrame`, yacht, a dolphin, gulls, shore, trunk.
Image composeScene(const SceneParts& parts, int waterFrame);
// Every frame of every strip, enlarged where small, keyed pixels shown in grey.
Image contactSheet(const SceneParts& parts);

}  // namespace art
