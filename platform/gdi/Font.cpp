#include "platform/gdi/Font.h"

#include "platform/Resources.h"
#include "platform/gdi/PixelAccess.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <memory>

namespace platform::gdi {
namespace {

// The face's pixel size: with DejaVu Sans a cell 13 pixels above the
// baseline and 3 below, like the 16-pixel system font.
constexpr FT_UInt kPixelSize = 13;

// Windows-1252 characters 0x80 to 0x9F; undefined ones map to U+FFFD.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

char32_t ToUnicode(unsigned char c) { return (c >= 0x80 && c < 0xA0) ? kCp1252High[c - 0x80] : char32_t(c); }

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter>;
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

Glyph Render(FT_Face face, unsigned char c) {
    Glyph glyph;
    if (FT_Load_Char(face, ToUnicode(c), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) return glyph;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = int((slot->advance.x + 32) >> 6);
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = int(bitmap.width);
    glyph.height = int(bitmap.rows);
    glyph.coverage.resize(std::size_t(glyph.width) * glyph.height);
    for (int row = 0; row < glyph.height; ++row) {
        const unsigned char* source = bitmap.buffer + std::ptrdiff_t(row) * bitmap.pitch;
        std::copy_n(source, glyph.width, glyph.coverage.begin() + std::ptrdiff_t(row) * glyph.width);
    }
    return glyph;
}

BYTE Mix(int over, int under, int alpha) { return BYTE((over * alpha + under * (255 - alpha) + 127) / 255); }

}  // namespace

Font::Font(std::span<const std::uint8_t> faceBytes) {
    FT_Library rawLibrary = nullptr;
    if (faceBytes.empty() || FT_Init_FreeType(&rawLibrary) != 0) return;
    const LibraryPtr library(rawLibrary);
    FT_Face rawFace = nullptr;
    if (FT_New_Memory_Face(library.get(), faceBytes.data(), FT_Long(faceBytes.size()), 0, &rawFace) != 0)
        return;
    const FacePtr face(rawFace);
    if (FT_Set_Pixel_Sizes(face.get(), 0, kPixelSize) != 0) return;
    const FT_Size_Metrics& metrics = face->size->metrics;
    const int ascent = int((metrics.ascender + 63) >> 6);
    const int descent = int((FT_MulFix(-face->descender, metrics.y_scale) + 32) >> 6);
    for (int c = 0; c < 256; ++c) glyphs_[c] = Render(face.get(), static_cast<unsigned char>(c));
    ascent_ = ascent;
    cellHeight_ = ascent + descent;
}

std::int64_t Font::TextWidth(std::string_view text) const {
    std::int64_t width = 0;
    for (char c : text) width += ForChar(c).advance;
    return width;
}

const Font& DefaultFont() {
    // Rendered whole at first use, then only read: contexts on any thread
    // share it without a lock, and FreeType is not kept around.
    static const Font font(FindResourceBytes("DejaVuSans"));
    return font;
}

void DrawText(const PixelTarget& target, const Font& font, int x, int y, std::string_view text,
              COLORREF color, std::optional<COLORREF> background) {
    const int bpp = target.bitsPerPixel;
    if (background) {
        const std::uint32_t fill = PackColor(*background, bpp);
        const std::int64_t right = x + font.TextWidth(text);
        for (std::int64_t row = y; row < std::int64_t(y) + font.CellHeight(); ++row)
            FillSpan(target, row, x, right, fill);
    }
    const std::uint32_t solid = PackColor(color, bpp);
    const std::int64_t baseline = std::int64_t(y) + font.Ascent();
    std::int64_t penX = x;
    for (char c : text) {
        const Glyph& glyph = font.ForChar(c);
        const std::int64_t left = penX + glyph.left;
        const std::int64_t top = baseline - glyph.top;
        penX += glyph.advance;
        for (int gy = 0; gy < glyph.height; ++gy) {
            const std::int64_t ty = top + gy;
            if (ty < 0 || ty >= target.height) continue;
            const std::uint8_t* coverage = glyph.coverage.data() + std::ptrdiff_t(gy) * glyph.width;
            for (int gx = 0; gx < glyph.width; ++gx) {
                const std::int64_t tx = left + gx;
                const int alpha = coverage[gx];
                if (alpha == 0 || tx < 0 || tx >= target.width) continue;
                if (alpha == 255) {
                    WritePixel(target, int(tx), int(ty), solid);
                    continue;
                }
                const COLORREF under = UnpackColor(ReadPixel(target, int(tx), int(ty)), bpp);
                const COLORREF mixed = RGB(Mix(GetRValue(color), GetRValue(under), alpha),
                                           Mix(GetGValue(color), GetGValue(under), alpha),
                                           Mix(GetBValue(color), GetBValue(under), alpha));
                WritePixel(target, int(tx), int(ty), PackColor(mixed, bpp));
            }
        }
    }
}

}  // namespace platform::gdi
