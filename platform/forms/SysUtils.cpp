#include "platform/forms/SysUtils.h"

#include <cctype>
#include <cstdint>
#include <limits>

int StrToInt(const std::string& text) {
    auto invalid = [&] { return EConvertError("'" + text + "' is not a valid integer value"); };
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < n && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    const std::size_t digitsStart = i;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int digit;
        if (std::isdigit(c))
            digit = c - '0';
        else if (base == 16 && std::isxdigit(c))
            digit = std::tolower(c) - 'a' + 10;
        else
            break;
        value = value * base + digit;
        if (value > std::int64_t(std::numeric_limits<std::uint32_t>::max())) throw invalid();
    }
    if (i == digitsStart) throw invalid();
    while (i < n && text[i] == ' ') ++i;
    if (i != n) throw invalid();
    if (negative) value = -value;
    // Hexadecimal spells the bit pattern, as window handles often are.
    if (base == 16 && value > std::numeric_limits<std::int32_t>::max()) value -= std::int64_t(1) << 32;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throw invalid();
    return int(value);
}
