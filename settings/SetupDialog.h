// The configuration dialog: a working copy of the settings, the
// dialog's controls as plain state and the handlers that tie them together.
// Every handler changes the working copy at once; only "OK" writes it to the
// store. A view shows the controls and forwards the user's actions to them.
#pragma once

#include "platform/StdCtrls.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/VideoModes.h"

class SetupDialog : public TDialogForm {
public:
    // Builds the controls, then runs FormCreate; an error it raises (a damaged
    // settings key) is shown in the application's error box and the form is
    // kept, showing what "OK" would write.
    explicit SetupDialog(TComponent* owner);

    // The working copy, as "OK" would write it.
    const Settings& WorkingCopy() const { return FSettings; }
    bool GammaSupported() const { return FGammaSupported; }
    const VideoModeTable& VideoModes() const { return FVideoModes; }
    // Today's sunrise and sunset of the chosen city, daylight saving added.
    float Sunrise() const { return FSunrise; }
    float Sunset() const { return FSunset; }

    // Along the top.
    TImage Image1;
    TPanel PanelAbout;
    TLabel Label1;  // the program's name
    TLabel Label2;  // "version"
    TLabel Label6;  // the version number
    TLabel Label3;  // link to the program's documentation
    TLabel Label4;  // "e-mail:"
    TLabel Label5;  // link to a new mail

    TPageControl PageControl1;

    TTabSheet TabSheet1;  // "Settings"
    TGroupBox GroupBoxSound;
    TCheckBox CheckBox1PlaySound;
    TLabel LabelSoundNote;
    TGroupBox GroupBoxFrameRate;
    TCheckBox CheckBox2ShowFPS;
    TGroupBox GroupBoxTerminate;
    TRadioButton RadioButton3KeyMouse;
    TRadioButton RadioButton4Key;
    TGroupBox GroupBoxSpeed;
    TRadioButton RadioButton1Slow;
    TRadioButton RadioButton2Normal;
    TRadioButton RadioButton5Fast;
    TGroupBox GroupBoxObjects;
    TLabel LabelSeagulls;
    TSpinEdit RxSpinEdit1;
    TCheckBox CheckBox1;  // "Show Dolphins"
    TCheckBox CheckBox2;  // "Show Yacht"

    TTabSheet TabSheet2;  // "Display"
    TGroupBox GroupBoxVideoMode;
    TRadioButton RadioButton6800x600;
    TRadioButton RadioButton71024x768;
    TRadioButton RadioButton81152x864;
    TRadioButton RadioButton91280x1024;
    TRadioButton RadioButton13desktop;
    TGroupBox GroupBoxColorDepth;
    TRadioButton RadioButton10_16;
    TRadioButton RadioButton11_24;
    TRadioButton RadioButton12_32;
    TGroupBox GroupBoxGamma;
    TTrackBar TrackBar1;
    TLabel LabelDarken;
    TLabel LabelLighten;
    TLabel LabelGammaNote;

    TTabSheet TabSheet3;  // "Time of Day"
    TGroupBox GroupBoxSetting;
    TRadioButton RadioButton1;  // "Off"
    TRadioButton RadioButton2;  // "Demo mode (fast cycle)"
    TRadioButton RadioButton3;  // "Real time of day"
    TGroupBox GroupBoxShow;
    TCheckBox CheckBox3;  // "Show simulate time, when"
    TLabel LabelDemoMode;
    TCheckBox CheckBox5;  // "Show string Surise/Sunset"
    TGroupBox GroupBoxSunriseSunset;
    TLabel LabelChooseCity;
    TComboBox ComboBox1;
    TCheckBox CheckBox4;  // "Daylight Saving Time"
    TLabel LabelApparentSunrise;
    TLabel LabelSunrise;
    TLabel LabelApparentSunset;
    TLabel LabelSunset;
    TLabel LabelCityNote;

    TTabSheet TabSheet4;  // "Clock"
    TGroupBox GroupBoxClockSettings;
    TCheckBox CheckBox3Showclock;
    TGroupBox GroupBoxColorClock;
    TButton Button1;  // "Set color"
    TPanel PanelColor;
    TGroupBox GroupBoxPosition;
    TLabel LabelXCenter;
    TEdit Edit1X;
    TLabel LabelYCenter;
    TEdit EditY;
    TGroupBox GroupBoxSize;
    TLabel LabelRadius;
    TEdit Edit3R;
    TLabel LabelClockNote;

    // Along the bottom.
    TPanel PanelButtons;
    TButton Button1Default;
    TButton Button1OK;
    TButton Button1Cancel;

    TColorDialog ColorDialog1;

    void FormCreate(TObject* Sender);
    void Button1OKClick(TObject* Sender);
    void Button1CancelClick(TObject* Sender);
    void Button1DefaultClick(TObject* Sender);
    void Label3Click(TObject* Sender);
    void Label5Click(TObject* Sender);

    void CheckBox1PlaySoundClick(TObject* Sender);
    void CheckBox2ShowFPSClick(TObject* Sender);
    // Either ending option: the style is whether "Keybord and Mouse" is on.
    void TakeEndingStyle(TObject* Sender);
    void RadioButton1SlowClick(TObject* Sender);
    void RadioButton2NormalClick(TObject* Sender);
    void RadioButton5FastClick(TObject* Sender);
    void RxSpinEdit1Change(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void CheckBox2Click(TObject* Sender);

    void RadioButton6800x600Click(TObject* Sender);
    void RadioButton71024x768Click(TObject* Sender);
    void RadioButton81152x864Click(TObject* Sender);
    void RadioButton91280x1024Click(TObject* Sender);
    void RadioButton13desktopClick(TObject* Sender);
    // Any button released over a video-mode option puts the clock back in
    // the corner of the screen.
    void ResetClockAfterModeChoice(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void RadioButton10_16Click(TObject* Sender);
    void RadioButton11_24Click(TObject* Sender);
    void RadioButton12_32Click(TObject* Sender);
    void TrackBar1Change(TObject* Sender);

    // Any time-of-day option.
    void TakeDaytimeChoice(TObject* Sender);
    void ComboBox1Change(TObject* Sender);
    void CheckBox4Click(TObject* Sender);
    void CheckBox3Click(TObject* Sender);
    void CheckBox5Click(TObject* Sender);

    void CheckBox3ShowclockClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Edit1XKeyPress(TObject* Sender, char& Key);
    void Edit1XExit(TObject* Sender);
    void EditYExit(TObject* Sender);
    void Edit3RExit(TObject* Sender);

private:
    void ConnectHandlers();
    void FillCityList();
    void ShowGammaSupport();

    // The controls from the working copy, in the dialog's order.
    void RefreshControls();
    void RefreshClockPage();
    void RefreshTimeOfDayPage();

    void SelectFixedMode(int width, int height);
    void UpdateVideoModeAvailability();
    void ResetClockPlacement();
    void EnableClockControls(bool enabled);
    void ShowClockPlacement();
    void ApplyTimeOfDayChoice();
    // Copies the listed city's place into the working copy and shows its times.
    void SelectCity();
    void ShowSunTimes();

    Settings FSettings;
    bool FGammaSupported = false;
    VideoModeTable FVideoModes;
    float FSunrise = 0;
    float FSunset = 0;
    SettingsStore store_;
};

// Configuration mode: shows the dialog until the user closes it.
void RunSetupDialog();
