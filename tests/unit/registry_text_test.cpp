#include "platform/registry/RegDocument.h"
#include "platform/winapi/Registry.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

using platform::registry::FormatValueLine;
using platform::registry::Lookup;
using platform::registry::ParseValueData;
using platform::registry::RegDocument;
using platform::registry::RegValue;

namespace {

constexpr const char* kKey = "HKEY_CURRENT_USER\\SOFTWARE\\Corvane\\Tidereach";

RegValue Text(const std::string& text) {
    RegValue value{REG_SZ, {text.begin(), text.end()}};
    value.data.push_back(0);
    return value;
}

}  // namespace

TEST(RegistryText, EachTypeHasItsExportFormAndReadsBack) {
    struct Case {
        std::string name;
        RegValue value;
        std::string line;
    };
    const Case cases[] = {
        {"NumBirds", {REG_DWORD, {0x2a, 0, 0, 0}}, R"("NumBirds"=dword:0000002a)"},
        {"Gamma", {REG_DWORD, {0xff, 0xff, 0xff, 0xff}}, R"("Gamma"=dword:ffffffff)"},
        {"RegLng",
         {REG_BINARY, {0, 0, 0, 0x60, 0x66, 0x66, 0x18, 0x40}},
         R"("RegLng"=hex:00,00,00,60,66,66,18,40)"},
        {"Path", Text(R"(C:\a "b")"), R"("Path"="C:\\a \"b\"")"},
        {"Home", {REG_EXPAND_SZ, {'%', 'H', '%', 0}}, R"("Home"=hex(2):25,48,25,00)"},
        {"Big", {0xb, {1, 2, 3, 4, 5, 6, 7, 8}}, R"("Big"=hex(b):01,02,03,04,05,06,07,08)"},
        {"", Text("default"), R"(@="default")"},
        {"Empty", {REG_BINARY, {}}, R"("Empty"=hex:)"},
        {"Odd\"name\\", {REG_DWORD, {1, 0, 0, 0}}, R"("Odd\"name\\"=dword:00000001)"},
        // Text that the quoted form cannot carry is kept exactly as bytes.
        {"Lines", Text("a\r\nb"), R"("Lines"=hex(1):61,0d,0a,62,00)"},
        {"Short", {REG_DWORD, {1, 2}}, R"("Short"=hex(4):01,02)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatValueLine(c.name, c.value, "\n"), c.line);
        RegDocument document = RegDocument::Parse(std::string("[") + kKey + "]\n" + c.line + "\n", kKey);
        auto found = document.Find(c.name);
        ASSERT_EQ(found.state, Lookup::Found) << c.line;
        EXPECT_EQ(found.value, c.value) << c.line;
    }
}

TEST(RegistryText, DamagedOrUnknownDataIsUnreadableNotGuessed) {
    for (const char* data :
         {"dword:0000", "dword:0000002a1", "dword:-1", "hex:0,01", "hex:00,01,", "hex:00;01", "hex(2:00",
          "hex(123456789):00", "qword:1", "\"open", "\"a\" junk", "", "3"}) {
        EXPECT_FALSE(ParseValueData(data).has_value()) << data;
    }
    EXPECT_EQ(ParseValueData(" DWORD:0000002A ")->data, (std::vector<BYTE>{0x2a, 0, 0, 0}));
}

TEST(RegistryText, ReadsRegeditExportWithForeignContent) {
    const std::string text =
        "REGEDIT4\r\n\r\n"
        "; exported by hand\r\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Other]\r\n"
        "\"NumBirds\"=dword:00000009\r\n"
        "\r\n"
        "[hkey_current_user\\software\\corvane\\tidereach]\r\n"
        "\"Blob\"=hex:00,01,02,\\\r\n"
        "  03,04\r\n"
        "\"NumBirds\"=dword:00000003\r\n"
        "\"Gone\"=dword:00000001\r\n"
        "\"Gone\"=-\r\n"
        "\"Cut\"=hex:00,\\\r\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Corvane\\Tidereach]\r\n"
        "\xff\xfe\x00garbage\r\n"
        "\"NumBirds\"=dword:00000007\r\n"
        "\"Trunc\"=dword:0000"s;
    RegDocument document = RegDocument::Parse(text, kKey);
    EXPECT_EQ(document.Serialize(), text);
    EXPECT_EQ(document.Find("numbirds").value.data[0], 7);  // the last line counts, any case
    EXPECT_EQ(document.Find("Blob").value.data, (std::vector<BYTE>{0, 1, 2, 3, 4}));
    EXPECT_EQ(document.Find("Gone").state, Lookup::Missing);
    EXPECT_EQ(document.Find("Cut").state, Lookup::Unreadable);  // not joined with the header below it
    EXPECT_EQ(document.Find("Trunc").state, Lookup::Unreadable);
    EXPECT_EQ(document.Find("Absent").state, Lookup::Missing);

    // A change rewrites one line in the file's own line ends and keeps the rest.
    document.Set("NumBirds", {REG_DWORD, {5, 0, 0, 0}});
    document.Set("Trunc", {REG_DWORD, {1, 0, 0, 0}});
    std::string expected = text;
    expected.replace(expected.find("\"NumBirds\"=dword:00000007"), 25, "\"NumBirds\"=dword:00000005");
    expected.replace(expected.find("\"Trunc\"=dword:0000"), 18, "\"Trunc\"=dword:00000001\r\n");
    EXPECT_EQ(document.Serialize(), expected);
}

TEST(RegistryText, NewValuesGoToTheEndOfTheKeysLastSection) {
    RegDocument document = RegDocument::Parse("", kKey);
    document.Set("A", {REG_DWORD, {1, 0, 0, 0}});
    EXPECT_EQ(document.Serialize(), std::string("REGEDIT4\n\n[") + kKey + "]\n\"A\"=dword:00000001\n");

    // A file without its header gets it back.
    document = RegDocument::Parse(
        std::string("[") + kKey + "]\n\"A\"=dword:00000001\n; note\n\n[Other]\n\"B\"=hex:\n", kKey);
    EXPECT_EQ(document.Dropped(), "");
    document.Set("C", Text("x"));
    EXPECT_EQ(document.Serialize(),
              std::string("REGEDIT4\n\n[") + kKey +
                  "]\n\"A\"=dword:00000001\n\"C\"=\"x\"\n; note\n\n[Other]\n\"B\"=hex:\n");
    EXPECT_TRUE(document.Remove("a"));
    EXPECT_FALSE(document.Remove("B"));  // another key's value is not ours to remove

    document = RegDocument::Parse("REGEDIT4\n\n[Other]\n\"B\"=hex:", kKey);
    document.Set("A", {REG_DWORD, {1, 0, 0, 0}});
    EXPECT_EQ(document.Serialize(),
              std::string("REGEDIT4\n\n[Other]\n\"B\"=hex:\n\n[") + kKey + "]\n\"A\"=dword:00000001\n");
}

TEST(RegistryText, AFileOverwrittenWithJunkIsWrittenAsAnExportKeepingItsKeys) {
    const std::string foreign = "[HKEY_CURRENT_USER\\Other]\r\n\"Kept\"=dword:00000001\r\n";
    for (const std::string& junk :
         {"\x89PNG\r\n\x1a\n\x00\x01 binary"s, "just some words\r\n"s, "\"A\"=dword:0\r\n"s}) {
        RegDocument document = RegDocument::Parse(junk + "\r\n" + foreign, kKey);
        EXPECT_EQ(document.Dropped(), junk + "\r\n");
        EXPECT_EQ(document.Find("A").state, Lookup::Missing);
        document.Set("A", {REG_DWORD, {1, 0, 0, 0}});
        EXPECT_EQ(document.Serialize(),
                  "REGEDIT4\r\n\r\n" + foreign + "\r\n[" + kKey + "]\r\n\"A\"=dword:00000001\r\n")
            << junk;
    }
    RegDocument document = RegDocument::Parse("\x01\x02\x03", kKey);
    EXPECT_EQ(document.Dropped(), "\x01\x02\x03");
    document.Set("A", {REG_DWORD, {1, 0, 0, 0}});
    EXPECT_EQ(document.Serialize(), std::string("REGEDIT4\n\n[") + kKey + "]\n\"A\"=dword:00000001\n");
}

TEST(RegistryText, LongHexDataWrapsLikeRegeditAndReadsBack) {
    RegValue big{REG_BINARY, std::vector<BYTE>(300)};
    for (std::size_t i = 0; i < big.data.size(); ++i) big.data[i] = BYTE(i * 7);
    RegDocument document = RegDocument::Parse("", kKey);
    document.Set("Big", big);
    std::string text = document.Serialize();
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        EXPECT_LE(end - start, 80u);
    }
    EXPECT_EQ(RegDocument::Parse(text, kKey).Find("Big").value, big);
}
