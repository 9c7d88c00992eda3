// The framework's conversion helpers and their exception.
#pragma once

#include <stdexcept>
#include <string>

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decimal (or $/0x hexadecimal) 32-bit integer with optional sign and
// surrounding blanks; anything else throws "'<text>' is not a valid integer value".
int StrToInt(const std::string& text);
