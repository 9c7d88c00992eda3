// JPEG pictures through libjpeg, made safe for damaged input: libjpeg's
// fatal errors would end the process and its warnings would let a damaged
// picture through half grey, so both jump back here and fail the decode.
#include "platform/forms/Bitmap.h"
#include "platform/image/Limits.h"

#include <jpeglib.h>

#include <bit>
#include <csetjmp>
#include <cstdio>

namespace platform {
namespace {

// Legitimate progressive pictures have about ten scans; thousands only
// burn time.
constexpr int kMaxScans = 500;

// The decoder's 0x00RRGGBB pixels, as bytes in memory, with libjpeg's
// fourth byte as the top one (masked off afterwards).
constexpr J_COLOR_SPACE kPixelLayout =
    std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct ProgressMonitor {
    jpeg_progress_mgr base;
    j_decompress_ptr info;
};

[[noreturn]] void Fail(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    if (level < 0) Fail(info);
}

void OnProgress(j_common_ptr common) {
    const auto* monitor = reinterpret_cast<ProgressMonitor*>(common->progress);
    if (monitor->info->input_scan_number > kMaxScans) {
        auto* errors = reinterpret_cast<ErrorManager*>(common->err);
        std::snprintf(errors->message, sizeof errors->message, "JPEG has more than %d scans", kMaxScans);
        std::longjmp(errors->jump, 1);
    }
}

// Decodes into `picture`, which lives in the caller's frame: objects that
// change after setjmp must not be locals of the function that calls it.
bool DecodeInto(std::span<const std::uint8_t> bytes, TBitmap* picture, ErrorManager* errors) {
    jpeg_decompress_struct info{};
    ProgressMonitor monitor{};
    info.err = jpeg_std_error(&errors->base);
    errors->base.error_exit = Fail;
    errors->base.emit_message = OnMessage;
    if (setjmp(errors->jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    monitor.base.progress_monitor = OnProgress;
    monitor.info = &info;
    info.progress = &monitor.base;
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (!image::PictureSizeAllowed(info.image_width, info.image_height)) {
        std::snprintf(errors->message, sizeof errors->message, "JPEG of %ux%u pixels is too large",
                      unsigned(info.image_width), unsigned(info.image_height));
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = kPixelLayout;
    jpeg_start_decompress(&info);
    *picture = TBitmap(int(info.output_width), int(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(picture->Row(int(info.output_scanline)).data());
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

std::optional<TBitmap> DecodeJpeg(std::span<const std::uint8_t> bytes, std::string* error) {
    ErrorManager errors{};
    TBitmap picture;
    if (bytes.empty()) {
        if (error != nullptr) *error = "empty JPEG data";
        return std::nullopt;
    }
    if (!DecodeInto(bytes, &picture, &errors)) {
        if (error != nullptr) *error = errors.message;
        return std::nullopt;
    }
    for (int y = 0; y < picture.Height(); ++y)
        for (std::uint32_t& pixel : picture.Row(y)) pixel &= 0x00FFFFFF;
    return picture;
}

}  // namespace platform
