#include "platform/winapi/Registry.h"
#include "settings/SettingsStore.h"
#include "tests/unit/ConfigHomeFixture.h"

#include <bit>

namespace {

class SettingsStoreTest : public ConfigHomeTest {
protected:
    void SetUp() override {
        ConfigHomeTest::SetUp();
        store.SetCompanyName("Corvane");
        store.SetProductName("Tidereach");
    }
    // The message of what `action` throws, or "" when it throws nothing.
    template <class Action>
    static std::string ErrorOf(Action action) {
        try {
            action();
        } catch (const SettingsStoreError& error) {
            return error.what();
        }
        return "";
    }

    SettingsStore store{nullptr};
};

TEST_F(SettingsStoreTest, WithoutTheKeyReadsLeaveTheirDestinationAndCreateNothing) {
    int number = 5;
    bool flag = true;
    float real = 2.5f;
    std::string text = "keep";
    EXPECT_FALSE(store.Read("Gamma", &number));
    EXPECT_FALSE(store.Read("flag_clock", &flag));
    EXPECT_FALSE(store.Read("RegLat", &real));
    EXPECT_FALSE(store.Read("Name", &text));
    EXPECT_EQ(number, 5);
    EXPECT_TRUE(flag);
    EXPECT_EQ(real, 2.5f);
    EXPECT_EQ(text, "keep");
    EXPECT_TRUE(std::filesystem::is_empty(Home()));

    SettingsStore unnamed(nullptr);  // names not set: no key path at all
    EXPECT_FALSE(unnamed.Write("Gamma", 1));
    EXPECT_TRUE(std::filesystem::is_empty(Home()));
}

TEST_F(SettingsStoreTest, ValuesUseTheRegistryEncodings) {
    const float longitude = std::bit_cast<float>(0x40C33333u);
    EXPECT_TRUE(store.Write("Flag", true));
    EXPECT_TRUE(store.Write("Number", -2));
    EXPECT_TRUE(store.Write("Five", 5));
    EXPECT_TRUE(store.Write("RegLng", longitude));
    EXPECT_TRUE(store.Write("Text", "a \"b\" \\c"));
    bool flag = false;
    int number = 0;
    float real = 0;
    std::string text;
    EXPECT_TRUE(store.Read("Five", &flag));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(store.Read("Flag", &number));  // true is stored as the number 1
    EXPECT_EQ(number, 1);
    EXPECT_TRUE(store.Read("Number", &number));
    EXPECT_EQ(number, -2);
    EXPECT_TRUE(store.Read("RegLng", &real));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(real), 0x40C33333u);
    EXPECT_TRUE(store.Read("Text", &text));
    EXPECT_EQ(text, "a \"b\" \\c");

    // Expandable text reads as it is stored, references not expanded.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Corvane\\Tidereach", 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    const char expandable[] = "%HOME%\0tail";
    RegSetValueExA(key, "Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expandable),
                   sizeof expandable);
    RegCloseKey(key);
    EXPECT_TRUE(store.Read("Expand", &text));
    EXPECT_EQ(text, "%HOME%");
    EXPECT_TRUE(store.Read("Missing", &text));  // missing text is empty text, not an error
    EXPECT_EQ(text, "");
}

TEST_F(SettingsStoreTest, AValueThatCannotBeReadRaisesTheStoreErrorForItsName) {
    WriteText(KeyFile(),
              "[HKEY_CURRENT_USER\\SOFTWARE\\Corvane\\Tidereach]\n"
              "\"Eight\"=hex:00,00,00,00,00,00,f0,3f\n"
              "\"Dword\"=dword:00000001\n"
              "\"Short\"=hex(4):01,02\n"
              "\"Bytes\"=hex:01,02\n"
              "\"Cut\"=dword:0000\n");
    int number = 9;
    bool flag = true;
    float real = 9;
    std::string text = "keep";
    EXPECT_EQ(ErrorOf([&] { store.Read("NumBirds", &number); }), "Failed to get data for 'NumBirds'");
    EXPECT_EQ(ErrorOf([&] { store.Read("Eight", &number); }), "Failed to get data for 'Eight'");
    EXPECT_EQ(ErrorOf([&] { store.Read("Cut", &flag); }), "Failed to get data for 'Cut'");
    EXPECT_EQ(ErrorOf([&] { store.Read("Cut", &text); }), "Failed to get data for 'Cut'");
    EXPECT_EQ(ErrorOf([&] { store.Read("Short", &number); }), "Invalid data type for 'Short'");
    EXPECT_EQ(ErrorOf([&] { store.Read("Bytes", &flag); }), "Invalid data type for 'Bytes'");
    EXPECT_EQ(ErrorOf([&] { store.Read("Dword", &real); }), "Invalid data type for 'Dword'");
    EXPECT_EQ(ErrorOf([&] { store.Read("Dword", &text); }), "Invalid data type for 'Dword'");
    EXPECT_EQ(number, 9);
    EXPECT_TRUE(flag);
    EXPECT_EQ(real, 9);
    EXPECT_EQ(text, "keep");
    EXPECT_TRUE(store.Read("Eight", &real));
    EXPECT_EQ(real, 1.0f);
}

TEST_F(SettingsStoreTest, AWriteThatFailsOnAnExistingKeyRaisesAndKeepsTheFile) {
    store.Write("Gamma", 1);
    const std::string before = ReadText(KeyFile());
    std::filesystem::permissions(KeyFile(), std::filesystem::perms::owner_read);
    EXPECT_EQ(ErrorOf([&] { store.Write("Gamma", 2); }), "Failed to set data for 'Gamma'");
    EXPECT_EQ(ReadText(KeyFile()), before);

    // A key that cannot be created is no error: nothing is stored.
    setenv("XDG_CONFIG_HOME", KeyFile().c_str(), 1);
    EXPECT_FALSE(store.Write("Gamma", 3));
}

}  // namespace
