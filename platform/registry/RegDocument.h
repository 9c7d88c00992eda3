// A REGEDIT4 export seen as the values of one key. The text is held as its
// lines, so that changing one value rewrites that value's line only and keeps
// everything else byte for byte: other keys' sections, comments, lines this
// store does not understand, line ends.
#pragma once

#include "platform/registry/ValueText.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform::registry {

enum class Lookup { Found, Missing, Unreadable };

struct LookupResult {
    Lookup state = Lookup::Missing;
    RegValue value;  // when Found
};

class RegDocument {
public:
    // `key` is the section name, e.g. HKEY_CURRENT_USER\SOFTWARE\A\B; key and
    // value names compare without regard to ASCII case. Never fails: what is
    // not a value line of a known form in the key's sections is kept opaque.
    // A text that does not start with an export's header line is given one,
    // in place of whatever stands before its first section.
    static RegDocument Parse(std::string_view text, std::string_view key);
    std::string Serialize() const;
    // What Parse left out: the text before the first section of a file that
    // does not start with a header. Empty for a well-formed store.
    const std::string& Dropped() const { return dropped_; }

    bool HasSection() const;
    // A value set twice counts with its last line, as on import.
    LookupResult Find(std::string_view name) const;

    // Replaces the value's last line, or adds one at the end of the key's
    // last section, adding the section (and a new export's header) if needed.
    void Set(std::string_view name, const RegValue& value);
    void AddSection();
    // Removes every line of the value; false when there was none.
    bool Remove(std::string_view name);

private:
    enum class Kind { Opaque, Section, Value, Deletion };
    struct Line {
        std::string raw;  // the physical lines with their line ends
        Kind kind = Kind::Opaque;
        std::string name;
        std::optional<RegValue> value;  // nullopt when damaged
    };

    explicit RegDocument(std::string_view key) : key_(key) {}
    static Line ValueLine(std::string raw, std::string_view logical);
    // Adds at the end, merging opaque lines into one.
    void Append(Line line);
    void Insert(std::size_t at, Line line);
    std::size_t FindLine(std::string_view name) const;

    std::string key_;
    std::vector<Line> lines_;
    std::string dropped_;
    std::string eol_ = "\n";
};

}  // namespace platform::registry
