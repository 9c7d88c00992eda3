// The configuration dialog: a working copy of the settings, the
// dialog's controls as plain state and the handlers that tie them together.
// Every handler changes the working copy at once; only "OK" writes it to the
// store. A view shows the controls and forwards the user's actions to them.
#pragma once

#include "platform/OfferedModes.h"
#include "platform/forms/StdCtrls.h"
#include "settings/IdleStart.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/VideoModes.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// An option that stands for one entry of a table: a size, a depth.
template <class Value>
struct ValueOption {
    ValueOption(TWinControl* group, Value value, std::string caption, TGridPlace place)
        : value(value), button(group, std::move(caption), place) {}
    const Value value;
    TRadioButton button;
};
// Held by pointer: a control stays where it joined its group.
template <class Value>
using ValueOptions = std::vector<std::unique_ptr<ValueOption<Value>>>;

// The option whose value `matches`, if any.
template <class Value, class Matches>
TRadioButton* FindOption(const ValueOptions<Value>& options, Matches matches) {
    for (const auto& option : options) {
        if (matches(option->value)) return &option->button;
    }
    return nullptr;
}

class SetupDialog : public TDialogForm {
public:
    // When the two display probes run: while the form is made, or once a
    // view has put its window on the screen (OnShown), so that the window
    // does not wait for them. Until then no video mode and no gamma is
    // offered.
    enum class DisplayProbes { AtCreation, OnceShown };

    // Builds the controls, then runs SetUpDialog; an error it raises (a damaged
    // settings key) is shown in the application's error box and the form is
    // kept, showing what "OK" would write.
    explicit SetupDialog(TComponent* owner, DisplayProbes probes = DisplayProbes::AtCreation);

    // The working copy, as "OK" would write it.
    const Settings& WorkingCopy() const { return settings_; }
    bool GammaSupported() const { return gammaSupported_; }
    const VideoModeTable& VideoModes() const { return videoModes_; }
    // Today's sunrise and sunset of the chosen city, daylight saving added.
    float Sunrise() const { return sunrise_; }
    float Sunset() const { return sunset_; }

    // Along the top.
    TImage previewPicture;
    TPanel aboutPanel;
    TLabel programName;
    TLabel versionLabel;  // "version"
    TLabel versionNumber;
    TLabel documentationLink;
    TLabel mailLabel;  // "e-mail:"
    TLabel mailLink;

    TPageControl pages;

    TTabSheet settingsPage;  // "Settings"
    TGroupBox soundGroup;
    TCheckBox playSound;
    TLabel soundNote;
    TGroupBox frameRateGroup;
    TCheckBox showFrameRate;
    TGroupBox endingGroup;
    TRadioButton endOnKeyOrMouse;
    TRadioButton endOnEscapeOnly;
    TGroupBox speedGroup;
    TRadioButton speedSlow;
    TRadioButton speedNormal;
    TRadioButton speedFast;
    TGroupBox objectsGroup;
    TLabel gullCountLabel;
    TSpinEdit gullCount;
    TCheckBox showDolphins;  // "Show Dolphins"
    TCheckBox showYacht;     // "Show Yacht"
    // Where login entries exist (Linux).
    std::optional<IdleStartOption> idleStart;

    TTabSheet displayPage;  // "Display"
    TGroupBox videoModeGroup;
    // One per entry of kFixedModeSizes, in its order.
    ValueOptions<platform::ModeSize> sizeOptions;
    TRadioButton modeDesktop;
    TGroupBox colorDepthGroup;
    // One per entry of kOfferedDepths, in its order.
    ValueOptions<int> depthOptions;
    TGroupBox gammaGroup;
    TTrackBar gammaSlider;
    TLabel darkenLabel;
    TLabel lightenLabel;
    TLabel gammaNote;

    TTabSheet timeOfDayPage;  // "Time of Day"
    TGroupBox daytimeGroup;
    TRadioButton daytimeOff;   // "Off"
    TRadioButton daytimeDemo;  // "Demo mode (fast cycle)"
    TRadioButton daytimeReal;  // "Real time of day"
    TGroupBox daytimeTextGroup;
    TCheckBox showDemoTime;  // "Show simulate time, when"
    TLabel demoTimeNote;
    TCheckBox showSunTimes;  // "Show string Surise/Sunset"
    TGroupBox sunTimesGroup;
    TLabel cityLabel;
    TComboBox cityList;
    TCheckBox daylightSaving;  // "Daylight Saving Time"
    TLabel sunriseLabel;
    TLabel sunriseTime;
    TLabel sunsetLabel;
    TLabel sunsetTime;
    TLabel cityNote;

    TTabSheet clockPage;  // "Clock"
    TGroupBox clockGroup;
    TCheckBox showClock;
    TGroupBox clockColorGroup;
    TButton colorButton;  // "Set color"
    TPanel colorSwatch;
    TGroupBox positionGroup;
    TLabel centerXLabel;
    TEdit centerX;
    TLabel centerYLabel;
    TEdit centerY;
    TGroupBox sizeGroup;
    TLabel radiusLabel;
    TEdit radius;
    TLabel clockNote;

    // Along the bottom.
    TPanel buttonPanel;
    TButton defaultsButton;
    TButton okButton;
    TButton cancelButton;

    TColorDialog colorDialog;

    void SetUpDialog(TObject* Sender);
    // The probes, when they wait for the window; then the display's options
    // as they found them.
    void ProbeDisplay(TObject* Sender);
    void SaveAndClose(TObject* Sender);
    void CloseWithoutSaving(TObject* Sender);
    void RestoreDefaults(TObject* Sender);
    void OpenDocumentation(TObject* Sender);
    void WriteMail(TObject* Sender);

    void TakePlaySound(TObject* Sender);
    void TakeShowFrameRate(TObject* Sender);
    // Either ending option: the style is whether "Keybord and Mouse" is on.
    void TakeEndingStyle(TObject* Sender);
    void ChooseSlowSpeed(TObject* Sender);
    void ChooseNormalSpeed(TObject* Sender);
    void ChooseFastSpeed(TObject* Sender);
    void TakeGullCount(TObject* Sender);
    void TakeShowDolphins(TObject* Sender);
    void TakeShowYacht(TObject* Sender);

    void ChooseDesktopMode(TObject* Sender);
    // Any button released over a video-mode option puts the clock back in
    // the corner of the screen.
    void ResetClockAfterModeChoice(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void TakeGamma(TObject* Sender);

    // Any time-of-day option.
    void TakeDaytimeChoice(TObject* Sender);
    void TakeCity(TObject* Sender);
    void TakeDaylightSaving(TObject* Sender);
    void TakeShowDemoTime(TObject* Sender);
    void TakeShowSunTimes(TObject* Sender);

    void TakeShowClock(TObject* Sender);
    void ChooseClockColor(TObject* Sender);
    void KeepDigitsOnly(TObject* Sender, char& Key);
    void TakeCenterX(TObject* Sender);
    void TakeCenterY(TObject* Sender);
    void TakeRadius(TObject* Sender);

private:
    void ConnectHandlers();
    void RunDisplayProbes();
    void FillCityList();
    void ShowGammaSupport();

    // The controls from the working copy, in the dialog's order.
    void RefreshControls();
    void RefreshClockPage();
    void RefreshTimeOfDayPage();

    void SelectFixedMode(platform::ModeSize size);
    void UpdateVideoModeAvailability();
    void DisableDepthOptions();
    void ResetClockPlacement();
    void EnableClockControls(bool enabled);
    void ShowClockPlacement();
    void ApplyTimeOfDayChoice();
    // Copies the listed city's place and position into the working copy and
    // shows its times.
    void SelectCity();
    void ShowSunTimes();

    Settings settings_;
    std::string readme_;  // what the documentation link opens
    bool displayProbed_ = false;
    bool gammaSupported_ = false;
    VideoModeTable videoModes_;
    float sunrise_ = 0;
    float sunset_ = 0;
    SettingsStore store_;
};

// Configuration mode: shows the dialog until the user closes it; `owner` is
// the host's window that asked for it, if any.
void RunSetupDialog(HWND owner = 0);
