#include "platform/registry/ValueText.h"

#include "platform/registry/Ascii.h"
#include "platform/winapi/Registry.h"

#include <cstdio>

namespace platform::registry {

namespace {

constexpr std::size_t kWrapColumn = 77;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
    if (!StartsWithNoCase(text, prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

// 1 to `maxDigits` hex digits, nothing else.
std::optional<DWORD> ParseHexNumber(std::string_view digits, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
    DWORD number = 0;
    for (char c : digits) {
        int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        number = (number << 4) | DWORD(d);
    }
    return number;
}

std::optional<std::vector<BYTE>> ParseByteList(std::string_view list) {
    std::vector<BYTE> bytes;
    list = TrimBlanks(list);
    if (list.empty()) return bytes;
    bytes.reserve(list.size() / 3 + 1);
    while (true) {
        std::size_t comma = list.find(',');
        std::string_view token = TrimBlanks(list.substr(0, comma));
        if (token.size() != 2) return std::nullopt;
        int high = HexDigit(token[0]);
        int low = HexDigit(token[1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(BYTE(high * 16 + low));
        if (comma == std::string_view::npos) return bytes;
        list.remove_prefix(comma + 1);
    }
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
}

// Text that the quoted form carries unchanged: one terminating zero and no
// control characters, which would break the line.
bool IsPlainText(const std::vector<BYTE>& data) {
    if (data.empty() || data.back() != 0) return false;
    for (std::size_t i = 0; i + 1 < data.size(); ++i) {
        if (data[i] < 0x20) return false;
    }
    return true;
}

void AppendHexData(std::string& out, const std::vector<BYTE>& data, std::string_view eol) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::size_t lineStart = out.rfind('\n');
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    for (std::size_t i = 0; i < data.size(); ++i) {
        out += kDigits[data[i] >> 4];
        out += kDigits[data[i] & 15];
        if (i + 1 == data.size()) break;
        out += ',';
        if (out.size() - lineStart >= kWrapColumn) {
            out += '\\';
            out += eol;
            lineStart = out.size();
            out += "  ";
        }
    }
}

}  // namespace

std::optional<std::string> TakeQuoted(std::string_view& text) {
    if (text.empty() || text.front() != '"') return std::nullopt;
    std::string result;
    for (std::size_t i = 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return result;
        }
        // Only \\ and \" are escapes; any other backslash is kept as written.
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) c = text[++i];
        result += c;
    }
    return std::nullopt;
}

std::optional<RegValue> ParseValueData(std::string_view data) {
    data = TrimBlanks(data);
    if (!data.empty() && data.front() == '"') {
        std::optional<std::string> text = TakeQuoted(data);
        if (!text || !TrimBlanks(data).empty()) return std::nullopt;
        RegValue value{REG_SZ, std::vector<BYTE>(text->begin(), text->end())};
        value.data.push_back(0);
        return value;
    }
    if (TakePrefix(data, "dword:")) {
        if (data.size() != 8) return std::nullopt;
        std::optional<DWORD> number = ParseHexNumber(data, 8);
        if (!number) return std::nullopt;
        return RegValue{REG_DWORD,
                        {BYTE(*number), BYTE(*number >> 8), BYTE(*number >> 16), BYTE(*number >> 24)}};
    }
    DWORD type = REG_BINARY;
    if (TakePrefix(data, "hex(")) {
        std::size_t close = data.find("):");
        if (close == std::string_view::npos) return std::nullopt;
        std::optional<DWORD> number = ParseHexNumber(data.substr(0, close), 8);
        if (!number) return std::nullopt;
        type = *number;
        data.remove_prefix(close + 2);
    } else if (!TakePrefix(data, "hex:")) {
        return std::nullopt;
    }
    std::optional<std::vector<BYTE>> bytes = ParseByteList(data);
    if (!bytes) return std::nullopt;
    return RegValue{type, std::move(*bytes)};
}

std::string FormatValueLine(std::string_view name, const RegValue& value, std::string_view eol) {
    std::string line;
    if (name.empty()) {
        line += '@';  // the default value
    } else {
        AppendQuoted(line, name);
    }
    line += '=';
    if (value.type == REG_SZ && IsPlainText(value.data)) {
        const auto* chars = reinterpret_cast<const char*>(value.data.data());
        AppendQuoted(line, std::string_view(chars, value.data.size() - 1));
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        DWORD number = DWORD(value.data[0]) | DWORD(value.data[1]) << 8 | DWORD(value.data[2]) << 16 |
                       DWORD(value.data[3]) << 24;
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", unsigned(number));
        line += "dword:";
        line += digits;
    } else {
        if (value.type == REG_BINARY) {
            line += "hex:";
        } else {
            char type[24];
            std::snprintf(type, sizeof type, "hex(%x):", unsigned(value.type));
            line += type;
        }
        AppendHexData(line, value.data, eol);
    }
    return line;
}

}  // namespace platform::registry
