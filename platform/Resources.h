// The program's own resources, embedded at build time and looked up by name
// (the file stem under resources/, e.g. "PREV_BITMAP", "SoundName").
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

// Empty span when no resource has that name.
std::span<const std::uint8_t> FindResourceBytes(std::string_view name);

}  // namespace platform
