// The constant table of cities embedded in the program: 3937 records of 64
// bytes, read in place. A record's position is its identity (the stored
// city index), so the table's order is part of the settings' meaning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

inline constexpr int CityCount = 3937;
inline constexpr std::size_t CityRecordSize = 64;
inline constexpr std::size_t CityNameFieldSize = 52;

// One record, viewed in the embedded bytes; valid for the life of the program.
// Layout: the name, NUL-padded to 52 bytes, then latitude and longitude as
// little-endian 32-bit floats and the offset as a little-endian 32-bit
// integer.
class CityRecord {
public:
    explicit CityRecord(const std::uint8_t* bytes) : bytes_(bytes) {}

    // "AACHEN GE", "ABBEVILLE(SC) US": up to the first NUL of the name field.
    std::string_view Name() const;
    // Degrees, north positive.
    float Latitude() const;
    // Degrees, east positive.
    float Longitude() const;
    // Whole hours from UTC to the place's standard time, east positive.
    int Offset() const;

private:
    const std::uint8_t* bytes_;
};

// The record at `position`, or nothing outside 0..CityCount-1. Throws
// std::runtime_error when the program was built with a city table of the
// wrong size.
std::optional<CityRecord> CityAt(int position);
