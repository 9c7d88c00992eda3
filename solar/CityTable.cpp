#include "solar/CityTable.h"

#include "platform/Resources.h"

#include <bit>
#include <span>
#include <stdexcept>
#include <string>

namespace {

std::span<const std::uint8_t> TableBytes() {
    static const std::span<const std::uint8_t> bytes = [] {
        const std::span<const std::uint8_t> found = platform::FindResourceBytes("cities");
        if (found.size() != CityCount * CityRecordSize) {
            throw std::runtime_error("the city table has " + std::to_string(found.size()) +
                                     " bytes instead of " + std::to_string(CityCount * CityRecordSize));
        }
        return found;
    }();
    return bytes;
}

std::uint32_t LittleEndian32(const std::uint8_t* at) {
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 |
           std::uint32_t(at[3]) << 24;
}

}  // namespace

std::string_view CityRecord::Name() const {
    const std::string_view field(reinterpret_cast<const char*>(bytes_), CityNameFieldSize);
    return field.substr(0, field.find('\0'));
}

float CityRecord::Latitude() const {
    return std::bit_cast<float>(LittleEndian32(bytes_ + CityNameFieldSize));
}

float CityRecord::Longitude() const {
    return std::bit_cast<float>(LittleEndian32(bytes_ + CityNameFieldSize + 4));
}

int CityRecord::Offset() const {
    return std::bit_cast<std::int32_t>(LittleEndian32(bytes_ + CityNameFieldSize + 8));
}

std::optional<CityRecord> CityAt(int position) {
    const std::span<const std::uint8_t> table = TableBytes();
    if (position < 0 || position >= CityCount) return std::nullopt;
    return CityRecord(table.data() + std::size_t(position) * CityRecordSize);
}
