// Pictures embedded in the program, decoded into a drawable's Bitmap.
#pragma once

#include "platform/forms/Bitmap.h"

#include <future>
#include <optional>
#include <string>
#include <string_view>

class Drawable;

// Decodes the embedded JPEG picture `resource` and gives it to the drawable
// as its Bitmap. False, with `error` filled and the Bitmap left as it was,
// when there is no such resource or it does not decode.
bool LoadJpegResource(std::string_view resource, Drawable& drawable, std::string* error = nullptr);

// An embedded JPEG picture decoding on a thread of its own from the moment
// this is made, so that large pictures decode side by side and beside the
// rest of a set-up.
class PendingJpeg {
public:
    explicit PendingJpeg(std::string_view resource);

    // Waits for the picture, then does what LoadJpegResource does; once.
    bool LoadInto(Drawable& drawable, std::string* error = nullptr);

private:
    struct Decoded {
        std::optional<TBitmap> picture;
        std::string error;
    };
    std::future<Decoded> decoded_;
};
