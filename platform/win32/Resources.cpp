// The program's resources are Windows resources of its own module: pictures
// and the city table as RCDATA, the sound as WAVE, bitmaps as BITMAP.
#include "platform/Resources.h"

#include "platform/win32/ResourceBytes.h"

#include <string>

namespace platform {

namespace win32 {

std::span<const std::uint8_t> ResourceBytes(std::string_view name, LPCSTR type) {
    const std::string key(name);
    HRSRC found = FindResourceA(nullptr, key.c_str(), type);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return {};
    return {static_cast<const std::uint8_t*>(bytes), SizeofResource(nullptr, found)};
}

}  // namespace win32

std::span<const std::uint8_t> FindResourceBytes(std::string_view name) {
    for (LPCSTR type : {LPCSTR(RT_RCDATA), "WAVE"}) {
        const auto bytes = win32::ResourceBytes(name, type);
        if (!bytes.empty()) return bytes;
    }
    return {};
}

}  // namespace platform
