#include "display/PictureLoading.h"

#include "display/Drawable.h"
#include "platform/Bitmap.h"
#include "platform/Resources.h"

bool LoadJpegResource(std::string_view resource, Drawable& drawable, std::string* error) {
    const auto bytes = platform::FindResourceBytes(resource);
    if (bytes.empty()) {
        if (error != nullptr) *error = "no picture \"" + std::string(resource) + "\" in the program";
        return false;
    }
    std::string why;
    const auto picture = platform::DecodeJpeg(bytes, &why);
    if (!picture) {
        if (error != nullptr) *error = "picture \"" + std::string(resource) + "\": " + why;
        return false;
    }
    drawable.SetBitmap(&*picture);
    return true;
}
