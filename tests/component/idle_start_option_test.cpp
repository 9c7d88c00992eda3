#include "platform/backends/headless/Headless.h"
#include "settings/IdleStart.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/SetupDialog.h"
#include "tests/unit/ConfigHomeFixture.h"

#include <memory>
#include <stdexcept>

namespace {

class IdleStartOptionTest : public ConfigHomeTest {
protected:
    void SetUp() override {
        ConfigHomeTest::SetUp();
        platform::headless::Config config;
        config.desktop = {1024, 768, 32};
        platform::headless::Install(config);
    }

    static std::unique_ptr<SetupDialog> Open() { return std::make_unique<SetupDialog>(nullptr); }
    std::filesystem::path Entry() const { return Home() / "autostart" / "tidereach-watch-idle.desktop"; }
    int StoredMinutes() {
        SettingsStore store = SaverSettingsStore(nullptr);
        return ReadIdleStartMinutes(store);
    }
};

TEST_F(IdleStartOptionTest, OffByDefaultAndOkThenWritesNoLoginEntry) {
    auto form = Open();
    ASSERT_TRUE(form->idleStart);
    EXPECT_FALSE(form->idleStart->startByItself.Checked());
    EXPECT_EQ(form->idleStart->minutes.Value(), 10);
    form->okButton.Click();
    EXPECT_TRUE(form->Closing());
    EXPECT_FALSE(std::filesystem::exists(Entry()));
}

TEST_F(IdleStartOptionTest, OnStoresTheMinutesAndALoginEntryThatRunsTheWatcher) {
    auto form = Open();
    form->idleStart->startByItself.SetChecked(true);
    form->idleStart->minutes.SetValue(25);
    form->okButton.Click();
    EXPECT_EQ(StoredMinutes(), 25);
    const std::string entry = ReadText(Entry());
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    const std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
    EXPECT_NE(entry.find("\nExec=\"" + program + "\" --watch-idle\n"), std::string::npos) << entry;

    auto reopened = Open();
    EXPECT_TRUE(reopened->idleStart->startByItself.Checked());
    EXPECT_EQ(reopened->idleStart->minutes.Value(), 25);
    reopened->RestoreDefaults(nullptr);
    EXPECT_FALSE(reopened->idleStart->startByItself.Checked());
    reopened->cancelButton.Click();
    EXPECT_TRUE(std::filesystem::exists(Entry()));

    auto turnedOff = Open();
    turnedOff->idleStart->startByItself.SetChecked(false);
    turnedOff->okButton.Click();
    EXPECT_FALSE(std::filesystem::exists(Entry()));
}

TEST_F(IdleStartOptionTest, AnEntryThatCannotBeWrittenKeepsTheDialogOpen) {
    WriteText(Home() / "autostart", "not a folder");
    auto form = Open();
    form->idleStart->startByItself.SetChecked(true);
    EXPECT_THROW(form->okButton.Click(), std::runtime_error);
    EXPECT_FALSE(form->Closing());
}

TEST_F(IdleStartOptionTest, StoredNonsenseMinutesReadAsTheDefault) {
    SettingsStore store = SaverSettingsStore(nullptr);
    store.Write("IdleStartMinutes", -5);
    EXPECT_EQ(StoredMinutes(), 10);
    store.Write("IdleStartMinutes", std::string("five"));
    EXPECT_EQ(StoredMinutes(), 10);
}

}  // namespace
