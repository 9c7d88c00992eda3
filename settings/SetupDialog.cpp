#include "settings/SetupDialog.h"

#include "platform/DialogWindow.h"
#include "platform/Documentation.h"
#include "platform/User.h"
#include "settings/ClockPlacement.h"
#include "solar/CityTable.h"
#include "solar/SunTime.h"

#include <cmath>
#include <initializer_list>
#include <string>

namespace {

constexpr int kGammaLevels = 256;
constexpr int kMaxSeagulls = 10;
constexpr int kEditWidth = 64;

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

}  // namespace

SetupDialog::SetupDialog(TComponent* owner)
    : TDialogForm(owner),
      Image1(this, "", At(0, 0)),
      PanelAbout(this, "", Filling(0, 1)),
      Label1(&PanelAbout, "Tideway Islands Screensaver", At(0, 0, 1, 2)),
      Label2(&PanelAbout, "version", At(1, 0)),
      Label6(&PanelAbout, "1.0", At(1, 1)),
      Label3(&PanelAbout, "Documentation", At(2, 0, 1, 2)),
      Label4(&PanelAbout, "e-mail:", At(3, 0)),
      Label5(&PanelAbout, "new message", At(3, 1)),
      PageControl1(this, "", Filling(1, 0, 1, 2)),

      TabSheet1(&PageControl1, "Settings", {}),
      GroupBoxSound(&TabSheet1, "Sound", Filling(0, 0)),
      CheckBox1PlaySound(&GroupBoxSound, "Play Sound", At(0, 0)),
      LabelSoundNote(&GroupBoxSound,
                     "If you don't hear the sound, download and \n"
                     "install Windows Media Player",
                     At(1, 0)),
      GroupBoxFrameRate(&TabSheet1, "Frame rate", Filling(0, 1)),
      CheckBox2ShowFPS(&GroupBoxFrameRate, "Show FPS", At(0, 0)),
      GroupBoxTerminate(&TabSheet1, "Terminate", Filling(1, 0)),
      RadioButton3KeyMouse(&GroupBoxTerminate, "Keybord and Mouse", At(0, 0)),
      RadioButton4Key(&GroupBoxTerminate, "Keybord only (ESC key)", At(1, 0)),
      GroupBoxSpeed(&TabSheet1, "Speed setting", Filling(1, 1)),
      RadioButton1Slow(&GroupBoxSpeed, "Slow", At(0, 0)),
      RadioButton2Normal(&GroupBoxSpeed, "Normal", At(1, 0)),
      RadioButton5Fast(&GroupBoxSpeed, "Fast", At(2, 0)),
      GroupBoxObjects(&TabSheet1, "Objects", Filling(2, 0, 1, 2)),
      LabelSeagulls(&GroupBoxObjects, "Number of Seagull:", At(0, 0)),
      RxSpinEdit1(&GroupBoxObjects, "", At(0, 1)),
      CheckBox1(&GroupBoxObjects, "Show Dolphins", At(0, 2)),
      CheckBox2(&GroupBoxObjects, "Show Yacht", At(0, 3)),

      TabSheet2(&PageControl1, "Display", {}),
      GroupBoxVideoMode(&TabSheet2, "Video mode", Filling(0, 0)),
      RadioButton6800x600(&GroupBoxVideoMode, "800x600", At(0, 0)),
      RadioButton71024x768(&GroupBoxVideoMode, "1024x768", At(1, 0)),
      RadioButton81152x864(&GroupBoxVideoMode, "1152x864", At(2, 0)),
      RadioButton91280x1024(&GroupBoxVideoMode, "1280x1024", At(3, 0)),
      RadioButton13desktop(&GroupBoxVideoMode, "Use desktop settings", At(4, 0)),
      GroupBoxColorDepth(&TabSheet2, "Color depth", Filling(1, 0)),
      RadioButton10_16(&GroupBoxColorDepth, "16-bit color", At(0, 0)),
      RadioButton11_24(&GroupBoxColorDepth, "24-bit color", At(1, 0)),
      RadioButton12_32(&GroupBoxColorDepth, "32-bit color", At(2, 0)),
      GroupBoxGamma(&TabSheet2, "Gamma settings", Filling(0, 1, 2, 1)),
      TrackBar1(&GroupBoxGamma, "", Filling(0, 0, 1, 2)),
      LabelDarken(&GroupBoxGamma, "Darken", At(1, 0)),
      LabelLighten(&GroupBoxGamma, "Lighten", At(1, 1)),
      LabelGammaNote(&GroupBoxGamma,
                     "You may setting Gamma level when screensaver \n"
                     "is running. \n"
                     "\"+\" key - make lighten\n"
                     "\"-\" key - make darken\n"
                     "\n"
                     "note: this option available only if you choose \n"
                     "\"Keyboard only (ESC key)\"  terminate \n"
                     "screensaver mode (see Setting tab).",
                     At(2, 0, 1, 2)),

      TabSheet3(&PageControl1, "Time of Day", {}),
      GroupBoxSetting(&TabSheet3, "Setting", Filling(0, 0)),
      RadioButton1(&GroupBoxSetting, "Off", At(0, 0)),
      RadioButton2(&GroupBoxSetting, "Demo mode (fast cycle)", At(1, 0)),
      RadioButton3(&GroupBoxSetting, "Real time of day", At(2, 0)),
      GroupBoxShow(&TabSheet3, "", Filling(1, 0)),
      CheckBox3(&GroupBoxShow, "Show simulate time, when", At(0, 0)),
      LabelDemoMode(&GroupBoxShow, "running in Demo mode.", UnderCaption(1, 0)),
      CheckBox5(&GroupBoxShow, "Show string Surise/Sunset", At(2, 0)),
      GroupBoxSunriseSunset(&TabSheet3, "Surise/Sunset", Filling(0, 1, 2, 1)),
      LabelChooseCity(&GroupBoxSunriseSunset, "Choose your City:", At(0, 0, 1, 2)),
      ComboBox1(&GroupBoxSunriseSunset, "", At(1, 0, 1, 2)),
      CheckBox4(&GroupBoxSunriseSunset, "Daylight Saving Time", At(2, 0, 1, 2)),
      LabelApparentSunrise(&GroupBoxSunriseSunset, "Apparent Sunrise:", At(3, 0)),
      LabelSunrise(&GroupBoxSunriseSunset, "", At(3, 1)),
      LabelApparentSunset(&GroupBoxSunriseSunset, "Apparent Sunset:", At(4, 0)),
      LabelSunset(&GroupBoxSunriseSunset, "", At(4, 1)),
      LabelCityNote(&GroupBoxSunriseSunset,
                    "Note: when you select a location from the \n"
                    "City pulldown menu Tideway Screensaver \n"
                    "will show the real time of day for your \n"
                    "location (for current day).\n",
                    Filling(5, 0, 1, 2)),

      TabSheet4(&PageControl1, "Clock", {}),
      GroupBoxClockSettings(&TabSheet4, "Clock settings", Filling(0, 0)),
      CheckBox3Showclock(&GroupBoxClockSettings, "Show clock", At(0, 0)),
      GroupBoxColorClock(&TabSheet4, "Color clock", Filling(0, 1)),
      Button1(&GroupBoxColorClock, "Set color", At(0, 0)),
      PanelColor(&GroupBoxColorClock, "", At(0, 1)),
      GroupBoxPosition(&TabSheet4, "Screen position", Filling(1, 0)),
      LabelXCenter(&GroupBoxPosition, "X center", At(0, 0)),
      Edit1X(&GroupBoxPosition, "", At(0, 1)),
      LabelYCenter(&GroupBoxPosition, "Ycenter", At(1, 0)),
      EditY(&GroupBoxPosition, "", At(1, 1)),
      GroupBoxSize(&TabSheet4, "Size", Filling(1, 1)),
      LabelRadius(&GroupBoxSize, "Radius of clock:", At(0, 0)),
      Edit3R(&GroupBoxSize, "", At(0, 1)),
      LabelClockNote(
          &TabSheet4,
          "Use cursor key to set position clock when screensaver is running. \n"
          "note: this option available only if you choose \"Keyboard only (ESC key)\"  terminate \n"
          "screensaver mode (see Setting tab).\n",
          At(2, 0, 1, 2)),

      PanelButtons(this, "", At(2, 0, 1, 2)),
      Button1Default(&PanelButtons, "Default Setting", Filling(0, 0)),
      Button1OK(&PanelButtons, "OK", At(0, 1)),
      Button1Cancel(&PanelButtons, "Cancel", At(0, 2)),
      ColorDialog1(this),
      store_(SaverSettingsStore(this)) {
    Caption = "Tideway Islands Setup";
    Image1.ResourceName = "PREV_BITMAP";
    Image1.Width = 156;
    Image1.Height = 117;
    PanelAbout.BevelOuter = TBevelCut::bvNone;
    Label1.Font = Bold();
    for (TLabel* link : {&Label3, &Label5}) {
        link->Font = Link();
        link->Cursor = TCursor::crHandPoint;
    }
    RxSpinEdit1.MinValue = 0;
    RxSpinEdit1.MaxValue = kMaxSeagulls;
    RxSpinEdit1.Increment = 1;
    RxSpinEdit1.SetValue(7);
    TrackBar1.Min = 0;
    TrackBar1.Max = kGammaLevels;
    TrackBar1.Frequency = 5;
    TrackBar1.SetPosition(kGammaLevels);
    LabelLighten.Alignment = TAlignment::taRightJustify;
    RadioButton2.SetChecked(true);
    CheckBox3.SetChecked(true);
    CheckBox5.SetChecked(true);
    ComboBox1.Width = 260;
    LabelApparentSunrise.Font = Bold(clNavy);
    LabelApparentSunset.Font = Bold(clNavy);
    LabelCityNote.Transparent = false;
    LabelCityNote.Color = clSilver;
    PanelColor.Width = 33;
    PanelColor.Height = 25;
    PanelColor.Cursor = TCursor::crHandPoint;
    PanelColor.BevelOuter = TBevelCut::bvLowered;
    for (TEdit* edit : {&Edit1X, &EditY, &Edit3R}) edit->Width = kEditWidth;
    PanelButtons.BevelOuter = TBevelCut::bvNone;
    for (TButton* button : {&Button1, &Button1Default, &Button1OK, &Button1Cancel}) {
        button->Cursor = TCursor::crHandPoint;
    }

    ConnectHandlers();
    RunCreateHandler([this] { FormCreate(this); });
}

void SetupDialog::ConnectHandlers() {
    auto on = [this](void (SetupDialog::*handler)(TObject*)) {
        return [this, handler](TObject* sender) { (this->*handler)(sender); };
    };
    Button1OK.OnClick = on(&SetupDialog::Button1OKClick);
    Button1Cancel.OnClick = on(&SetupDialog::Button1CancelClick);
    Button1Default.OnClick = on(&SetupDialog::Button1DefaultClick);
    Label3.OnClick = on(&SetupDialog::Label3Click);
    Label5.OnClick = on(&SetupDialog::Label5Click);

    CheckBox1PlaySound.OnClick = on(&SetupDialog::CheckBox1PlaySoundClick);
    CheckBox2ShowFPS.OnClick = on(&SetupDialog::CheckBox2ShowFPSClick);
    RadioButton3KeyMouse.OnClick = on(&SetupDialog::TakeEndingStyle);
    RadioButton4Key.OnClick = on(&SetupDialog::TakeEndingStyle);
    RadioButton1Slow.OnClick = on(&SetupDialog::RadioButton1SlowClick);
    RadioButton2Normal.OnClick = on(&SetupDialog::RadioButton2NormalClick);
    RadioButton5Fast.OnClick = on(&SetupDialog::RadioButton5FastClick);
    RxSpinEdit1.OnChange = on(&SetupDialog::RxSpinEdit1Change);
    CheckBox1.OnClick = on(&SetupDialog::CheckBox1Click);
    CheckBox2.OnClick = on(&SetupDialog::CheckBox2Click);

    RadioButton6800x600.OnClick = on(&SetupDialog::RadioButton6800x600Click);
    RadioButton71024x768.OnClick = on(&SetupDialog::RadioButton71024x768Click);
    RadioButton81152x864.OnClick = on(&SetupDialog::RadioButton81152x864Click);
    RadioButton91280x1024.OnClick = on(&SetupDialog::RadioButton91280x1024Click);
    RadioButton13desktop.OnClick = on(&SetupDialog::RadioButton13desktopClick);
    for (TRadioButton* mode : {&RadioButton6800x600, &RadioButton71024x768, &RadioButton81152x864,
                               &RadioButton91280x1024, &RadioButton13desktop}) {
        mode->OnMouseUp = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
            ResetClockAfterModeChoice(sender, button, shift, x, y);
        };
    }
    RadioButton10_16.OnClick = on(&SetupDialog::RadioButton10_16Click);
    RadioButton11_24.OnClick = on(&SetupDialog::RadioButton11_24Click);
    RadioButton12_32.OnClick = on(&SetupDialog::RadioButton12_32Click);
    TrackBar1.OnChange = on(&SetupDialog::TrackBar1Change);

    for (TRadioButton* choice : {&RadioButton1, &RadioButton2, &RadioButton3})
        choice->OnClick = on(&SetupDialog::TakeDaytimeChoice);
    ComboBox1.OnChange = on(&SetupDialog::ComboBox1Change);
    CheckBox4.OnClick = on(&SetupDialog::CheckBox4Click);
    CheckBox3.OnClick = on(&SetupDialog::CheckBox3Click);
    CheckBox5.OnClick = on(&SetupDialog::CheckBox5Click);

    CheckBox3Showclock.OnClick = on(&SetupDialog::CheckBox3ShowclockClick);
    Button1.OnClick = on(&SetupDialog::Button1Click);
    PanelColor.OnClick = on(&SetupDialog::Button1Click);
    for (TEdit* edit : {&Edit1X, &EditY, &Edit3R}) {
        edit->OnKeyPress = [this](TObject* sender, char& key) { Edit1XKeyPress(sender, key); };
    }
    Edit1X.OnExit = on(&SetupDialog::Edit1XExit);
    EditY.OnExit = on(&SetupDialog::EditYExit);
    Edit3R.OnExit = on(&SetupDialog::Edit3RExit);
}

void SetupDialog::FormCreate(TObject*) {
    ProbeDisplayModes(FVideoModes, 0);
    FGammaSupported = ProbeGammaSupport(0);
    ShowGammaSupport();
    FillCityList();
    // Values a damaged key cannot give keep their first-run defaults, so
    // that "OK" never writes a value nobody chose; the controls show them
    // either way.
    FSettings = FirstRunDefaults(ReadDesktopMode());
    try {
        LoadSettings(store_, FSettings, LoadVariant::Dialog, 0);
    } catch (...) {
        RefreshControls();
        throw;
    }
    RefreshControls();
}

void SetupDialog::ShowGammaSupport() {
    TrackBar1.Enabled = FGammaSupported;
    const TColor text = FGammaSupported ? clWindowText : clInactiveCaption;
    for (TLabel* label : {&LabelDarken, &LabelLighten, &LabelGammaNote}) label->Font.Color = text;
}

void SetupDialog::FillCityList() {
    ComboBox1.Items.clear();
    ComboBox1.Items.reserve(CityCount);
    for (int position = 0; position < CityCount; ++position) {
        ComboBox1.Items.emplace_back(CityAt(position)->Name());
    }
    ComboBox1.SetItemIndex(0);
}

void SetupDialog::RefreshControls() {
    CheckBox1PlaySound.SetChecked(FSettings.flag_PlaySound);
    CheckBox2ShowFPS.SetChecked(FSettings.flag_fps);
    (FSettings.TermMouse ? RadioButton3KeyMouse : RadioButton4Key).SetChecked(true);
    if (FSettings.SetSpeed == 0) {
        RadioButton1Slow.SetChecked(true);
    } else if (FSettings.SetSpeed == 2) {
        RadioButton5Fast.SetChecked(true);
    } else {
        RadioButton2Normal.SetChecked(true);
    }
    RxSpinEdit1.SetValue(FSettings.NumBirds);
    CheckBox1.SetChecked(FSettings.FlagShowDolphins);
    CheckBox2.SetChecked(FSettings.FlagShowYacht);

    UpdateVideoModeAvailability();
    TRadioButton* resolution = &RadioButton13desktop;
    if (!FSettings.flag_defres) {
        switch (FSettings.ResHor) {
        case 800:
            resolution = &RadioButton6800x600;
            break;
        case 1024:
            resolution = &RadioButton71024x768;
            break;
        case 1152:
            resolution = &RadioButton81152x864;
            break;
        case 1280:
            resolution = &RadioButton91280x1024;
            break;
        default:
            break;
        }
    }
    resolution->SetChecked(true);
    if (resolution != &RadioButton13desktop) {
        switch (FSettings.ColorDepth) {
        case 16:
            RadioButton10_16.SetChecked(true);
            break;
        case 24:
            RadioButton11_24.SetChecked(true);
            break;
        case 32:
            RadioButton12_32.SetChecked(true);
            break;
        default:
            break;
        }
    }
    if (RadioButton13desktop.Checked()) {
        FSettings.flag_defres = true;
        for (TRadioButton* depth : {&RadioButton10_16, &RadioButton11_24, &RadioButton12_32})
            depth->Enabled = false;
    }
    if (FGammaSupported) TrackBar1.SetPosition(FSettings.Gamma);

    RefreshClockPage();
    RefreshTimeOfDayPage();
}

void SetupDialog::RefreshClockPage() {
    CheckBox3Showclock.SetChecked(FSettings.flag_clock);
    EnableClockControls(CheckBox3Showclock.Checked());
    ShowClockPlacement();
    PanelColor.Color = TColor(FSettings.ColorClock);
}

void SetupDialog::RefreshTimeOfDayPage() {
    TRadioButton& choice = FSettings.FlagDaytime       ? RadioButton3
                           : FSettings.FlagDemoDaytime ? RadioButton2
                                                       : RadioButton1;
    choice.SetChecked(true);
    ApplyTimeOfDayChoice();
    CheckBox3.SetChecked(FSettings.FlagShowSimulateTime);
    CheckBox5.SetChecked(FSettings.ShowRisSet);
    ComboBox1.SetItemIndex(FSettings.IndexCity);
    CheckBox4.SetChecked(FSettings.FlagDaylightSavingTime);
    ShowSunTimes();
}

void SetupDialog::Button1OKClick(TObject*) {
    WriteAllSettings(store_, FSettings);
    // Writes go nowhere when the key cannot be made at all; that must not
    // look like a saved dialog.
    bool stored = false;
    if (!store_.Read("flag_clock", &stored)) throw SettingsStoreError("Failed to set data for 'flag_clock'");
    Close();
}

void SetupDialog::Button1CancelClick(TObject*) { Close(); }

void SetupDialog::Button1DefaultClick(TObject*) {
    const bool showRisSet = FSettings.ShowRisSet;
    FSettings = FirstRunDefaults(ReadDesktopMode());
    FSettings.ShowRisSet = showRisSet;
    if (const auto city = CityAt(0)) {
        FSettings.RegLat = city->Latitude();
        FSettings.RegLng = city->Longitude();
        FSettings.RegOfUTC = city->Offset();
    }
    RefreshControls();
}

void SetupDialog::Label3Click(TObject*) {
    const std::string readme = platform::ProgramReadme();
    ShellExecuteA(0, "open", readme.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void SetupDialog::Label5Click(TObject*) {
    ShellExecuteA(0, "open", "mailto:?subject=Tideway%20Islands", nullptr, nullptr, SW_SHOWNORMAL);
}

void SetupDialog::CheckBox1PlaySoundClick(TObject*) {
    FSettings.flag_PlaySound = CheckBox1PlaySound.Checked();
}
void SetupDialog::CheckBox2ShowFPSClick(TObject*) { FSettings.flag_fps = CheckBox2ShowFPS.Checked(); }
void SetupDialog::TakeEndingStyle(TObject*) { FSettings.TermMouse = RadioButton3KeyMouse.Checked(); }

void SetupDialog::RadioButton1SlowClick(TObject*) {
    if (RadioButton1Slow.Checked()) FSettings.SetSpeed = 0;
}

void SetupDialog::RadioButton2NormalClick(TObject*) {
    if (RadioButton2Normal.Checked()) FSettings.SetSpeed = 1;
}

void SetupDialog::RadioButton5FastClick(TObject*) {
    if (RadioButton5Fast.Checked()) FSettings.SetSpeed = 2;
}

void SetupDialog::RxSpinEdit1Change(TObject*) { FSettings.NumBirds = int(std::trunc(RxSpinEdit1.Value())); }
void SetupDialog::CheckBox1Click(TObject*) { FSettings.FlagShowDolphins = CheckBox1.Checked(); }
void SetupDialog::CheckBox2Click(TObject*) { FSettings.FlagShowYacht = CheckBox2.Checked(); }

void SetupDialog::RadioButton6800x600Click(TObject*) { SelectFixedMode(800, 600); }
void SetupDialog::RadioButton71024x768Click(TObject*) { SelectFixedMode(1024, 768); }
void SetupDialog::RadioButton81152x864Click(TObject*) { SelectFixedMode(1152, 864); }
void SetupDialog::RadioButton91280x1024Click(TObject*) { SelectFixedMode(1280, 1024); }

void SetupDialog::RadioButton13desktopClick(TObject*) {
    const DesktopMode desktop = ReadDesktopMode();
    FSettings.ResHor = desktop.width;
    FSettings.ResVert = desktop.height;
    FSettings.ColorDepth = desktop.bitsPerPixel;
    FSettings.flag_defres = true;
    for (TRadioButton* depth : {&RadioButton10_16, &RadioButton11_24, &RadioButton12_32})
        depth->Enabled = false;
}

void SetupDialog::ResetClockAfterModeChoice(TObject*, TMouseButton, TShiftState, int, int) {
    ResetClockPlacement();
}

void SetupDialog::RadioButton10_16Click(TObject*) { FSettings.ColorDepth = 16; }
void SetupDialog::RadioButton11_24Click(TObject*) { FSettings.ColorDepth = 24; }
void SetupDialog::RadioButton12_32Click(TObject*) { FSettings.ColorDepth = 32; }
void SetupDialog::TrackBar1Change(TObject*) { FSettings.Gamma = TrackBar1.Position(); }

void SetupDialog::TakeDaytimeChoice(TObject*) { ApplyTimeOfDayChoice(); }

void SetupDialog::ComboBox1Change(TObject*) {
    // Typed text that names no city leaves the chosen city as it was.
    if (ComboBox1.ItemIndex() < 0) return;
    SelectCity();
    FSettings.IndexCity = ComboBox1.ItemIndex();
}

void SetupDialog::CheckBox4Click(TObject*) {
    FSettings.FlagDaylightSavingTime = CheckBox4.Checked();
    SelectCity();
}

void SetupDialog::CheckBox3Click(TObject*) { FSettings.FlagShowSimulateTime = CheckBox3.Checked(); }
void SetupDialog::CheckBox5Click(TObject*) { FSettings.ShowRisSet = CheckBox5.Checked(); }

void SetupDialog::CheckBox3ShowclockClick(TObject*) {
    FSettings.flag_clock = CheckBox3Showclock.Checked();
    EnableClockControls(FSettings.flag_clock);
    PanelColor.Color = FSettings.flag_clock ? TColor(FSettings.ColorClock) : clMenu;
}

void SetupDialog::Button1Click(TObject*) {
    if (!ColorDialog1.Execute()) return;
    FSettings.ColorClock = int(ColorDialog1.Color);
    PanelColor.Color = ColorDialog1.Color;
}

void SetupDialog::Edit1XKeyPress(TObject*, char& Key) {
    if (Key < '0' || Key > '9') Key = 0;
}

void SetupDialog::Edit1XExit(TObject*) {
    FSettings.clockX = LimitClockCentre(LeadingInteger(Edit1X.Text()), FSettings.clockRad, FSettings.ResHor);
    Edit1X.SetText(std::to_string(FSettings.clockX));
}

void SetupDialog::EditYExit(TObject*) {
    FSettings.clockY = LimitClockCentre(LeadingInteger(EditY.Text()), FSettings.clockRad, FSettings.ResVert);
    EditY.SetText(std::to_string(FSettings.clockY));
}

void SetupDialog::Edit3RExit(TObject*) {
    FSettings.clockRad = LimitClockRadius(LeadingInteger(Edit3R.Text()), FSettings.ResVert);
    FSettings.clockX = LimitClockCentre(FSettings.clockX, FSettings.clockRad, FSettings.ResHor);
    FSettings.clockY = LimitClockCentre(FSettings.clockY, FSettings.clockRad, FSettings.ResVert);
    ShowClockPlacement();
}

void SetupDialog::SelectFixedMode(int width, int height) {
    FSettings.ResHor = width;
    FSettings.ResVert = height;
    FSettings.flag_defres = false;
    UpdateVideoModeAvailability();
}

void SetupDialog::UpdateVideoModeAvailability() {
    // A size without a 16-bit mode cannot be chosen; nothing here enables
    // one again.
    const struct {
        TRadioButton* option;
        int width;
        int height;
    } resolutions[] = {{&RadioButton6800x600, 800, 600},
                       {&RadioButton71024x768, 1024, 768},
                       {&RadioButton81152x864, 1152, 864},
                       {&RadioButton91280x1024, 1280, 1024}};
    for (const auto& resolution : resolutions) {
        if (!FVideoModes.Available(resolution.width, resolution.height, 16))
            resolution.option->Enabled = false;
    }
    // The depth options follow the smallest size, whatever size is chosen.
    RadioButton10_16.Enabled = FVideoModes.Available(800, 600, 16);
    RadioButton11_24.Enabled = FVideoModes.Available(800, 600, 24);
    RadioButton12_32.Enabled = FVideoModes.Available(800, 600, 32);
}

void SetupDialog::ResetClockPlacement() {
    const ClockPlacement corner = CornerClockPlacement(FSettings.ResHor);
    FSettings.clockRad = corner.radius;
    FSettings.clockX = corner.x;
    FSettings.clockY = corner.y;
    ShowClockPlacement();
}

void SetupDialog::EnableClockControls(bool enabled) {
    for (TControl* control : std::initializer_list<TControl*>{&LabelXCenter, &Edit1X, &LabelYCenter, &EditY,
                                                              &PanelColor, &Button1, &LabelRadius, &Edit3R}) {
        control->Enabled = enabled;
    }
}

void SetupDialog::ShowClockPlacement() {
    Edit1X.SetText(std::to_string(FSettings.clockX));
    EditY.SetText(std::to_string(FSettings.clockY));
    Edit3R.SetText(std::to_string(FSettings.clockRad));
}

void SetupDialog::ApplyTimeOfDayChoice() {
    FSettings.FlagDemoDaytime = RadioButton2.Checked();
    FSettings.FlagDaytime = RadioButton3.Checked();
}

void SetupDialog::SelectCity() {
    const auto city = CityAt(ComboBox1.ItemIndex());
    if (!city) return;
    FSettings.RegLat = city->Latitude();
    FSettings.RegLng = city->Longitude();
    FSettings.RegOfUTC = city->Offset();
    ShowSunTimes();
}

void SetupDialog::ShowSunTimes() {
    const auto city = CityAt(ComboBox1.ItemIndex());
    if (!city) {
        LabelSunrise.Caption.clear();
        LabelSunset.Caption.clear();
        return;
    }
    const SunTimes sun = TodaysSunTimes(city->Offset(), city->Latitude(), city->Longitude(),
                                        FSettings.FlagDaylightSavingTime, PolarNotice::Shown);
    FSunrise = sun.sunrise;
    FSunset = sun.sunset;
    LabelSunrise.Caption = FormatHours(FSunrise);
    LabelSunset.Caption = FormatHours(FSunset);
}

void RunSetupDialog() {
    std::string error;
    if (!platform::OpenDialogDisplay(&error)) {
        MessageBoxA(0, ("The settings dialog needs a display: " + error).c_str(), "Screen saver",
                    MB_OK | MB_ICONERROR);
        return;
    }
    SetupDialog form(Application);
    platform::DialogWindow window(form);
    window.Run();
}
