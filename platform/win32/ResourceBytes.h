// The bytes of one of the program's own Windows resources. Internal to
// platform/win32.
#pragma once

#include "platform/winapi/WinTypes.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace platform::win32 {

// Empty when the program has no resource of that name and type.
std::span<const std::uint8_t> ResourceBytes(std::string_view name, LPCSTR type);

}  // namespace platform::win32
