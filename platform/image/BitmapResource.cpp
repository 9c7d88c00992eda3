// The program's bitmap resources, decoded by what their first bytes say they are.
#include "platform/Resources.h"
#include "platform/forms/Bitmap.h"

namespace platform {

std::optional<TBitmap> LoadBitmapResource(std::string_view name) {
    const std::span<const std::uint8_t> bytes = FindResourceBytes(name);
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return DecodeJpeg(bytes);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return DecodeBmp(bytes);
    return std::nullopt;
}

}  // namespace platform
