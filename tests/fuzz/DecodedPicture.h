// What every picture decoder owes its caller, whatever the bytes: a failure
// with a reason, or a non-empty picture of 0x00RRGGBB pixels.
#pragma once

#include "platform/forms/Bitmap.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

inline int CheckDecodedPicture(const std::optional<TBitmap>& picture, const std::string& error) {
    if (!picture) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (picture->Empty()) std::abort();
    for (int y = 0; y < picture->Height(); ++y)
        for (const std::uint32_t pixel : picture->Row(y))
            if (pixel > 0x00FFFFFF) std::abort();
    return 0;
}
