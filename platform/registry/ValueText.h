// The text forms of one value in a REGEDIT4 export: the quoted name, and the
// data after "=" ("text", dword:0000002a, hex:.., hex(N):..).
#pragma once

#include "platform/winapi/WinTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::registry {

struct RegValue {
    DWORD type = 0;
    std::vector<BYTE> data;
    friend bool operator==(const RegValue&, const RegValue&) = default;
};

// Reads a quoted string at the start of `text` ("a\"b" with \\ and \"
// escaped) and advances `text` past it; nullopt when it is not closed.
std::optional<std::string> TakeQuoted(std::string_view& text);

// The data part of a value line, continuation lines already joined; nullopt
// for a form this store does not know or a damaged one. Strict on purpose: a
// dword must have all 8 digits and every byte 2, so a cut-off line is caught
// instead of read as a smaller number.
std::optional<RegValue> ParseValueData(std::string_view data);

// One value line without its line end: "name"=data, or @=data for the
// unnamed value. Long hex data is wrapped as regedit does, each break
// followed by `eol` and two spaces.
std::string FormatValueLine(std::string_view name, const RegValue& value, std::string_view eol);

}  // namespace platform::registry
