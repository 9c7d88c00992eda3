// Snapshots as 8-bit RGB PNG files through libpng.
#include "platform/forms/Bitmap.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace platform {
namespace {

struct WriteErrors {
    char message[256] = "";
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    auto* errors = static_cast<WriteErrors*>(png_get_error_ptr(png));
    std::snprintf(errors->message, sizeof errors->message, "%s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Writes the rows into an open file; `row` lives in the caller's frame, as
// objects that change after setjmp must not be locals of its function.
bool WriteRows(const TBitmap& bitmap, std::FILE* file, std::vector<png_byte>* row, WriteErrors* errors) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, errors, OnError, OnWarning);
    if (png == nullptr) {
        std::snprintf(errors->message, sizeof errors->message, "cannot start the PNG writer");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(bitmap.Width()), png_uint_32(bitmap.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < bitmap.Height(); ++y) {
        png_byte* out = row->data();
        for (const std::uint32_t pixel : bitmap.Row(y)) {
            *out++ = png_byte(pixel >> 16);
            *out++ = png_byte(pixel >> 8);
            *out++ = png_byte(pixel);
        }
        png_write_row(png, row->data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const TBitmap& bitmap, const std::filesystem::path& file, std::string* error) {
    const auto fail = [&](const std::string& text) {
        if (error != nullptr) *error = file.string() + ": " + text;
        return false;
    };
    if (bitmap.Empty()) return fail("cannot write an empty picture");
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) return fail(std::strerror(errno));
    std::vector<png_byte> row(std::size_t(bitmap.Width()) * 3);
    WriteErrors errors;
    const bool written = WriteRows(bitmap, out, &row, &errors);
    // Closing flushes the last buffered bytes, so its failure is a failed write.
    const bool closed = std::fclose(out) == 0;
    if (written && closed) return true;
    // Only a half-written file of our own goes; a device such as /dev/full stays.
    std::error_code ignored;
    if (std::filesystem::is_regular_file(file, ignored)) std::filesystem::remove(file, ignored);
    return fail(written ? std::string(std::strerror(errno)) : std::string(errors.message));
}

}  // namespace platform
