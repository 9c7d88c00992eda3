// check_bmp DIR: loads each 8-bit bitmap of the scene with SDL2's BMP reader and checks
// its size, and for the keyed ones that every frame starts with the key colour.
#include <SDL.h>

#include <cstdio>
#include <string>

namespace {

struct Expected {
    const char* name;
    int w, h, frameH;  // frameH 0: not colour-keyed
};

constexpr Expected kBitmaps[] = {
    {"stone.bmp", 800, 245, 245},     {"masktree.bmp", 40, 164, 164}, {"bird.bmp", 30, 440, 11},
    {"birds_small.bmp", 30, 440, 11}, {"yacht.bmp", 31, 868, 31},     {"dolphin.bmp", 88, 741, 39},
    {"PREV_BITMAP.bmp", 154, 116, 0},
};

bool check(const std::string& dir, const Expected& e) {
    SDL_Surface* s = SDL_LoadBMP((dir + "/" + e.name).c_str());
    if (!s) return std::fprintf(stderr, "%s: %s\n", e.name, SDL_GetError()), false;
    bool ok = s->w == e.w && s->h == e.h && s->format->BitsPerPixel == 8;
    const auto* px = static_cast<const Uint8*>(s->pixels);
    int keyed = 0;
    for (int f = 0; e.frameH && f < e.h / e.frameH; ++f) {
        const SDL_Color c = s->format->palette->colors[px[f * e.frameH * s->pitch]];
        ok = ok && c.r == 255 && c.g == 0 && c.b == 255;
        for (int y = f * e.frameH; y < (f + 1) * e.frameH; ++y)
            for (int x = 0; x < s->w; ++x) keyed += px[y * s->pitch + x] == px[f * e.frameH * s->pitch];
    }
    std::printf("%-16s %dx%d %d bpp, %d colours, %d keyed pixels: %s\n", e.name, s->w, s->h,
                s->format->BitsPerPixel, s->format->palette ? s->format->palette->ncolors : 0, keyed,
                ok ? "ok" : "WRONG");
    SDL_FreeSurface(s);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return std::fprintf(stderr, "usage: %s DIR\n", argv[0]), 2;
    bool ok = true;
    for (const Expected& e : kBitmaps) ok = check(argv[1], e) && ok;
    return ok ? 0 : 1;
}
