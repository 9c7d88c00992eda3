// Files the art generator writes: baseline JPEG, 8-bit RLE BMP, PNG for checking.
#pragma once

#include "Indexed.h"
#include "Raster.h"

#include <cstdint>
#include <string>
#include <vector>

namespace art {

void writeJpeg(const std::string& path, const Image& picture, int quality = 90);
void writePng(const std::string& path, const Image& picture);

// BI_RLE8 pixel data, bottom-up, each row closed by end-of-line, the last by end-of-bitmap.
std::vector<std::uint8_t> encodeRle8(const Indexed& picture);
// BITMAPFILEHEADER + BITMAPINFOHEADER + palette + RLE8 data.
std::vector<std::uint8_t> bmpRle8File(const Indexed& picture);
void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace art
