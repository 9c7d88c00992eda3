// Arbitrary bytes as a settings file: reading never fails or reads outside
// the text, keeps the text byte for byte but for a header put in place of
// what it tells it dropped, and a value written into it reads
// back whatever surrounds it. The same bytes as a value's data must come
// back unchanged from its text form.

#include "platform/registry/RegDocument.h"
#include "platform/winapi/Registry.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using platform::registry::Lookup;
using platform::registry::RegDocument;
using platform::registry::RegValue;

namespace {

constexpr std::string_view kKey = "HKEY_CURRENT_USER\\SOFTWARE\\Corvane\\Tidereach";

void Check(bool condition) {
    if (!condition) std::abort();
}

void ExpectReadsBack(const RegDocument& document, std::string_view name, const RegValue& value) {
    auto found = RegDocument::Parse(document.Serialize(), kKey).Find(name);
    Check(found.state == Lookup::Found && found.value == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RegDocument document = RegDocument::Parse(text, kKey);
    const std::string serialized = document.Serialize();
    if (serialized != text) {
        // A text without its header gets one in place of what it dropped.
        const std::string& dropped = document.Dropped();
        const std::size_t header = serialized.size() + dropped.size() - text.size();
        Check(text.starts_with(dropped) && serialized.size() >= header &&
              serialized.starts_with("REGEDIT4") && serialized.substr(header) == text.substr(dropped.size()));
    }

    const auto before = document.Find("Gamma");
    const RegValue written{REG_DWORD, {1, 2, 3, 4}};
    document.Set("Fuzz", written);
    ExpectReadsBack(document, "Fuzz", written);
    const auto after = RegDocument::Parse(document.Serialize(), kKey).Find("Gamma");
    Check(after.state == before.state && after.value == before.value);

    if (size > 0) {
        const RegValue bytes{data[0] % 12u, std::vector<BYTE>(data + 1, data + size)};
        RegDocument fresh = RegDocument::Parse("", kKey);
        fresh.Set("Odd \"name\" \\", bytes);
        ExpectReadsBack(fresh, "Odd \"name\" \\", bytes);
    }
    return 0;
}
