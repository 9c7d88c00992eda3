#include "settings/SetupDialog.h"

#include "platform/Autostart.h"
#include "platform/Documentation.h"
#include "platform/forms/DialogWindow.h"
#include "platform/winapi/User.h"
#include "settings/ClockPlacement.h"
#include "solar/CityTable.h"
#include "solar/SunTime.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>

namespace {

constexpr int kGammaLevels = 256;
constexpr int kMaxSeagulls = 10;
constexpr int kEditWidth = 64;
// Characters a box takes: the longest number of a clock box's pixels and of
// the gull count, and a city's name field without its terminating NUL.
constexpr std::size_t kClockDigits = 5;
constexpr std::size_t kGullDigits = 2;
constexpr std::size_t kCityNameLength = CityNameFieldSize - 1;

constexpr TGridPlace At(int row, int column, int rowSpan = 1, int columnSpan = 1) {
    return {row, column, rowSpan, columnSpan, false, 0};
}
constexpr TGridPlace Filling(int row, int column, int rowSpan = 1, int columnSpan = 1) {
    return {row, column, rowSpan, columnSpan, true, 0};
}
// Under a check box's caption.
constexpr TGridPlace UnderCaption(int row, int column) { return {row, column, 1, 1, false, 24}; }

TFont Bold(TColor color = clWindowText) { return {color, true, false}; }
TFont Link() { return {clNavy, false, true}; }

// One option per entry of `table`, a row each from the top of `group`.
template <class Value, std::size_t Count, class Caption>
ValueOptions<Value> OptionsOf(TWinControl& group, const std::array<Value, Count>& table, Caption caption) {
    ValueOptions<Value> options;
    for (const Value value : table) {
        const int row = int(options.size());
        options.push_back(std::make_unique<ValueOption<Value>>(&group, value, caption(value), At(row, 0)));
    }
    return options;
}

std::string SizeCaption(platform::ModeSize size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}
std::string DepthCaption(int bitsPerPixel) { return std::to_string(bitsPerPixel) + "-bit color"; }

}  // namespace

SetupDialog::SetupDialog(TComponent* owner, DisplayProbes probes)
    : TDialogForm(owner),
      previewPicture(this, "", At(0, 0)),
      aboutPanel(this, "", Filling(0, 1)),
      programName(&aboutPanel, "Tideway Islands Screensaver", At(0, 0, 1, 2)),
      versionLabel(&aboutPanel, "version", At(1, 0)),
      versionNumber(&aboutPanel, "1.0", At(1, 1)),
      documentationLink(&aboutPanel, "Documentation", At(2, 0, 1, 2)),
      mailLabel(&aboutPanel, "e-mail:", At(3, 0)),
      mailLink(&aboutPanel, "new message", At(3, 1)),
      pages(this, "", Filling(1, 0, 1, 2)),

      settingsPage(&pages, "Settings", {}),
      soundGroup(&settingsPage, "Sound", Filling(0, 0)),
      playSound(&soundGroup, "Play Sound", At(0, 0)),
      soundNote(&soundGroup,
                "If you don't hear the sound, download and \n"
                "install Windows Media Player",
                At(1, 0)),
      frameRateGroup(&settingsPage, "Frame rate", Filling(0, 1)),
      showFrameRate(&frameRateGroup, "Show FPS", At(0, 0)),
      endingGroup(&settingsPage, "Terminate", Filling(1, 0)),
      endOnKeyOrMouse(&endingGroup, "Keybord and Mouse", At(0, 0)),
      endOnEscapeOnly(&endingGroup, "Keybord only (ESC key)", At(1, 0)),
      speedGroup(&settingsPage, "Speed setting", Filling(1, 1)),
      speedSlow(&speedGroup, "Slow", At(0, 0)),
      speedNormal(&speedGroup, "Normal", At(1, 0)),
      speedFast(&speedGroup, "Fast", At(2, 0)),
      objectsGroup(&settingsPage, "Objects", Filling(2, 0, 1, 2)),
      gullCountLabel(&objectsGroup, "Number of Seagull:", At(0, 0)),
      gullCount(&objectsGroup, "", At(0, 1)),
      showDolphins(&objectsGroup, "Show Dolphins", At(0, 2)),
      showYacht(&objectsGroup, "Show Yacht", At(0, 3)),

      displayPage(&pages, "Display", {}),
      videoModeGroup(&displayPage, "Video mode", Filling(0, 0)),
      sizeOptions(OptionsOf(videoModeGroup, platform::kFixedModeSizes, SizeCaption)),
      modeDesktop(&videoModeGroup, "Use desktop settings", At(int(platform::kFixedModeSizes.size()), 0)),
      colorDepthGroup(&displayPage, "Color depth", Filling(1, 0)),
      depthOptions(OptionsOf(colorDepthGroup, platform::kOfferedDepths, DepthCaption)),
      gammaGroup(&displayPage, "Gamma settings", Filling(0, 1, 2, 1)),
      gammaSlider(&gammaGroup, "", Filling(0, 0, 1, 2)),
      darkenLabel(&gammaGroup, "Darken", At(1, 0)),
      lightenLabel(&gammaGroup, "Lighten", At(1, 1)),
      gammaNote(&gammaGroup,
                "You may setting Gamma level when screensaver \n"
                "is running. \n"
                "\"+\" key - make lighten\n"
                "\"-\" key - make darken\n"
                "\n"
                "note: this option available only if you choose \n"
                "\"Keyboard only (ESC key)\"  terminate \n"
                "screensaver mode (see Setting tab).",
                At(2, 0, 1, 2)),

      timeOfDayPage(&pages, "Time of Day", {}),
      daytimeGroup(&timeOfDayPage, "Setting", Filling(0, 0)),
      daytimeOff(&daytimeGroup, "Off", At(0, 0)),
      daytimeDemo(&daytimeGroup, "Demo mode (fast cycle)", At(1, 0)),
      daytimeReal(&daytimeGroup, "Real time of day", At(2, 0)),
      daytimeTextGroup(&timeOfDayPage, "", Filling(1, 0)),
      showDemoTime(&daytimeTextGroup, "Show simulate time, when", At(0, 0)),
      demoTimeNote(&daytimeTextGroup, "running in Demo mode.", UnderCaption(1, 0)),
      showSunTimes(&daytimeTextGroup, "Show string Surise/Sunset", At(2, 0)),
      sunTimesGroup(&timeOfDayPage, "Surise/Sunset", Filling(0, 1, 2, 1)),
      cityLabel(&sunTimesGroup, "Choose your City:", At(0, 0, 1, 2)),
      cityList(&sunTimesGroup, "", At(1, 0, 1, 2)),
      daylightSaving(&sunTimesGroup, "Daylight Saving Time", At(2, 0, 1, 2)),
      sunriseLabel(&sunTimesGroup, "Apparent Sunrise:", At(3, 0)),
      sunriseTime(&sunTimesGroup, "", At(3, 1)),
      sunsetLabel(&sunTimesGroup, "Apparent Sunset:", At(4, 0)),
      sunsetTime(&sunTimesGroup, "", At(4, 1)),
      cityNote(&sunTimesGroup,
               "Note: when you select a location from the \n"
               "City pulldown menu Tideway Screensaver \n"
               "will show the real time of day for your \n"
               "location (for current day).\n",
               Filling(5, 0, 1, 2)),

      clockPage(&pages, "Clock", {}),
      clockGroup(&clockPage, "Clock settings", Filling(0, 0)),
      showClock(&clockGroup, "Show clock", At(0, 0)),
      clockColorGroup(&clockPage, "Color clock", Filling(0, 1)),
      colorButton(&clockColorGroup, "Set color", At(0, 0)),
      colorSwatch(&clockColorGroup, "", At(0, 1)),
      positionGroup(&clockPage, "Screen position", Filling(1, 0)),
      centerXLabel(&positionGroup, "X center", At(0, 0)),
      centerX(&positionGroup, "", At(0, 1)),
      centerYLabel(&positionGroup, "Ycenter", At(1, 0)),
      centerY(&positionGroup, "", At(1, 1)),
      sizeGroup(&clockPage, "Size", Filling(1, 1)),
      radiusLabel(&sizeGroup, "Radius of clock:", At(0, 0)),
      radius(&sizeGroup, "", At(0, 1)),
      clockNote(&clockPage,
                "Use cursor key to set position clock when screensaver is running. \n"
                "note: this option available only if you choose \"Keyboard only (ESC key)\"  terminate \n"
                "screensaver mode (see Setting tab).\n",
                At(2, 0, 1, 2)),

      buttonPanel(this, "", At(2, 0, 1, 2)),
      defaultsButton(&buttonPanel, "Default Setting", Filling(0, 0)),
      okButton(&buttonPanel, "OK", At(0, 1)),
      cancelButton(&buttonPanel, "Cancel", At(0, 2)),
      colorDialog(this),
      store_(SaverSettingsStore(this)) {
    Caption = "Tideway Islands Setup";
    if (platform::AutostartAvailable()) idleStart.emplace(&settingsPage, Filling(3, 0, 1, 2));
    previewPicture.ResourceName = "PREV_BITMAP";
    previewPicture.Width = 156;
    previewPicture.Height = 117;
    aboutPanel.BevelOuter = TBevelCut::bvNone;
    programName.Font = Bold();
    for (TLabel* link : {&documentationLink, &mailLink}) {
        link->Font = Link();
        link->Cursor = TCursor::crHandPoint;
    }
    readme_ = platform::ProgramReadme();
    documentationLink.Enabled = !readme_.empty();
    gullCount.MinValue = 0;
    gullCount.MaxValue = kMaxSeagulls;
    gullCount.Increment = 1;
    gullCount.MaxLength = kGullDigits;
    gullCount.SetValue(7);
    gammaSlider.Min = 0;
    gammaSlider.Max = kGammaLevels;
    gammaSlider.Frequency = 5;
    gammaSlider.SetPosition(kGammaLevels);
    lightenLabel.Alignment = TAlignment::taRightJustify;
    daytimeDemo.SetChecked(true);
    showDemoTime.SetChecked(true);
    showSunTimes.SetChecked(true);
    cityList.Width = 260;
    cityList.MaxLength = kCityNameLength;
    sunriseLabel.Font = Bold(clNavy);
    sunsetLabel.Font = Bold(clNavy);
    cityNote.Transparent = false;
    cityNote.Color = clSilver;
    colorSwatch.Width = 33;
    colorSwatch.Height = 25;
    colorSwatch.Cursor = TCursor::crHandPoint;
    colorSwatch.BevelOuter = TBevelCut::bvLowered;
    for (TEdit* edit : {&centerX, &centerY, &radius}) {
        edit->Width = kEditWidth;
        edit->MaxLength = kClockDigits;
    }
    buttonPanel.BevelOuter = TBevelCut::bvNone;
    okButton.Default = true;
    cancelButton.Cancel = true;
    for (TButton* button : {&colorButton, &defaultsButton, &okButton, &cancelButton}) {
        button->Cursor = TCursor::crHandPoint;
    }

    ConnectHandlers();
    if (probes == DisplayProbes::OnceShown) OnShown = [this](TObject* sender) { ProbeDisplay(sender); };
    RunCreateHandler([this, probes] {
        if (probes == DisplayProbes::AtCreation) RunDisplayProbes();
        SetUpDialog(this);
    });
}

void SetupDialog::ConnectHandlers() {
    auto on = [this](void (SetupDialog::*handler)(TObject*)) {
        return [this, handler](TObject* sender) { (this->*handler)(sender); };
    };
    okButton.OnClick = on(&SetupDialog::SaveAndClose);
    cancelButton.OnClick = on(&SetupDialog::CloseWithoutSaving);
    defaultsButton.OnClick = on(&SetupDialog::RestoreDefaults);
    documentationLink.OnClick = on(&SetupDialog::OpenDocumentation);
    mailLink.OnClick = on(&SetupDialog::WriteMail);

    playSound.OnClick = on(&SetupDialog::TakePlaySound);
    showFrameRate.OnClick = on(&SetupDialog::TakeShowFrameRate);
    endOnKeyOrMouse.OnClick = on(&SetupDialog::TakeEndingStyle);
    endOnEscapeOnly.OnClick = on(&SetupDialog::TakeEndingStyle);
    speedSlow.OnClick = on(&SetupDialog::ChooseSlowSpeed);
    speedNormal.OnClick = on(&SetupDialog::ChooseNormalSpeed);
    speedFast.OnClick = on(&SetupDialog::ChooseFastSpeed);
    gullCount.OnChange = on(&SetupDialog::TakeGullCount);
    showDolphins.OnClick = on(&SetupDialog::TakeShowDolphins);
    showYacht.OnClick = on(&SetupDialog::TakeShowYacht);

    auto resetClock = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
        ResetClockAfterModeChoice(sender, button, shift, x, y);
    };
    for (const auto& option : sizeOptions) {
        option->button.OnClick = [this, size = option->value](TObject*) { SelectFixedMode(size); };
        option->button.OnMouseUp = resetClock;
    }
    modeDesktop.OnClick = on(&SetupDialog::ChooseDesktopMode);
    modeDesktop.OnMouseUp = resetClock;
    for (const auto& option : depthOptions) {
        option->button.OnClick = [this, depth = option->value](TObject*) { settings_.bitsPerPixel = depth; };
    }
    gammaSlider.OnChange = on(&SetupDialog::TakeGamma);

    for (TRadioButton* choice : {&daytimeOff, &daytimeDemo, &daytimeReal})
        choice->OnClick = on(&SetupDialog::TakeDaytimeChoice);
    cityList.OnChange = on(&SetupDialog::TakeCity);
    daylightSaving.OnClick = on(&SetupDialog::TakeDaylightSaving);
    showDemoTime.OnClick = on(&SetupDialog::TakeShowDemoTime);
    showSunTimes.OnClick = on(&SetupDialog::TakeShowSunTimes);

    showClock.OnClick = on(&SetupDialog::TakeShowClock);
    colorButton.OnClick = on(&SetupDialog::ChooseClockColor);
    colorSwatch.OnClick = on(&SetupDialog::ChooseClockColor);
    for (TEdit* edit : {&centerX, &centerY, &radius}) {
        edit->OnKeyPress = [this](TObject* sender, char& key) { KeepDigitsOnly(sender, key); };
    }
    centerX.OnExit = on(&SetupDialog::TakeCenterX);
    centerY.OnExit = on(&SetupDialog::TakeCenterY);
    radius.OnExit = on(&SetupDialog::TakeRadius);
}

void SetupDialog::RunDisplayProbes() {
    ProbeDisplayModes(videoModes_, 0);
    gammaSupported_ = ProbeGammaSupport(0);
    displayProbed_ = true;
}

void SetupDialog::SetUpDialog(TObject*) {
    ShowGammaSupport();
    FillCityList();
    // Values a damaged key cannot give keep their first-run defaults, so
    // that "OK" never writes a value nobody chose; the others keep what is
    // stored. The controls show them either way.
    settings_ = FirstRunDefaults(ReadDesktopMode());
    try {
        if (idleStart) idleStart->Load(store_);
        LoadSettings(store_, settings_, LoadVariant::Dialog, 0);
    } catch (...) {
        RefreshControls();
        throw;
    }
    RefreshControls();
}

void SetupDialog::ProbeDisplay(TObject*) {
    if (displayProbed_) return;
    RunDisplayProbes();
    ShowGammaSupport();
    if (gammaSupported_) gammaSlider.SetPosition(settings_.gammaLevel);
    // The sizes were held back while the display was unknown; from here on
    // only the availability rules take them away.
    for (const auto& option : sizeOptions) option->button.Enabled = true;
    UpdateVideoModeAvailability();
    if (modeDesktop.Checked()) DisableDepthOptions();
}

void SetupDialog::ShowGammaSupport() {
    gammaSlider.Enabled = gammaSupported_;
    // Not known yet is not "unsupported".
    const TColor text = gammaSupported_ || !displayProbed_ ? clWindowText : clInactiveCaption;
    for (TLabel* label : {&darkenLabel, &lightenLabel, &gammaNote}) label->Font.Color = text;
}

void SetupDialog::FillCityList() {
    cityList.Items.clear();
    cityList.Items.reserve(CityCount);
    for (int position = 0; position < CityCount; ++position) {
        cityList.Items.emplace_back(CityAt(position)->Name());
    }
    cityList.SetItemIndex(0);
}

void SetupDialog::RefreshControls() {
    playSound.SetChecked(settings_.playSound);
    showFrameRate.SetChecked(settings_.showFrameRate);
    (settings_.anyInputEnds ? endOnKeyOrMouse : endOnEscapeOnly).SetChecked(true);
    if (settings_.speed == Speed::Slow) {
        speedSlow.SetChecked(true);
    } else if (settings_.speed == Speed::Fast) {
        speedFast.SetChecked(true);
    } else {
        speedNormal.SetChecked(true);
    }
    gullCount.SetValue(settings_.gullCount);
    showDolphins.SetChecked(settings_.showDolphins);
    showYacht.SetChecked(settings_.showYacht);

    UpdateVideoModeAvailability();
    TRadioButton* resolution = &modeDesktop;
    if (!settings_.useDesktopMode) {
        // The stored width alone picks the size; its height follows from it.
        const int width = settings_.width;
        if (TRadioButton* size =
                FindOption(sizeOptions, [&](platform::ModeSize offered) { return offered.width == width; }))
            resolution = size;
    }
    resolution->SetChecked(true);
    if (resolution != &modeDesktop) {
        const int bitsPerPixel = settings_.bitsPerPixel;
        if (TRadioButton* depth =
                FindOption(depthOptions, [&](int offered) { return offered == bitsPerPixel; }))
            depth->SetChecked(true);
    }
    if (modeDesktop.Checked()) {
        settings_.useDesktopMode = true;
        DisableDepthOptions();
    }
    if (gammaSupported_) gammaSlider.SetPosition(settings_.gammaLevel);

    RefreshClockPage();
    RefreshTimeOfDayPage();
}

void SetupDialog::RefreshClockPage() {
    showClock.SetChecked(settings_.showClock);
    EnableClockControls(showClock.Checked());
    ShowClockPlacement();
    colorSwatch.Color = TColor(settings_.clockColour);
}

void SetupDialog::RefreshTimeOfDayPage() {
    TRadioButton& choice = settings_.realDaylight ? daytimeReal
                           : settings_.demoDay    ? daytimeDemo
                                                  : daytimeOff;
    choice.SetChecked(true);
    ApplyTimeOfDayChoice();
    showDemoTime.SetChecked(settings_.showDemoClock);
    showSunTimes.SetChecked(settings_.showSunTimes);
    cityList.SetItemIndex(settings_.cityIndex);
    daylightSaving.SetChecked(settings_.daylightSaving);
    ShowSunTimes();
}

void SetupDialog::SaveAndClose(TObject*) {
    WriteAllSettings(store_, settings_);
    // Writes go nowhere when the key cannot be made at all; that must not
    // look like a saved dialog.
    ConfirmSettingsStored(store_);
    if (idleStart) idleStart->Save(store_);
    Close();
}

void SetupDialog::CloseWithoutSaving(TObject*) { Close(); }

void SetupDialog::RestoreDefaults(TObject*) {
    const bool showRisSet = settings_.showSunTimes;
    settings_ = FirstRunDefaults(ReadDesktopMode());
    settings_.showSunTimes = showRisSet;
    if (idleStart) idleStart->RestoreDefaults();
    if (const auto city = CityAt(0)) {
        settings_.latitude = city->Latitude();
        settings_.longitude = city->Longitude();
        settings_.utcOffsetHours = city->Offset();
    }
    RefreshControls();
}

void SetupDialog::OpenDocumentation(TObject*) {
    if (readme_.empty() || platform::OpenReadme(readme_)) return;
    MessageBoxA(0, ("Cannot open the documentation " + readme_).c_str(), "Screen saver",
                MB_OK | MB_ICONERROR);
}

void SetupDialog::WriteMail(TObject*) {
    ShellExecuteA(0, "open", "mailto:?subject=Tideway%20Islands", nullptr, nullptr, SW_SHOWNORMAL);
}

void SetupDialog::TakePlaySound(TObject*) { settings_.playSound = playSound.Checked(); }
void SetupDialog::TakeShowFrameRate(TObject*) { settings_.showFrameRate = showFrameRate.Checked(); }
void SetupDialog::TakeEndingStyle(TObject*) { settings_.anyInputEnds = endOnKeyOrMouse.Checked(); }

void SetupDialog::ChooseSlowSpeed(TObject*) {
    if (speedSlow.Checked()) settings_.speed = Speed::Slow;
}

void SetupDialog::ChooseNormalSpeed(TObject*) {
    if (speedNormal.Checked()) settings_.speed = Speed::Normal;
}

void SetupDialog::ChooseFastSpeed(TObject*) {
    if (speedFast.Checked()) settings_.speed = Speed::Fast;
}

void SetupDialog::TakeGullCount(TObject*) { settings_.gullCount = int(std::trunc(gullCount.Value())); }
void SetupDialog::TakeShowDolphins(TObject*) { settings_.showDolphins = showDolphins.Checked(); }
void SetupDialog::TakeShowYacht(TObject*) { settings_.showYacht = showYacht.Checked(); }

void SetupDialog::ChooseDesktopMode(TObject*) {
    const DesktopMode desktop = ReadDesktopMode();
    settings_.width = desktop.width;
    settings_.height = desktop.height;
    settings_.bitsPerPixel = desktop.bitsPerPixel;
    settings_.useDesktopMode = true;
    DisableDepthOptions();
}

void SetupDialog::ResetClockAfterModeChoice(TObject*, TMouseButton, TShiftState, int, int) {
    ResetClockPlacement();
}

void SetupDialog::TakeGamma(TObject*) { settings_.gammaLevel = gammaSlider.Position(); }

void SetupDialog::TakeDaytimeChoice(TObject*) { ApplyTimeOfDayChoice(); }

void SetupDialog::TakeCity(TObject*) {
    // Typed text that names no city leaves the chosen city as it was.
    SelectCity();
}

void SetupDialog::TakeDaylightSaving(TObject*) {
    settings_.daylightSaving = daylightSaving.Checked();
    SelectCity();
}

void SetupDialog::TakeShowDemoTime(TObject*) { settings_.showDemoClock = showDemoTime.Checked(); }
void SetupDialog::TakeShowSunTimes(TObject*) { settings_.showSunTimes = showSunTimes.Checked(); }

void SetupDialog::TakeShowClock(TObject*) {
    settings_.showClock = showClock.Checked();
    EnableClockControls(settings_.showClock);
    colorSwatch.Color = settings_.showClock ? TColor(settings_.clockColour) : clMenu;
}

void SetupDialog::ChooseClockColor(TObject*) {
    if (!colorDialog.Execute()) return;
    settings_.clockColour = int(colorDialog.Color);
    colorSwatch.Color = colorDialog.Color;
}

void SetupDialog::KeepDigitsOnly(TObject*, char& Key) {
    if (Key < '0' || Key > '9') Key = 0;
}

void SetupDialog::TakeCenterX(TObject*) {
    settings_.clockCentreX =
        LimitClockCentre(LeadingInteger(centerX.Text()), settings_.clockRadius, settings_.width);
    centerX.SetText(std::to_string(settings_.clockCentreX));
}

void SetupDialog::TakeCenterY(TObject*) {
    settings_.clockCentreY =
        LimitClockCentre(LeadingInteger(centerY.Text()), settings_.clockRadius, settings_.height);
    centerY.SetText(std::to_string(settings_.clockCentreY));
}

void SetupDialog::TakeRadius(TObject*) {
    settings_.clockRadius = LimitClockRadius(LeadingInteger(radius.Text()), settings_.height);
    settings_.clockCentreX = LimitClockCentre(settings_.clockCentreX, settings_.clockRadius, settings_.width);
    settings_.clockCentreY =
        LimitClockCentre(settings_.clockCentreY, settings_.clockRadius, settings_.height);
    ShowClockPlacement();
}

void SetupDialog::SelectFixedMode(platform::ModeSize size) {
    settings_.width = size.width;
    settings_.height = size.height;
    settings_.useDesktopMode = false;
    UpdateVideoModeAvailability();
}

void SetupDialog::UpdateVideoModeAvailability() {
    // A size without a mode at the lowest depth (16 bits) cannot be chosen;
    // nothing here enables one again.
    const int lowestDepth = platform::kOfferedDepths.front();
    for (const auto& option : sizeOptions) {
        const auto [width, height] = option->value;
        if (!videoModes_.Available(width, height, lowestDepth)) option->button.Enabled = false;
    }
    // The depth options follow the smallest size, whatever size is chosen.
    const auto [width, height] = platform::kFixedModeSizes.front();
    for (const auto& option : depthOptions)
        option->button.Enabled = videoModes_.Available(width, height, option->value);
}

void SetupDialog::DisableDepthOptions() {
    for (const auto& option : depthOptions) option->button.Enabled = false;
}

void SetupDialog::ResetClockPlacement() {
    const ClockPlacement corner = CornerClockPlacement(settings_.width);
    settings_.clockRadius = corner.radius;
    settings_.clockCentreX = corner.x;
    settings_.clockCentreY = corner.y;
    ShowClockPlacement();
}

void SetupDialog::EnableClockControls(bool enabled) {
    for (TControl* control :
         std::initializer_list<TControl*>{&centerXLabel, &centerX, &centerYLabel, &centerY, &colorSwatch,
                                          &colorButton, &radiusLabel, &radius}) {
        control->Enabled = enabled;
    }
}

void SetupDialog::ShowClockPlacement() {
    centerX.SetText(std::to_string(settings_.clockCentreX));
    centerY.SetText(std::to_string(settings_.clockCentreY));
    radius.SetText(std::to_string(settings_.clockRadius));
}

void SetupDialog::ApplyTimeOfDayChoice() {
    settings_.demoDay = daytimeDemo.Checked();
    settings_.realDaylight = daytimeReal.Checked();
}

void SetupDialog::SelectCity() {
    const auto city = CityAt(cityList.ItemIndex());
    if (!city) return;
    // The city's place and its position are one choice, taken whole before
    // any message about it shows.
    settings_.cityIndex = cityList.ItemIndex();
    settings_.latitude = city->Latitude();
    settings_.longitude = city->Longitude();
    settings_.utcOffsetHours = city->Offset();
    ShowSunTimes();
}

void SetupDialog::ShowSunTimes() {
    const auto city = CityAt(cityList.ItemIndex());
    if (!city) {
        sunriseTime.Caption.clear();
        sunsetTime.Caption.clear();
        return;
    }
    const SunTimes sun = TodaysSunTimes(city->Offset(), city->Latitude(), city->Longitude(),
                                        settings_.daylightSaving, PolarNotice::Shown, Window());
    sunrise_ = sun.sunrise;
    sunset_ = sun.sunset;
    // The box has told why an event does not happen; its label says only that.
    sunriseTime.Caption = sun.sunrisePolar == PolarCase::None ? FormatHours(sunrise_) : "none";
    sunsetTime.Caption = sun.sunsetPolar == PolarCase::None ? FormatHours(sunset_) : "none";
}

void RunSetupDialog(HWND owner) {
    std::string error;
    if (!platform::OpenDialogDisplay(&error)) {
        MessageBoxA(owner, ("The settings dialog needs a display: " + error).c_str(), "Screen saver",
                    MB_OK | MB_ICONERROR);
        return;
    }
    SetupDialog form(Application, SetupDialog::DisplayProbes::OnceShown);
    platform::DialogWindow window(form, owner);
    window.Run();
}
