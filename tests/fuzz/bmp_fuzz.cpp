// Arbitrary bytes as an embedded BMP picture, run-length encoded ones included.

#include "DecodedPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    return CheckDecodedPicture(platform::DecodeBmp({data, size}, &error), error);
}
