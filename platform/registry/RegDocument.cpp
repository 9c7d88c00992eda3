#include "platform/registry/RegDocument.h"

#include "platform/registry/Ascii.h"

#include <algorithm>

namespace platform::registry {

namespace {

// Cuts the next physical line, with its '\n', off the front of `rest`.
std::string_view TakePhysicalLine(std::string_view& rest) {
    std::size_t end = rest.find('\n');
    std::size_t length = end == std::string_view::npos ? rest.size() : end + 1;
    std::string_view line = rest.substr(0, length);
    rest.remove_prefix(length);
    return line;
}

// A physical line's text without its line end and outer blanks. Carriage
// returns before the end are line-end debris too (a CR left last in a file
// gets a line end appended after it).
std::string_view Content(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return TrimBlanks(line);
}

bool IsSectionHeader(std::string_view content) {
    return content.size() >= 2 && content.front() == '[' && content.back() == ']';
}

bool IsExportHeader(std::string_view content) {
    return EqualsNoCase(content, "REGEDIT4") || EqualsNoCase(content, "Windows Registry Editor Version 5.00");
}

bool StartsValue(std::string_view content) {
    return !content.empty() && (content.front() == '"' || content.front() == '@');
}

struct ValueParts {
    std::string name;
    std::optional<std::string_view> data;  // after '='; nullopt when there is no '='
};

std::optional<ValueParts> SplitValue(std::string_view content) {
    ValueParts parts;
    if (!content.empty() && content.front() == '@') {
        content.remove_prefix(1);
    } else {
        std::optional<std::string> name = TakeQuoted(content);
        if (!name) return std::nullopt;
        parts.name = std::move(*name);
    }
    content = TrimBlanks(content);
    if (!content.empty() && content.front() == '=') parts.data = TrimBlanks(content.substr(1));
    return parts;
}

// regedit breaks long hex data over lines that end in a backslash; the
// next line is its continuation unless it plainly starts something else.
bool Continues(std::string_view next) {
    return !next.empty() && next.front() != '[' && !StartsValue(next) && next.front() != ';';
}

}  // namespace

RegDocument::Line RegDocument::ValueLine(std::string raw, std::string_view logical) {
    std::optional<ValueParts> parts = SplitValue(logical);
    if (!parts) return Line{std::move(raw), Kind::Opaque, {}, {}};
    if (parts->data && *parts->data == "-")
        return Line{std::move(raw), Kind::Deletion, std::move(parts->name), {}};
    std::optional<RegValue> value;
    if (parts->data) value = ParseValueData(*parts->data);
    return Line{std::move(raw), Kind::Value, std::move(parts->name), std::move(value)};
}

RegDocument RegDocument::Parse(std::string_view text, std::string_view key) {
    RegDocument document(key);
    std::size_t firstEnd = text.find('\n');
    if (firstEnd != std::string_view::npos && firstEnd > 0 && text[firstEnd - 1] == '\r')
        document.eol_ = "\r\n";

    // A file that does not start as an export (another program wrote over
    // it, say) gets its header back, and what stands before its first key
    // is no part of a store: whatever is written from it is an export again,
    // and the writer keeps the dropped text elsewhere.
    std::string_view rest = text;
    std::string_view firstLine = rest;
    bool beforeAnyKey = !text.empty() && !IsExportHeader(Content(TakePhysicalLine(firstLine)));
    if (beforeAnyKey) document.Append(Line{"REGEDIT4" + document.eol_ + document.eol_, Kind::Opaque, {}, {}});

    bool inKey = false;
    while (!rest.empty()) {
        std::string_view physical = TakePhysicalLine(rest);
        std::string_view content = Content(physical);
        if (IsSectionHeader(content)) beforeAnyKey = false;
        if (beforeAnyKey) {
            document.dropped_ += physical;
            continue;
        }
        if (IsSectionHeader(content)) {
            inKey = EqualsNoCase(content.substr(1, content.size() - 2), key);
            document.Append(Line{std::string(physical), inKey ? Kind::Section : Kind::Opaque, {}, {}});
            continue;
        }
        if (!inKey || !StartsValue(content)) {
            document.Append(Line{std::string(physical), Kind::Opaque, {}, {}});
            continue;
        }
        std::string raw(physical);
        std::string logical(content);
        std::optional<ValueParts> parts = SplitValue(logical);
        bool hexData = parts && parts->data && StartsWithNoCase(*parts->data, "hex");
        while (hexData && !logical.empty() && logical.back() == '\\' && !rest.empty()) {
            std::string_view lookahead = rest;
            std::string_view next = TakePhysicalLine(lookahead);
            if (!Continues(Content(next))) break;
            logical.pop_back();
            logical += Content(next);
            raw += next;
            rest = lookahead;
        }
        document.Append(ValueLine(std::move(raw), logical));
    }
    return document;
}

std::string RegDocument::Serialize() const {
    std::string text;
    std::size_t size = 0;
    for (const Line& line : lines_) size += line.raw.size();
    text.reserve(size);
    for (const Line& line : lines_) text += line.raw;
    return text;
}

bool RegDocument::HasSection() const {
    return std::any_of(lines_.begin(), lines_.end(),
                       [](const Line& line) { return line.kind == Kind::Section; });
}

LookupResult RegDocument::Find(std::string_view name) const {
    std::size_t index = FindLine(name);
    if (index == std::string::npos || lines_[index].kind == Kind::Deletion) return {Lookup::Missing, {}};
    const Line& line = lines_[index];
    if (!line.value) return {Lookup::Unreadable, {}};
    return {Lookup::Found, *line.value};
}

void RegDocument::Set(std::string_view name, const RegValue& value) {
    Line line{FormatValueLine(name, value, eol_) + eol_, Kind::Value, std::string(name), value};
    std::size_t index = FindLine(name);
    if (index != std::string::npos) {
        lines_[index] = std::move(line);
        return;
    }
    if (!HasSection()) AddSection();
    auto isSection = [](const Line& candidate) { return candidate.kind == Kind::Section; };
    std::size_t at =
        std::size_t(std::find_if(lines_.rbegin(), lines_.rend(), isSection).base() - lines_.begin());
    for (std::size_t i = at; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Value || lines_[i].kind == Kind::Deletion) at = i + 1;
    }
    Insert(at, std::move(line));
}

void RegDocument::AddSection() {
    if (lines_.empty()) {
        Append(Line{"REGEDIT4" + eol_ + eol_, Kind::Opaque, {}, {}});
    } else {
        std::string& raw = lines_.back().raw;
        if (raw.back() != '\n') raw += eol_;
        std::string_view before(raw.data(), raw.size() - 1);
        std::size_t start = before.rfind('\n');
        std::string_view lastLine = start == std::string_view::npos ? before : before.substr(start + 1);
        if (!Content(lastLine).empty()) Append(Line{eol_, Kind::Opaque, {}, {}});
    }
    Append(Line{"[" + key_ + "]" + eol_, Kind::Section, {}, {}});
}

bool RegDocument::Remove(std::string_view name) {
    std::size_t removed = std::erase_if(lines_, [&](const Line& line) {
        return (line.kind == Kind::Value || line.kind == Kind::Deletion) && EqualsNoCase(line.name, name);
    });
    return removed > 0;
}

void RegDocument::Append(Line line) {
    if (line.kind == Kind::Opaque && !lines_.empty() && lines_.back().kind == Kind::Opaque) {
        lines_.back().raw += line.raw;
    } else {
        lines_.push_back(std::move(line));
    }
}

void RegDocument::Insert(std::size_t at, Line line) {
    if (at == lines_.size() && !lines_.empty() && lines_.back().raw.back() != '\n') lines_.back().raw += eol_;
    lines_.insert(lines_.begin() + std::ptrdiff_t(at), std::move(line));
}

std::size_t RegDocument::FindLine(std::string_view name) const {
    for (std::size_t i = lines_.size(); i-- > 0;) {
        const Line& line = lines_[i];
        if ((line.kind == Kind::Value || line.kind == Kind::Deletion) && EqualsNoCase(line.name, name))
            return i;
    }
    return std::string::npos;
}

}  // namespace platform::registry
