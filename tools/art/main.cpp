// Writes the scene's pictures into a folder: tidereach_art OUT_DIR [CHECK_DIR]
// CHECK_DIR, when given, receives a contact sheet and a composed scene to look at.
#include "Codecs.h"
#include "Compose.h"
#include "Pictures.h"
#include "Scene.h"

#include <cstdio>
#include <exception>
#include <string>

using namespace art;

namespace {

Indexed writeKeyed(const std::string& dir, const char* name, const Keyed& picture, int frameHeight) {
    Indexed indexed = keyedStrip(picture, frameHeight);
    writeFile(dir + "/" + name, bmpRle8File(indexed));
    return indexed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUT_DIR [CHECK_DIR]\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    try {
        SceneParts parts;
        GroundPictures ground = paintGround();
        parts.ground = ground.ground;
        parts.highWater = paintHighWater();
        parts.lowWater = paintLowWater();
        writeJpeg(out + "/ground.jpg", parts.ground);
        writeJpeg(out + "/hightwater.jpg", parts.highWater);
        writeJpeg(out + "/lowwater.jpg", parts.lowWater);

        parts.stone = writeKeyed(out, "stone.bmp", paintStone(), scene::kStoneH);
        parts.treeMask = writeKeyed(out, "masktree.bmp", ground.treeMask, 164);
        parts.gulls = writeKeyed(out, "bird.bmp", paintGulls(GullDistance::Near), 11);
        parts.farGulls = writeKeyed(out, "birds_small.bmp", paintGulls(GullDistance::Far), 11);
        parts.yacht = writeKeyed(out, "yacht.bmp", paintYacht(), 31);
        parts.dolphin = writeKeyed(out, "dolphin.bmp", paintDolphin(), 39);

        const Image scene = composeScene(parts, 0);
        writeFile(out + "/PREV_BITMAP.bmp", bmpRle8File(quantise(resampleArea(scene, 154, 116))));
        if (argc == 3) {
            const std::string check = argv[2];
            writePng(check + "/composed_scene.png", scene);
            writePng(check + "/contact_sheet.png", contactSheet(parts));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tidereach_art: %s\n", e.what());
        return 1;
    }
    return 0;
}
