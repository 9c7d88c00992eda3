#include "display/PictureLoading.h"

#include "display/Drawable.h"
#include "platform/Resources.h"

#include <utility>

namespace {

// The picture, or why there is none.
std::optional<TBitmap> DecodeResource(std::string_view resource, std::string& error) {
    const auto bytes = platform::FindResourceBytes(resource);
    if (bytes.empty()) {
        error = "no picture \"" + std::string(resource) + "\" in the program";
        return std::nullopt;
    }
    std::string why;
    auto picture = platform::DecodeJpeg(bytes, &why);
    if (!picture) error = "picture \"" + std::string(resource) + "\": " + why;
    return picture;
}

bool Give(std::optional<TBitmap> picture, const std::string& why, Drawable& drawable, std::string* error) {
    if (!picture) {
        if (error != nullptr) *error = why;
        return false;
    }
    drawable.SetBitmap(std::move(*picture));
    return true;
}

}  // namespace

bool LoadJpegResource(std::string_view resource, Drawable& drawable, std::string* error) {
    std::string why;
    auto picture = DecodeResource(resource, why);
    return Give(std::move(picture), why, drawable, error);
}

PendingJpeg::PendingJpeg(std::string_view resource)
    : decoded_(std::async(std::launch::async, [name = std::string(resource)] {
          Decoded decoded;
          decoded.picture = DecodeResource(name, decoded.error);
          return decoded;
      })) {}

bool PendingJpeg::LoadInto(Drawable& drawable, std::string* error) {
    Decoded decoded = decoded_.get();
    return Give(std::move(decoded.picture), decoded.error, drawable, error);
}
