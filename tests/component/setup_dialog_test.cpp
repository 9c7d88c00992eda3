#include "platform/backends/headless/Headless.h"
#include "platform/winapi/Kernel.h"
#include "platform/winapi/User.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/SetupDialog.h"
#include "solar/CityTable.h"
#include "solar/SunTime.h"
#include "tests/unit/ConfigHomeFixture.h"

#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using platform::headless::DisplayOp;

constexpr platform::ScreenMode kDesktop{1024, 768, 32};

TRadioButton& Found(TRadioButton* option) {
    if (!option) throw std::invalid_argument("the dialog has no such option");
    return *option;
}
TRadioButton& SizeOption(SetupDialog& form, int width) {
    return Found(FindOption(form.sizeOptions, [&](platform::ModeSize size) { return size.width == width; }));
}
TRadioButton& DepthOption(SetupDialog& form, int bitsPerPixel) {
    return Found(FindOption(form.depthOptions, [&](int depth) { return depth == bitsPerPixel; }));
}
std::vector<TRadioButton*> SizeAndDepthOptions(SetupDialog& form) {
    std::vector<TRadioButton*> options;
    for (const auto& option : form.sizeOptions) options.push_back(&option->button);
    for (const auto& option : form.depthOptions) options.push_back(&option->button);
    return options;
}
// The captions of a group's controls, in the order the views show them.
std::vector<std::string> Captions(const TWinControl& group) {
    std::vector<std::string> captions;
    for (const TControl* control : group.Controls()) captions.push_back(control->Caption);
    return captions;
}

class SetupDialogTest : public ConfigHomeTest {
protected:
    void SetUp() override {
        ConfigHomeTest::SetUp();
        UseDisplay({});
        // 21 June 2003: the city times below are for that day.
        platform::headless::SetLocalTime(SYSTEMTIME{2003, 6, 6, 21, 12, 0, 0, 0});
        store.SetCompanyName("Corvane");
        store.SetProductName("Tidereach");
    }
    void TearDown() override {
        platform::headless::SetLocalTime(std::nullopt);
        platform::headless::ClearFaults();
        ConfigHomeTest::TearDown();
    }

    static void UseDisplay(platform::headless::Config config) {
        config.desktop = kDesktop;
        platform::headless::Install(config);
        platform::headless::ClearFaults();
        platform::headless::ClearShownMessageBoxes();
    }
    static std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const auto& box : platform::headless::ShownMessageBoxes()) texts.push_back(box.text);
        return texts;
    }

    static std::unique_ptr<SetupDialog> Open() { return std::make_unique<SetupDialog>(nullptr); }
    // A profile whose settings are the first run's with `change` applied.
    template <class Change>
    void Store(Change change) {
        Settings settings = FirstRunDefaults({kDesktop.width, kDesktop.height, kDesktop.bitsPerPixel});
        change(settings);
        WriteAllSettings(store, settings);
    }
    Settings Stored() {
        EXPECT_TRUE(std::filesystem::exists(KeyFile()));
        Settings settings;
        LoadSettings(store, settings, LoadVariant::Dialog);
        return settings;
    }

    SettingsStore store{nullptr};
};

TEST_F(SetupDialogTest, AFirstRunWritesTheDefaultsAndShowsThem) {
    auto form = Open();
    const Settings defaults = FirstRunDefaults({1024, 768, 32});
    EXPECT_EQ(Stored(), defaults);
    EXPECT_EQ(form->WorkingCopy(), defaults);
    EXPECT_EQ(form->Caption, "Tideway Islands Setup");
    EXPECT_TRUE(form->playSound.Checked());
    EXPECT_TRUE(form->endOnKeyOrMouse.Checked());
    EXPECT_TRUE(form->speedNormal.Checked());
    EXPECT_EQ(form->gullCount.Value(), 7);
    EXPECT_TRUE(form->modeDesktop.Checked());
    EXPECT_FALSE(DepthOption(*form, 16).Enabled);
    EXPECT_FALSE(DepthOption(*form, 32).Enabled);
    EXPECT_EQ(form->gammaSlider.Position(), 256);
    EXPECT_TRUE(form->daytimeDemo.Checked());
    EXPECT_EQ(form->centerX.Text(), "934");
    EXPECT_EQ(form->centerY.Text(), "90");
    EXPECT_EQ(form->radius.Text(), "70");
    EXPECT_EQ(form->colorSwatch.Color, clWhite);
    EXPECT_EQ(form->cityList.Items.size(), std::size_t(CityCount));
    EXPECT_EQ(form->cityList.Items.front(), "AACHEN GE");
    EXPECT_EQ(form->cityList.Items.back(), "ZWOLLE NE");
    EXPECT_EQ(form->cityList.Text(), "AACHEN GE");
    // Minutes are cut, not rounded: 4.3665 and 20.8759 hours.
    EXPECT_EQ(form->sunriseTime.Caption, "4:21AM");
    EXPECT_EQ(form->sunsetTime.Caption, "8:52PM");
    EXPECT_EQ(form->pages.ActivePageIndex, 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SetupDialogTest, OkWritesTheWorkingCopyAndCancelWritesNothing) {
    Store([](Settings&) {});
    const std::string before = ReadText(KeyFile());

    auto cancelled = Open();
    cancelled->playSound.SetChecked(false);
    cancelled->RestoreDefaults(nullptr);
    cancelled->daytimeOff.SetChecked(true);
    cancelled->cancelButton.Click();
    EXPECT_TRUE(cancelled->Closing());
    EXPECT_EQ(ReadText(KeyFile()), before);

    auto form = Open();
    form->playSound.SetChecked(false);
    form->endOnEscapeOnly.SetChecked(true);
    form->speedFast.SetChecked(true);
    form->gullCount.SetValue(3);
    form->showYacht.SetChecked(false);
    form->gammaSlider.SetPosition(100);
    form->showSunTimes.SetChecked(false);
    EXPECT_FALSE(form->Closing());
    form->okButton.Click();
    EXPECT_TRUE(form->Closing());
    const Settings stored = Stored();
    EXPECT_EQ(stored, form->WorkingCopy());
    EXPECT_FALSE(stored.playSound);
    EXPECT_FALSE(stored.anyInputEnds);
    EXPECT_EQ(stored.speed, Speed::Fast);
    EXPECT_EQ(stored.gullCount, 3);
    EXPECT_FALSE(stored.showYacht);
    EXPECT_EQ(stored.gammaLevel, 100);
    EXPECT_FALSE(stored.showSunTimes);
}

TEST_F(SetupDialogTest, DefaultSettingResetsAllButTheSunriseLineAndWritesNothing) {
    Store([](Settings& settings) {
        settings.useDesktopMode = false;
        settings.width = 800;
        settings.height = 600;
        settings.bitsPerPixel = 16;
        settings.gullCount = 2;
        settings.showSunTimes = false;
        settings.daylightSaving = true;
        settings.cityIndex = 5;
        settings.gammaLevel = 40;
    });
    const std::string before = ReadText(KeyFile());
    auto form = Open();
    form->RestoreDefaults(nullptr);
    // The first city's record is the first run's place, to the last bit.
    Settings expected = FirstRunDefaults({1024, 768, 32});
    expected.showSunTimes = false;
    EXPECT_EQ(form->WorkingCopy(), expected);
    EXPECT_TRUE(form->modeDesktop.Checked());
    EXPECT_FALSE(DepthOption(*form, 16).Enabled);
    EXPECT_FALSE(form->daylightSaving.Checked());
    EXPECT_EQ(form->cityList.ItemIndex(), 0);
    EXPECT_EQ(form->gammaSlider.Position(), 256);
    EXPECT_EQ(form->sunriseTime.Caption, "4:21AM");
    EXPECT_EQ(ReadText(KeyFile()), before);
}

TEST_F(SetupDialogTest, TheRefreshCorrectsStoredValuesItCannotShow) {
    Store([](Settings& settings) {
        settings.useDesktopMode = false;
        settings.width = 1024;
        settings.height = 600;
        settings.bitsPerPixel = 24;
        settings.speed = Speed{7};
        settings.gullCount = 15;
        settings.gammaLevel = -5;
        settings.realDaylight = true;
        settings.demoDay = true;
    });
    auto form = Open();
    const Settings& copy = form->WorkingCopy();
    EXPECT_TRUE(SizeOption(*form, 1024).Checked());
    EXPECT_EQ(copy.height, 768);
    EXPECT_FALSE(copy.useDesktopMode);
    EXPECT_TRUE(DepthOption(*form, 24).Checked());
    EXPECT_TRUE(DepthOption(*form, 24).Enabled);
    EXPECT_TRUE(form->speedNormal.Checked());
    EXPECT_EQ(copy.speed, Speed::Normal);
    EXPECT_EQ(copy.gullCount, 10);
    EXPECT_EQ(copy.gammaLevel, 0);
    EXPECT_TRUE(form->daytimeReal.Checked());
    EXPECT_TRUE(copy.realDaylight);
    EXPECT_FALSE(copy.demoDay);

    Store([](Settings& settings) {
        settings.useDesktopMode = false;
        settings.width = 1600;
        settings.height = 1200;
        settings.bitsPerPixel = 16;
        settings.gullCount = -3;
        settings.gammaLevel = 300;
    });
    form = Open();
    EXPECT_TRUE(form->modeDesktop.Checked());
    EXPECT_TRUE(form->WorkingCopy().useDesktopMode);
    EXPECT_EQ(form->WorkingCopy().width, 1024);
    EXPECT_EQ(form->WorkingCopy().height, 768);
    EXPECT_EQ(form->WorkingCopy().bitsPerPixel, 32);
    EXPECT_EQ(form->WorkingCopy().gullCount, 0);
    EXPECT_EQ(form->gammaSlider.Position(), 256);
    EXPECT_EQ(form->WorkingCopy().gammaLevel, 300);  // shown as 256, kept as stored
}

TEST_F(SetupDialogTest, EveryModeOptionIsListedInItsRowAndOkWritesItsSizeAndDepth) {
    auto form = Open();
    EXPECT_EQ(
        Captions(form->videoModeGroup),
        (std::vector<std::string>{"800x600", "1024x768", "1152x864", "1280x1024", "Use desktop settings"}));
    EXPECT_EQ(Captions(form->colorDepthGroup),
              (std::vector<std::string>{"16-bit color", "24-bit color", "32-bit color"}));
    for (const TWinControl* group : {&form->videoModeGroup, &form->colorDepthGroup}) {
        for (std::size_t row = 0; row < group->Controls().size(); ++row) {
            EXPECT_EQ(group->Controls()[row]->Place().Row, int(row)) << group->Controls()[row]->Caption;
            EXPECT_EQ(group->Controls()[row]->Place().Column, 0);
        }
    }

    // Each size with a depth of its own, chosen as the user clicks them.
    const struct {
        int width;
        int height;
        std::size_t depthRow;
        int bitsPerPixel;
    } choices[] = {{800, 600, 2, 32}, {1024, 768, 0, 16}, {1152, 864, 1, 24}, {1280, 1024, 2, 32}};
    for (std::size_t row = 0; row < std::size(choices); ++row) {
        form = Open();
        auto& size = dynamic_cast<TRadioButton&>(*form->videoModeGroup.Controls()[row]);
        auto& depth = dynamic_cast<TRadioButton&>(*form->colorDepthGroup.Controls()[choices[row].depthRow]);
        size.SetChecked(true);
        size.MouseUp(TMouseButton::mbLeft);
        depth.SetChecked(true);
        form->okButton.Click();
        const Settings stored = Stored();
        EXPECT_FALSE(stored.useDesktopMode) << size.Caption;
        EXPECT_EQ(stored.width, choices[row].width) << size.Caption;
        EXPECT_EQ(stored.height, choices[row].height) << size.Caption;
        EXPECT_EQ(stored.bitsPerPixel, choices[row].bitsPerPixel) << depth.Caption;
    }
}

TEST_F(SetupDialogTest, AFixedModeWithAnUnusualDepthSelectsNoDepthAndKeepsIt) {
    Store([](Settings& settings) {
        settings.useDesktopMode = false;
        settings.width = 1152;
        settings.height = 864;
        settings.bitsPerPixel = 8;
    });
    auto form = Open();
    EXPECT_TRUE(SizeOption(*form, 1152).Checked());
    EXPECT_FALSE(DepthOption(*form, 16).Checked() || DepthOption(*form, 24).Checked() ||
                 DepthOption(*form, 32).Checked());
    form->okButton.Click();
    EXPECT_EQ(Stored().bitsPerPixel, 8);
}

TEST_F(SetupDialogTest, OnlyAMouseReleaseOnAVideoModeResetsTheClock) {
    Store([](Settings& settings) {
        settings.clockCentreX = 300;
        settings.clockCentreY = 200;
        settings.clockRadius = 100;
    });
    auto form = Open();
    // The arrow keys select without a mouse release.
    SizeOption(*form, 800).SetChecked(true);
    SizeOption(*form, 1024).SetChecked(true);
    EXPECT_EQ(form->WorkingCopy().width, 1024);
    EXPECT_FALSE(form->WorkingCopy().useDesktopMode);
    EXPECT_EQ(form->WorkingCopy().clockCentreX, 300);
    EXPECT_EQ(form->centerX.Text(), "300");

    // A click: the option is chosen, then the release resets the clock for it.
    SizeOption(*form, 800).SetChecked(true);
    SizeOption(*form, 800).MouseUp(TMouseButton::mbLeft);
    EXPECT_EQ(form->WorkingCopy().clockCentreX, 710);
    SizeOption(*form, 1024).SetChecked(true);
    SizeOption(*form, 1024).MouseUp(TMouseButton::mbLeft);
    EXPECT_EQ(form->WorkingCopy().clockRadius, 70);
    EXPECT_EQ(form->WorkingCopy().clockCentreX, 934);
    EXPECT_EQ(form->WorkingCopy().clockCentreY, 90);
    EXPECT_EQ(form->centerX.Text(), "934");
    EXPECT_EQ(form->centerY.Text(), "90");
    EXPECT_EQ(form->radius.Text(), "70");

    // A right button resets the clock without choosing the option.
    form->centerX.SetText("500");
    form->centerX.DoExit();
    SizeOption(*form, 1280).MouseUp(TMouseButton::mbRight);
    EXPECT_FALSE(SizeOption(*form, 1280).Checked());
    EXPECT_EQ(form->WorkingCopy().clockCentreX, 934);
}

TEST_F(SetupDialogTest, TheDisplaysModesDecideWhatCanBeChosen) {
    platform::headless::Config config;
    config.offeredModes = std::vector<platform::ScreenMode>{
        {800, 600, 16}, {800, 600, 32}, {1024, 768, 16}, {1024, 768, 24}, {1152, 864, 32}, {1280, 1024, 16}};
    UseDisplay(config);
    Store([](Settings& settings) {
        settings.useDesktopMode = false;
        settings.width = 800;
        settings.height = 600;
    });
    auto form = Open();
    EXPECT_TRUE(form->VideoModes().Available(1024, 768, 24));
    EXPECT_TRUE(form->VideoModes().Available(1152, 864, 32));
    EXPECT_FALSE(form->VideoModes().Available(1152, 864, 16));
    EXPECT_TRUE(SizeOption(*form, 1024).Enabled);
    EXPECT_FALSE(SizeOption(*form, 1152).Enabled);  // no 16-bit mode at that size
    EXPECT_TRUE(DepthOption(*form, 16).Enabled);
    EXPECT_FALSE(DepthOption(*form, 24).Enabled);  // 24 bits exist at 1024x768 only
    EXPECT_TRUE(DepthOption(*form, 32).Enabled);
    form->modeDesktop.SetChecked(true);
    SizeOption(*form, 1280).SetChecked(true);
    form->RestoreDefaults(nullptr);
    EXPECT_FALSE(SizeOption(*form, 1152).Enabled);
}

TEST_F(SetupDialogTest, WithoutADisplayObjectNothingButTheDesktopCanBeChosen) {
    platform::headless::InjectFault(DisplayOp::DirectDrawCreate, E_FAIL, 2);
    Store([](Settings& settings) { settings.gammaLevel = 120; });
    auto form = Open();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"DirectDraw Init FAILED", "DirectDraw Init FAILED"}));
    EXPECT_EQ(platform::headless::ShownMessageBoxes().front().caption, "Screen saver");
    for (TRadioButton* option : SizeAndDepthOptions(*form)) {
        EXPECT_FALSE(option->Enabled) << option->Caption;
    }
    EXPECT_TRUE(form->modeDesktop.Enabled);
    EXPECT_FALSE(form->GammaSupported());
    EXPECT_FALSE(form->gammaSlider.Enabled);
    EXPECT_EQ(form->darkenLabel.Font.Color, clInactiveCaption);
    EXPECT_EQ(form->gammaNote.Font.Color, clInactiveCaption);
}

TEST_F(SetupDialogTest, ProbesThatWaitForTheWindowOfferTheSameChoicesOnceItShows) {
    platform::headless::Config config;
    config.offeredModes = std::vector<platform::ScreenMode>{
        {800, 600, 16}, {800, 600, 32}, {1024, 768, 16}, {1152, 864, 32}, {1280, 1024, 16}};
    UseDisplay(config);
    Store([](Settings& settings) {
        settings.useDesktopMode = false;
        settings.width = 1024;
        settings.height = 768;
        settings.gammaLevel = 120;
    });
    SetupDialog form(nullptr, SetupDialog::DisplayProbes::OnceShown);
    EXPECT_EQ(platform::headless::CallCount(DisplayOp::DirectDrawCreate), 0);
    EXPECT_TRUE(SizeOption(form, 1024).Checked());
    for (TRadioButton* option : SizeAndDepthOptions(form)) {
        EXPECT_FALSE(option->Enabled) << option->Caption << " offered before the display is known";
    }
    EXPECT_FALSE(form.gammaSlider.Enabled);
    EXPECT_EQ(form.gammaNote.Font.Color, clWindowText) << "not known is not unsupported";

    form.OnShown(&form);
    EXPECT_EQ(platform::headless::CallCount(DisplayOp::DirectDrawCreate), 2);
    EXPECT_TRUE(SizeOption(form, 800).Enabled);
    EXPECT_TRUE(SizeOption(form, 1024).Enabled);
    EXPECT_FALSE(SizeOption(form, 1152).Enabled);  // no 16-bit mode at that size
    EXPECT_TRUE(SizeOption(form, 1280).Enabled);
    EXPECT_TRUE(DepthOption(form, 16).Enabled);
    EXPECT_FALSE(DepthOption(form, 24).Enabled);
    EXPECT_TRUE(DepthOption(form, 32).Enabled);
    EXPECT_TRUE(form.gammaSlider.Enabled);
    EXPECT_EQ(form.gammaSlider.Position(), 120);
    EXPECT_EQ(form.WorkingCopy().gammaLevel, 120);
    EXPECT_TRUE(Messages().empty());

    form.modeDesktop.SetChecked(true);
    form.OnShown(&form);
    EXPECT_EQ(platform::headless::CallCount(DisplayOp::DirectDrawCreate), 2) << "the display is probed once";
    EXPECT_FALSE(DepthOption(form, 16).Enabled) << "the desktop's depth is the desktop's";
}

TEST_F(SetupDialogTest, ProbesThatWaitForTheWindowTellAMissingDisplayOnlyOnceItShows) {
    platform::headless::InjectFault(DisplayOp::DirectDrawCreate, E_FAIL, 2);
    Store([](Settings&) {});
    SetupDialog form(nullptr, SetupDialog::DisplayProbes::OnceShown);
    EXPECT_TRUE(Messages().empty());
    form.OnShown(&form);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"DirectDraw Init FAILED", "DirectDraw Init FAILED"}));
    for (TRadioButton* option : SizeAndDepthOptions(form)) {
        EXPECT_FALSE(option->Enabled) << option->Caption;
    }
    EXPECT_TRUE(form.modeDesktop.Enabled);
    EXPECT_FALSE(form.gammaSlider.Enabled);
    EXPECT_EQ(form.gammaNote.Font.Color, clInactiveCaption);
}

TEST_F(SetupDialogTest, WithoutGammaTheLoadedLevelIsWrittenBack) {
    platform::headless::Config config;
    config.gamma = false;
    UseDisplay(config);
    Store([](Settings& settings) { settings.gammaLevel = -7; });
    auto form = Open();
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(form->gammaSlider.Enabled);
    EXPECT_EQ(form->gammaSlider.Position(), 256);
    EXPECT_EQ(form->lightenLabel.Font.Color, clInactiveCaption);
    form->okButton.Click();
    EXPECT_EQ(Stored().gammaLevel, -7);
}

TEST_F(SetupDialogTest, TheClockEditsAreValidatedWhenLeft) {
    auto form = Open();  // 1024 x 768, radius 70
    auto leave = [](TEdit& edit, const std::string& text) {
        edit.SetText(text);
        edit.DoExit();
        return edit.Text();
    };
    EXPECT_EQ(leave(form->centerX, "5"), "90");
    EXPECT_EQ(leave(form->centerX, "2000"), "934");
    EXPECT_EQ(leave(form->centerY, "700"), "678");
    // Pasted text is read up to its first non-digit.
    EXPECT_EQ(leave(form->centerY, "-50"), "90");
    EXPECT_EQ(leave(form->centerY, "abc"), "90");
    EXPECT_EQ(leave(form->centerX, "400px"), "400");
    EXPECT_EQ(leave(form->centerY, "500"), "500");

    // A larger radius pulls the centre inside its new margin.
    EXPECT_EQ(leave(form->radius, "500"), "344");
    EXPECT_EQ(form->WorkingCopy().clockCentreX, 400);
    EXPECT_EQ(form->WorkingCopy().clockCentreY, 404);
    EXPECT_EQ(form->centerY.Text(), "404");
    EXPECT_EQ(leave(form->radius, ""), "70");

    EXPECT_EQ(leave(form->centerX, "5000"), "934");
    form->okButton.Click();
    EXPECT_EQ(Stored().clockCentreX, 934);
    EXPECT_EQ(Stored().clockRadius, 70);
}

TEST_F(SetupDialogTest, TheClockEditsTakeDigitsOnly) {
    auto form = Open();
    for (TEdit* edit : {&form->centerX, &form->centerY, &form->radius}) {
        for (const char typed : {'0', '5', '9'}) {
            char key = typed;
            edit->KeyPress(key);
            EXPECT_EQ(key, typed);
        }
        for (const char typed : {'a', '-', ' ', '\b', '\x16'}) {
            char key = typed;
            edit->KeyPress(key);
            EXPECT_EQ(key, 0) << int(typed);
        }
    }
}

TEST_F(SetupDialogTest, EveryBoxTakesABoundedTextAndTheGullCountDigitsOnly) {
    auto form = Open();
    form->cityList.UserEdit(std::string(10000, 'A'));
    EXPECT_EQ(form->cityList.Text(), std::string(51, 'A'));
    form->cityList.UserEdit("AACHEN GE" + std::string(60, ' '));
    EXPECT_EQ(form->cityList.ItemIndex(), -1);
    for (TEdit* edit : {&form->centerX, &form->centerY, &form->radius}) {
        edit->SetText(std::string(3000, '7'));
        EXPECT_EQ(edit->Text(), "77777");
    }
    for (const char typed : {'a', 'Z', '-', ' ', '.'}) {
        char key = typed;
        form->gullCount.KeyPress(key);
        EXPECT_EQ(key, 0) << typed;
    }
    for (const char typed : {'0', '9', '\b', '\x16'}) {
        char key = typed;
        form->gullCount.KeyPress(key);
        EXPECT_EQ(key, typed) << int(typed);
    }
    EXPECT_EQ(form->WorkingCopy().gullCount, 7);
}

TEST_F(SetupDialogTest, APolarCitysPlaceAndPositionAreTakenTogetherBeforeItsMessageShows) {
    int polar = -1;
    for (int position = 0; position < CityCount && polar < 0; ++position) {
        if (CityAt(position)->Latitude() > 67) polar = position;
    }
    ASSERT_GE(polar, 0);
    std::unique_ptr<SetupDialog> form;
    std::vector<HWND> owners;
    std::vector<Settings> whileShown;
    platform::headless::Config config;
    config.whileMessageBoxShows = [&](HWND owner) {
        owners.push_back(owner);
        whileShown.push_back(form->WorkingCopy());
    };
    UseDisplay(config);
    form = Open();
    const HWND window = 0x5e7;
    form->AttachWindow(window);
    form->cityList.UserSelect(polar);
    EXPECT_EQ(owners, (std::vector<HWND>{window, window}));
    for (const Settings& settings : whileShown) {
        EXPECT_EQ(settings.cityIndex, polar);
        EXPECT_EQ(settings.latitude, CityAt(polar)->Latitude());
        EXPECT_EQ(settings.utcOffsetHours, CityAt(polar)->Offset());
    }
}

TEST_F(SetupDialogTest, TheTimeOfDayChoiceIsStoredAsAPair) {
    struct Case {
        TRadioButton SetupDialog::*option;
        bool daytime;
        bool demo;
    };
    for (const Case& choice :
         {Case{&SetupDialog::daytimeOff, false, false}, Case{&SetupDialog::daytimeReal, true, false},
          Case{&SetupDialog::daytimeDemo, false, true}}) {
        auto form = Open();
        (form.get()->*choice.option).SetChecked(true);
        form->okButton.Click();
        EXPECT_EQ(Stored().realDaylight, choice.daytime);
        EXPECT_EQ(Stored().demoDay, choice.demo);
    }
}

TEST_F(SetupDialogTest, ChoosingACityTakesItsPlaceAndShowsItsTimes) {
    Store([](Settings& settings) { settings.cityIndex = 5; });
    auto form = Open();
    // Opening shows the stored city without taking its place.
    EXPECT_EQ(form->cityList.ItemIndex(), 5);
    EXPECT_FLOAT_EQ(form->WorkingCopy().latitude, 50.783333f);

    const CityRecord adelaide = *CityAt(19);
    form->cityList.UserSelect(19);
    EXPECT_EQ(form->WorkingCopy().cityIndex, 19);
    EXPECT_EQ(form->WorkingCopy().latitude, adelaide.Latitude());
    EXPECT_EQ(form->WorkingCopy().longitude, adelaide.Longitude());
    EXPECT_EQ(form->WorkingCopy().utcOffsetHours, 9);

    form->cityList.UserEdit("aachen ge");
    EXPECT_EQ(form->WorkingCopy().cityIndex, 0);
    form->daylightSaving.SetChecked(true);
    EXPECT_TRUE(form->WorkingCopy().daylightSaving);
    EXPECT_EQ(form->sunriseTime.Caption, "5:21AM");
    EXPECT_EQ(form->sunsetTime.Caption, "9:52PM");

    // Text that names no city changes nothing.
    form->cityList.UserEdit("ATLANT");
    EXPECT_EQ(form->WorkingCopy().cityIndex, 0);
    EXPECT_EQ(form->sunriseTime.Caption, "5:21AM");
    form->okButton.Click();
    EXPECT_EQ(Stored().cityIndex, 0);
    EXPECT_EQ(Stored().utcOffsetHours, 1);
}

TEST_F(SetupDialogTest, AStoredDaylightSavingFlagTakesTheListedCitysPlace) {
    Store([](Settings& settings) {
        settings.cityIndex = 19;
        settings.daylightSaving = true;
    });
    auto form = Open();
    EXPECT_TRUE(form->daylightSaving.Checked());
    EXPECT_EQ(form->WorkingCopy().utcOffsetHours, 9);
    EXPECT_FLOAT_EQ(form->Sunrise(), SunTime(9, true, CityAt(19)->Latitude(), CityAt(19)->Longitude()) + 1);
}

TEST_F(SetupDialogTest, AStoredCityOutsideTheTableSelectsNoneAndKeepsThePlace) {
    Store([](Settings& settings) {
        settings.cityIndex = 5000;
        settings.latitude = 10;
    });
    auto form = Open();
    EXPECT_EQ(form->cityList.ItemIndex(), -1);
    EXPECT_EQ(form->cityList.Text(), "");
    EXPECT_EQ(form->sunriseTime.Caption, "");
    form->daylightSaving.SetChecked(true);
    form->okButton.Click();
    EXPECT_EQ(Stored().cityIndex, 5000);
    EXPECT_EQ(Stored().latitude, 10);
}

TEST_F(SetupDialogTest, APolarCityReportsEachEventThatDoesNotHappen) {
    int polar = -1;
    for (int position = 0; position < CityCount && polar < 0; ++position) {
        if (CityAt(position)->Latitude() > 67) polar = position;
    }
    ASSERT_GE(polar, 0);
    Application->Title = "Tideway Island Screensaver ";
    auto form = Open();
    form->cityList.UserSelect(polar);
    const std::string never = "the sun never sets on this location (on the specified date)";
    EXPECT_EQ(Messages(), (std::vector<std::string>{never, never}));
    EXPECT_EQ(platform::headless::ShownMessageBoxes().front().caption, "Tideway Island Screensaver ");
    EXPECT_EQ(form->sunriseTime.Caption, "none");
    EXPECT_EQ(form->sunsetTime.Caption, "none");
    form->daylightSaving.SetChecked(true);
    EXPECT_EQ(form->sunriseTime.Caption, "none");
    Application->Title.clear();
}

TEST_F(SetupDialogTest, ShowClockGreysTheClockControlsAndTheSwatch) {
    Store([](Settings& settings) { settings.clockColour = 0x00FF00; });
    auto form = Open();
    const std::vector<TControl*> clockControls = {
        &form->centerXLabel, &form->centerX,     &form->centerYLabel, &form->centerY,
        &form->colorSwatch,  &form->colorButton, &form->radiusLabel,  &form->radius};
    form->showClock.SetChecked(false);
    for (TControl* control : clockControls) EXPECT_FALSE(control->Enabled);
    EXPECT_EQ(form->colorSwatch.Color, clMenu);
    EXPECT_FALSE(form->WorkingCopy().showClock);
    form->showClock.SetChecked(true);
    for (TControl* control : clockControls) EXPECT_TRUE(control->Enabled);
    EXPECT_EQ(form->colorSwatch.Color, TColor(0x00FF00));
}

TEST_F(SetupDialogTest, TheColourDialogSetsTheClocksColourOnlyWhenChosen) {
    auto form = Open();
    form->ChooseClockColor(nullptr);  // cancelled
    EXPECT_EQ(form->WorkingCopy().clockColour, 0xFFFFFF);

    platform::headless::Config config;
    config.chosenColor = 0x123456;
    UseDisplay(config);
    form->colorSwatch.Click();
    EXPECT_EQ(form->WorkingCopy().clockColour, 0x123456);
    EXPECT_EQ(form->colorSwatch.Color, TColor(0x123456));
}

TEST_F(SetupDialogTest, AFailedWriteKeepsTheDialogOpen) {
    Store([](Settings&) {});
    auto form = Open();
    std::filesystem::permissions(KeyFile(), std::filesystem::perms::owner_read);
    try {
        form->okButton.Click();
        ADD_FAILURE() << "no error";
    } catch (const SettingsStoreError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'flag_clock'");
    }
    EXPECT_FALSE(form->Closing());
}

TEST_F(SetupDialogTest, ASettingsKeyThatCannotBeMadeIsNotReportedAsSaved) {
    // The settings folder is a file: no key can be made below it.
    WriteText(Home() / "Corvane", "not a folder");
    auto form = Open();
    EXPECT_EQ(form->WorkingCopy(), FirstRunDefaults({1024, 768, 32}));
    EXPECT_THROW(form->okButton.Click(), SettingsStoreError);
    EXPECT_FALSE(form->Closing());
}

TEST_F(SetupDialogTest, ADamagedKeyIsReportedAndOkRepairsOnlyTheDamagedValues) {
    Store([](Settings& settings) {
        settings.playSound = false;
        settings.gammaLevel = 200;
        settings.gullCount = 3;
        settings.showDolphins = false;
        settings.daylightSaving = true;
        settings.showSunTimes = false;
        settings.cityIndex = 5;
    });
    std::string text = ReadText(KeyFile());
    const std::size_t line = text.find("\"NumBirds\"");
    text.erase(line, text.find('\n', line) + 1 - line);
    const std::size_t speed = text.find("\"SetSpeed\"=");
    text.replace(speed, text.find('\n', speed) - speed, "\"SetSpeed\"=\"fast\"");
    WriteText(KeyFile(), text);

    auto form = Open();
    // The first damage is reported, as the load meets it.
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Failed to get data for 'SetSpeed'"}));
    const Settings shown = form->WorkingCopy();
    EXPECT_FALSE(shown.playSound);  // read before the damage
    EXPECT_EQ(shown.gammaLevel, 200);
    EXPECT_EQ(shown.speed, Speed::Normal);  // the first run's
    EXPECT_EQ(shown.gullCount, 7);          // the first run's, not 0
    EXPECT_FALSE(shown.showDolphins);       // read after the damage
    EXPECT_TRUE(shown.daylightSaving);
    EXPECT_FALSE(shown.showSunTimes);
    EXPECT_EQ(shown.cityIndex, 5);
    EXPECT_FALSE(form->playSound.Checked());
    EXPECT_FALSE(form->showDolphins.Checked());
    EXPECT_EQ(form->gullCount.Value(), 7);
    form->okButton.Click();
    EXPECT_EQ(Stored(), shown);
}

TEST_F(SetupDialogTest, AnUnreadableFirstValueStillLeavesTheRestAsStored) {
    Store([](Settings& settings) {
        settings.showClock = false;
        settings.gullCount = 2;
    });
    std::string text = ReadText(KeyFile());
    const std::size_t probe = text.find("\"flag_clock\"=");
    text.replace(probe, text.find('\n', probe) - probe, "\"flag_clock\"=hex:01");
    WriteText(KeyFile(), text);

    auto form = Open();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Invalid data type for 'flag_clock'"}));
    EXPECT_TRUE(form->WorkingCopy().showClock);  // the first run's
    EXPECT_EQ(form->WorkingCopy().gullCount, 2);
    EXPECT_NE(ReadText(KeyFile()).find("\"flag_clock\"=hex:01"), std::string::npos);  // nothing written
}

}  // namespace
