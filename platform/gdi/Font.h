// The default font of every device context: an embedded TrueType sans face
// rendered once, anti-aliased, at about the height of a system font.
#pragma once

#include "platform/gdi/DeviceContext.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace platform::gdi {

// One rendered character: coverage 0 to 255, rows top to bottom.
struct Glyph {
    int left = 0;  // from the pen position to the first column
    int top = 0;   // from the baseline up to the first row
    int width = 0;
    int height = 0;
    int advance = 0;
    std::vector<std::uint8_t> coverage;
};

class Font {
public:
    // Renders all 256 ANSI (Windows-1252) characters of the face; an empty
    // font when the bytes are not a usable face.
    explicit Font(std::span<const std::uint8_t> faceBytes);

    bool Loaded() const { return cellHeight_ > 0; }
    int Ascent() const { return ascent_; }
    int CellHeight() const { return cellHeight_; }
    const Glyph& ForChar(char c) const { return glyphs_[static_cast<unsigned char>(c)]; }
    std::int64_t TextWidth(std::string_view text) const;

private:
    int ascent_ = 0;
    int cellHeight_ = 0;
    std::array<Glyph, 256> glyphs_;
};

// Loaded on first use, once per process, from the embedded face.
const Font& DefaultFont();

// Draws `text` with the top-left of its cell at (x, y), glyphs blended over
// the target in `color`; with a background the cell is filled with it first.
void DrawText(const PixelTarget& target, const Font& font, int x, int y, std::string_view text,
              COLORREF color, std::optional<COLORREF> background);

}  // namespace platform::gdi
