// The committed scene pictures: formats, sizes, frame counts and colour keys as the
// program's loaders see them.
#include <gtest/gtest.h>

#include <SDL.h>
#include <jpeglib.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>

namespace {

std::string resource(const char* name) { return std::string(TIDEREACH_SOURCE_DIR) + "/resources/" + name; }

struct JpegInfo {
    int width = 0, height = 0;
    bool progressive = true;
};

JpegInfo readJpegHeader(const std::string& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return {};
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f.get());
    jpeg_read_header(&cinfo, TRUE);
    JpegInfo info{int(cinfo.image_width), int(cinfo.image_height), cinfo.progressive_mode != 0};
    jpeg_destroy_decompress(&cinfo);
    return info;
}

using Surface = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

Surface loadBmp(const std::string& path) { return Surface(SDL_LoadBMP(path.c_str()), &SDL_FreeSurface); }

// Width, height and the compression field straight from BITMAPINFOHEADER.
struct BmpHeader {
    std::int32_t width = 0, height = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
};

BmpHeader readBmpHeader(const std::string& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    unsigned char h[54] = {};
    if (!f || std::fread(h, 1, sizeof h, f.get()) != sizeof h || h[0] != 'B' || h[1] != 'M') return {};
    auto u32 = [&](int at) {
        return std::uint32_t(h[at] | h[at + 1] << 8 | h[at + 2] << 16 | std::uint32_t(h[at + 3]) << 24);
    };
    return {std::int32_t(u32(18)), std::int32_t(u32(22)), std::uint16_t(h[28] | h[29] << 8), u32(30)};
}

std::uint16_t rgb565(SDL_Color c) { return std::uint16_t((c.r >> 3) << 11 | (c.g >> 2) << 5 | (c.b >> 3)); }

}  // namespace

TEST(ArtResources, WaterAndGroundAreBaselineJpegsOfTheLayoutSizes) {
    const struct {
        const char* name;
        int w, h;
    } pictures[] = {
        {"ground.jpg", 800, 408}, {"hightwater.jpg", 800, 32 * 92}, {"lowwater.jpg", 611, 32 * 115}};
    for (const auto& p : pictures) {
        const JpegInfo info = readJpegHeader(resource(p.name));
        EXPECT_EQ(info.width, p.w) << p.name;
        EXPECT_EQ(info.height, p.h) << p.name;
        EXPECT_FALSE(info.progressive) << p.name;
    }
}

TEST(ArtResources, BitmapsAreRunLengthEncodedAndEveryFrameStartsWithItsKey) {
    const struct {
        const char* name;
        int w, frameH, frames;
        bool keyed;
    } bitmaps[] = {
        {"stone.bmp", 800, 245, 1, true},        {"masktree.bmp", 40, 164, 1, true},
        {"bird.bmp", 30, 11, 40, true},          {"birds_small.bmp", 30, 11, 40, true},
        {"yacht.bmp", 31, 31, 28, true},         {"dolphin.bmp", 88, 39, 19, true},
        {"PREV_BITMAP.bmp", 154, 116, 1, false},
    };
    for (const auto& b : bitmaps) {
        SCOPED_TRACE(b.name);
        const BmpHeader header = readBmpHeader(resource(b.name));
        EXPECT_EQ(header.width, b.w);
        EXPECT_EQ(header.height, b.frameH * b.frames);  // positive: stored bottom-up
        EXPECT_EQ(header.bitsPerPixel, 8);
        EXPECT_EQ(header.compression, 1u);  // BI_RLE8

        const Surface s = loadBmp(resource(b.name));
        ASSERT_TRUE(s) << SDL_GetError();
        ASSERT_EQ(s->format->BitsPerPixel, 8);
        ASSERT_EQ(s->h, b.frameH * b.frames);
        if (!b.keyed) continue;
        const auto* px = static_cast<const Uint8*>(s->pixels);
        const SDL_Color* palette = s->format->palette->colors;
        std::set<Uint8> used;
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x) used.insert(px[y * s->pitch + x]);
        for (int f = 0; f < b.frames; ++f) {
            const Uint8 key = px[f * b.frameH * s->pitch];
            const SDL_Color k = palette[key];
            EXPECT_TRUE(k.r == 255 && k.g == 0 && k.b == 255) << "frame " << f;
            // No figure pixel may turn into the key, even in a 16-bit display mode.
            for (Uint8 i : used) {
                if (i != key) {
                    EXPECT_NE(rgb565(palette[i]), rgb565(k)) << "frame " << f << ", entry " << int(i);
                }
            }
        }
    }
}
