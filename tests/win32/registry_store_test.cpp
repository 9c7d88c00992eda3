// The settings store on the system's registry: the value types and encodings,
// the store's errors, and the first run writing every setting. Each test works
// under a key of its own, removed afterwards.
#include "platform/winapi/Registry.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>
#include <variant>

namespace {

constexpr char kCompany[] = "TidereachTests";

class Win32Registry : public ::testing::Test {
protected:
    void SetUp() override {
        product_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        store_.SetCompanyName(kCompany);
        store_.SetProductName(product_);
        RegDeleteTreeA(HKEY_CURRENT_USER, KeyPath().c_str());
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, KeyPath().c_str()); }

    std::string KeyPath() const { return std::string("SOFTWARE\\") + kCompany + "\\" + product_; }

    // The stored type and bytes of a value, as the registry holds them.
    struct Stored {
        DWORD type = REG_NONE;
        std::string bytes;
    };
    Stored Query(const char* name) const {
        Stored stored;
        BYTE data[64] = {};
        DWORD size = sizeof data;
        if (RegGetValueA(HKEY_CURRENT_USER, KeyPath().c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &stored.type,
                         data, &size) == ERROR_SUCCESS)
            stored.bytes.assign(reinterpret_cast<const char*>(data), size);
        return stored;
    }
    DWORD ValueCount() const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
        DWORD values = 0;
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(key);
        return values;
    }

    std::string product_;
    SettingsStore store_{nullptr};
};

TEST_F(Win32Registry, WithoutTheKeyReadsLeaveTheirDestinationAndCreateNothing) {
    int number = 42;
    EXPECT_FALSE(store_.Read("Gamma", &number));
    EXPECT_EQ(number, 42);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath().c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(Win32Registry, ValuesUseTheRegistryTypes) {
    ASSERT_TRUE(store_.Write("Gamma", 200));
    ASSERT_TRUE(store_.Write("flag_clock", true));
    ASSERT_TRUE(store_.Write("RegLng", std::bit_cast<float>(0x40C33333u)));
    ASSERT_TRUE(store_.Write("Name", std::string("Aachen")));

    const Stored gamma = Query("Gamma");
    EXPECT_EQ(gamma.type, DWORD(REG_DWORD));
    EXPECT_EQ(gamma.bytes, std::string("\xC8\0\0\0", 4));
    EXPECT_EQ(Query("flag_clock").bytes, std::string("\1\0\0\0", 4));
    const Stored longitude = Query("RegLng");
    EXPECT_EQ(longitude.type, DWORD(REG_BINARY));
    ASSERT_EQ(longitude.bytes.size(), 8u);
    double exact = 0;
    std::memcpy(&exact, longitude.bytes.data(), 8);
    EXPECT_EQ(exact, 6.099999904632568359375);
    EXPECT_EQ(Query("Name").type, DWORD(REG_SZ));

    int number = 0;
    bool flag = false;
    float real = 0;
    std::string text;
    EXPECT_TRUE(store_.Read("Gamma", &number));
    EXPECT_TRUE(store_.Read("flag_clock", &flag));
    EXPECT_TRUE(store_.Read("RegLng", &real));
    EXPECT_TRUE(store_.Read("Name", &text));
    EXPECT_EQ(number, 200);
    EXPECT_TRUE(flag);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(real), 0x40C33333u);
    EXPECT_EQ(text, "Aachen");
}

TEST_F(Win32Registry, MissingAndMistypedValuesRaiseTheStoreErrors) {
    ASSERT_TRUE(store_.Write("Gamma", 256));
    int number = 0;
    float real = 0;
    std::string text = "kept?";
    EXPECT_TRUE(store_.Read("Absent", &text));
    EXPECT_EQ(text, "");
    try {
        store_.Read("NumBirds", &number);
        ADD_FAILURE() << "a missing integer is an error";
    } catch (const SettingsStoreError& error) {
        EXPECT_STREQ(error.what(), "Failed to get data for 'NumBirds'");
    }
    try {
        store_.Read("Gamma", &real);
        ADD_FAILURE() << "a DWORD read as a float is an error";
    } catch (const SettingsStoreError& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'Gamma'");
    }
}

TEST_F(Win32Registry, TheFirstRunWritesEverySettingWithTheDesktopsMode) {
    Settings settings;
    LoadSettings(store_, settings, LoadVariant::Dialog);
    EXPECT_EQ(ValueCount(), 26u);
    EXPECT_EQ(settings.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(settings.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(settings.clockCentreX, settings.width - 90);

    Settings again;
    LoadSettings(store_, again, LoadVariant::Dialog);
    EXPECT_TRUE(again == settings);
}

// The first run's writes, one by one in their order, the marker last: a
// first run stopped after each of them in turn, the key made first. The
// values it wrote (here unlike the defaults, as on another screen) stay; the
// next start adds the rest with their defaults and the marker.
TEST_F(Win32Registry, AFirstRunStoppedAfterAnyOfItsWritesIsCompletedByTheNextStart) {
    using AnyValue = std::variant<bool, int, float>;
    struct Write {
        const char* name;
        AnyValue leftBehind;
    };
    const Write writes[] = {
        {"flag_PlaySound", false},
        {"flag_fps", false},
        {"TermMouse", false},
        {"Gamma", 128},
        {"flag_defres", false},
        {"ResHor", 800},
        {"ResVert", 600},
        {"ColorDepth", 24},
        {"clockX", 710},
        {"clockY", 100},
        {"clockRad", 80},
        {"ColorClock", 0x00FF00},
        {"SetSpeed", 2},
        {"NumBirds", 3},
        {"FlagShowDolphins", false},
        {"FlagShowYacht", false},
        {"FlagDaytime", true},
        {"FlagDemoDaytime", false},
        {"FlagShowSimulateTime", false},
        {"FlagDaylightSavingTime", true},
        {"RegLat", 10.5f},
        {"RegLng", -20.25f},
        {"RegOfUTC", -3},
        {"ShowRisSet", false},
        {"IndexCity", 42},
    };
    // A whole first run's values, byte for byte.
    std::vector<std::string> byDefault;
    Settings whole;
    LoadSettings(store_, whole, LoadVariant::Dialog);
    for (const Write& write : writes) byDefault.push_back(Query(write.name).bytes);

    for (std::size_t count = 0; count <= std::size(writes); ++count) {
        RegDeleteTreeA(HKEY_CURRENT_USER, KeyPath().c_str());
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        std::vector<std::string> written;
        for (std::size_t i = 0; i < count; ++i) {
            std::visit([&](auto value) { store_.Write(writes[i].name, value); }, writes[i].leftBehind);
            written.push_back(Query(writes[i].name).bytes);
        }

        Settings next;
        ASSERT_NO_THROW(LoadSettings(store_, next, LoadVariant::Scene)) << "stopped after " << count;
        EXPECT_EQ(ValueCount(), 26u) << "stopped after " << count;
        EXPECT_EQ(Query("flag_clock").bytes, std::string("\1\0\0\0", 4)) << "stopped after " << count;
        for (std::size_t i = 0; i < std::size(writes); ++i) {
            EXPECT_EQ(Query(writes[i].name).bytes, i < count ? written[i] : byDefault[i])
                << writes[i].name << " after " << count;
        }
    }
}

}  // namespace
