// Arbitrary bytes as an embedded JPEG picture.

#include "DecodedPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    return CheckDecodedPicture(platform::DecodeJpeg({data, size}, &error), error);
}
