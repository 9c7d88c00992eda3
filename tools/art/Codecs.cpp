#include "Codecs.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace art {

namespace {

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

File openForWriting(const std::string& path) {
    File f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) throw std::runtime_error("cannot write " + path);
    return f;
}

std::vector<std::uint8_t> rgbRow(const Image& picture, int y) {
    std::vector<std::uint8_t> row;
    for (int x = 0; x < picture.w; ++x) {
        const Rgb8 c = toRgb8(picture.at(x, y));
        row.insert(row.end(), {c.r, c.g, c.b});
    }
    return row;
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Length of the run of equal bytes starting at `i`, at most 255.
size_t runLength(const std::uint8_t* row, size_t i, size_t width) {
    size_t n = 1;
    while (i + n < width && n < 255 && row[i + n] == row[i]) ++n;
    return n;
}

void encodeRow(const std::uint8_t* row, size_t width, std::vector<std::uint8_t>& out) {
    size_t i = 0;
    while (i < width) {
        size_t run = runLength(row, i, width);
        if (run >= 3) {
            out.insert(out.end(), {std::uint8_t(run), row[i]});
            i += run;
            continue;
        }
        // Gather bytes that do not start a run of three into an absolute block.
        size_t end = i;
        while (end < width && end - i < 255 && runLength(row, end, width) < 3)
            end += runLength(row, end, width);
        end = std::min(end, i + 255);
        const size_t n = end - i;
        if (n < 3) {
            for (size_t k = i; k < end; ++k) out.insert(out.end(), {1, row[k]});
        } else {
            out.insert(out.end(), {0, std::uint8_t(n)});
            out.insert(out.end(), row + i, row + end);
            if (n % 2) out.push_back(0);
        }
        i = end;
    }
}

}  // namespace

void writeJpeg(const std::string& path, const Image& picture, int quality) {
    File f = openForWriting(path);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f.get());
    cinfo.image_width = JDIMENSION(picture.w);
    cinfo.image_height = JDIMENSION(picture.h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    for (int y = 0; y < picture.h; ++y) {
        std::vector<std::uint8_t> row = rgbRow(picture, y);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
}

void writePng(const std::string& path, const Image& picture) {
    File f = openForWriting(path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot encode " + path);
    }
    png_init_io(png, f.get());
    png_set_IHDR(png, info, png_uint_32(picture.w), png_uint_32(picture.h), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.h; ++y) {
        std::vector<std::uint8_t> row = rgbRow(picture, y);
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

std::vector<std::uint8_t> encodeRle8(const Indexed& picture) {
    std::vector<std::uint8_t> out;
    for (int y = picture.h - 1; y >= 0; --y) {
        encodeRow(&picture.index[size_t(y) * picture.w], size_t(picture.w), out);
        out.insert(out.end(), {0, std::uint8_t(y == 0 ? 1 : 0)});
    }
    return out;
}

std::vector<std::uint8_t> bmpRle8File(const Indexed& picture) {
    const std::vector<std::uint8_t> pixels = encodeRle8(picture);
    const std::uint32_t offset = 14 + 40 + 4 * std::uint32_t(picture.palette.size());
    std::vector<std::uint8_t> out{'B', 'M'};
    put32(out, offset + std::uint32_t(pixels.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, std::uint32_t(picture.w));
    put32(out, std::uint32_t(picture.h));
    put16(out, 1);
    put16(out, 8);
    put32(out, 1);  // BI_RLE8
    put32(out, std::uint32_t(pixels.size()));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, std::uint32_t(picture.palette.size()));
    put32(out, 0);
    for (Rgb8 c : picture.palette) out.insert(out.end(), {c.b, c.g, c.r, 0});
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace art
