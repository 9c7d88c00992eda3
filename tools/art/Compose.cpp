#include "Compose.h"

#include "Scene.h"
#include "Sprite.h"

#include <algorithm>

namespace art {

namespace {

void blit(Image& dst, const Image& src, int sx, int sy, int w, int h, int dx, int dy) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (dst.inside(dx + x, dy + y)) dst.at(dx + x, dy + y) = src.at(sx + x, sy + y);
}

// One frame of a keyed strip stretched to w x h by nearest pixel, key left out.
void blitKeyed(Image& dst, const Indexed& strip, int frameH, int frame, int dx, int dy, int w, int h) {
    const int key = strip.index[size_t(frame) * frameH * strip.w];
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int sx = x * strip.w / w, sy = frame * frameH + y * frameH / h;
            if (strip.index[size_t(sy) * strip.w + sx] == key || !dst.inside(dx + x, dy + y)) continue;
            dst.at(dx + x, dy + y) = toRgb(strip.colour(sx, sy));
        }
}

}  // namespace

Image composeScene(const SceneParts& p, int waterFrame) {
    using namespace scene;
    Image screen(kWidth, kHeight);
    blit(screen, p.ground, 0, 0, kWidth, kGroundH, 0, 0);
    blit(screen, p.highWater, 0, waterFrame * kHighH, kWidth, kHighH, 0, kHighY);
    blit(screen, p.lowWater, 0, waterFrame * kLowH, kLowW, kLowH, kLowX, kLowY);
    blitKeyed(screen, p.yacht, 31, 0, 600, 360, 31, 31);
    blitKeyed(screen, p.dolphin, 39, 8, 400, 390, 44, 20);
    blitKeyed(screen, p.dolphin, 39, 2, 170, 405, 44, 20);
    const struct {
        int x, y, frame;
        bool far;
    } gulls[] = {{300, 250, 1, false}, {340, 262, 5, false}, {520, 300, 17, true}, {120, 330, 34, false},
                 {650, 240, 27, true}, {40, 280, 12, false}, {460, 380, 9, false}};
    for (const auto& g : gulls)
        blitKeyed(screen, g.far ? p.farGulls : p.gulls, 11, g.frame, g.x, g.y, g.far ? 15 : 18,
                  g.far ? 5 : 6);
    blitKeyed(screen, p.stone, kStoneH, 0, 0, kStoneY, kWidth, kStoneH);
    blitKeyed(screen, p.treeMask, 164, 0, kMaskX, kMaskY, kMaskW, kMaskH);
    return screen;
}

Image contactSheet(const SceneParts& p) {
    const Rgb paper = rgb8(96, 96, 100);
    struct Row {
        const Indexed* strip;
        int frameH, frames, zoom, perRow;
    };
    const Row rows[] = {{&p.gulls, 11, 40, 4, 8},
                        {&p.farGulls, 11, 40, 4, 8},
                        {&p.yacht, 31, 28, 3, 14},
                        {&p.dolphin, 39, 19, 2, 8}};
    const int width = 1480, gap = 6;
    std::vector<std::pair<Image, Vec2>> tiles;
    int y = gap;
    auto place = [&](Image tile, int perRow, int index, int& rowTop, int tileW, int tileH) {
        const int col = index % perRow, line = index / perRow;
        tiles.push_back(
            {std::move(tile), Vec2{float(gap + col * (tileW + gap)), float(rowTop + line * (tileH + gap))}});
    };
    for (const Row& r : rows) {
        const Image shown = showKeyed(*r.strip, paper);
        const int tw = r.strip->w * r.zoom, th = r.frameH * r.zoom;
        for (int f = 0; f < r.frames; ++f) {
            Image tile(tw, th);
            for (int ty = 0; ty < th; ++ty)
                for (int tx = 0; tx < tw; ++tx)
                    tile.at(tx, ty) = shown.at(tx / r.zoom, f * r.frameH + ty / r.zoom);
            place(std::move(tile), r.perRow, f, y, tw, th);
        }
        y += ((r.frames + r.perRow - 1) / r.perRow) * (th + gap) + 2 * gap;
    }
    const struct {
        const Image* strip;
        int w, h;
    } waters[] = {{&p.highWater, scene::kWidth, scene::kHighH}, {&p.lowWater, scene::kLowW, scene::kLowH}};
    for (const auto& wtr : waters) {
        const int tw = wtr.w / 2, th = wtr.h / 2, perRow = std::max(1, (width - gap) / (tw + gap));
        for (int f = 0; f < scene::kFrames; ++f)
            place(resampleArea(crop(*wtr.strip, 0, f * wtr.h, wtr.w, wtr.h), tw, th), perRow, f, y, tw, th);
        y += ((scene::kFrames + perRow - 1) / perRow) * (th + gap) + 2 * gap;
    }
    Image sheet(width, y, paper);
    for (const auto& [tile, at] : tiles) blit(sheet, tile, 0, 0, tile.w, tile.h, int(at.x), int(at.y));
    return sheet;
}

}  // namespace art
