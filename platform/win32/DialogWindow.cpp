// Dialog forms in the system's own controls. The form's window and each tab
// sheet are dialogs made from empty in-memory templates, so the dialog
// manager gives them Tab order, Return, Esc and Alt+letters; each control
// becomes its native window, laid out in its parent's grid at the window's
// DPI. After every user action the windows are brought in line with the
// controls' state again ("mirrored"), so whatever a handler changed shows.
#include "platform/forms/DialogWindow.h"

#include "platform/forms/DialogToolkit.h"
#include "platform/win32/ComScope.h"
#include "platform/win32/DialogColors.h"
#include "platform/win32/DialogLayout.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {
namespace {

using win32::CellBox;
using win32::ColorOf;
using win32::GridCell;
using win32::GridLayout;

constexpr int kBaseDpi = 96;
constexpr int kFontPoints = 9;
constexpr int kFormMargin = 10;
constexpr int kPageMargin = 8;
constexpr int kColumnGap = 12;
constexpr int kRowGap = 6;
constexpr int kFirstControlId = 100;
// Posted once the window is on the screen: the form's OnShown runs when the
// loop takes it, after the window system has been told to show the window.
constexpr UINT kShownMessage = WM_APP + 1;

struct GdiDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using GdiHandle = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiDeleter>;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// The window's DPI where the system tells it per monitor, else the screen's.
int DpiOf(HWND window) {
    using GetDpiForWindowEntry = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowEntry>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow"));
    if (getDpiForWindow != nullptr && window != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) return int(dpi);
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

std::string WindowText(HWND window) {
    std::string text(std::size_t(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(std::size_t(GetWindowTextA(window, text.data(), int(text.size()))));
    return text;
}

// An in-memory dialog template without controls: the dialog manager's
// keyboard handling around windows the view makes itself.
std::vector<WORD> EmptyDialogTemplate(DWORD style, const std::string& caption) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = style;
    words.push_back(0);  // no menu
    words.push_back(0);  // the standard dialog class
    for (const char character : caption) words.push_back(WORD(static_cast<unsigned char>(character)));
    words.push_back(0);
    return words;
}

// The leading digits of a number box's text; false when it starts with none.
bool LeadingDigits(const std::string& text, int* value) {
    std::size_t index = 0;
    while (index < text.size() && text[index] == ' ') ++index;
    if (index >= text.size() || text[index] < '0' || text[index] > '9') return false;
    long long number = 0;
    for (; index < text.size() && text[index] >= '0' && text[index] <= '9'; ++index) {
        number = std::min(number * 10 + (text[index] - '0'), 1000000000LL);
    }
    *value = int(number);
    return true;
}

bool TakesInput(const TControl& control) {
    return VisitControl(
        control, [](const TEdit&) { return true; }, [](const TSpinEdit&) { return true; },
        [](const TComboBox&) { return true; }, [](const TControl&) { return false; });
}

// A text that names the box after it: Alt+its letter goes to the box.
bool NamesNextInput(const TLabel& label) {
    if (label.Parent() == nullptr) return false;
    const std::vector<TControl*>& siblings = label.Parent()->Controls();
    const auto self = std::find(siblings.begin(), siblings.end(), &label);
    return self != siblings.end() && self + 1 != siblings.end() && TakesInput(**(self + 1));
}

bool TakesMnemonic(const TControl& control) {
    return VisitControl(
        control, [](const TButton&) { return true; }, [](const TCheckBox&) { return true; },
        [](const TRadioButton&) { return true; }, [](const TLabel& label) { return NamesNextInput(label); },
        [](const TControl&) { return false; });
}

bool IsOption(const TControl& control) {
    return VisitControl(
        control, [](const TRadioButton&) { return true; }, [](const TControl&) { return false; });
}

// The shown caption of every control that takes an Alt+letter: the form's
// own controls choose first, then each tab sheet among the letters left.
std::map<const TControl*, std::string> MnemonicCaptions(const TDialogForm& form) {
    std::vector<const TControl*> formControls;
    // A deque: a sheet's list stays where it is while sheets within it are added.
    std::deque<std::vector<const TControl*>> sheets;
    std::function<void(const TControl&, std::vector<const TControl*>&)> collect =
        [&](const TControl& control, std::vector<const TControl*>& surface) {
            if (TakesMnemonic(control)) surface.push_back(&control);
            VisitControl(
                control,
                [&](const TWinControl& container) {
                    for (const TControl* child : container.Controls()) {
                        VisitControl(
                            *child,
                            [&](const TTabSheet& sheet) {
                                sheets.emplace_back();
                                collect(sheet, sheets.back());
                            },
                            [&](const TControl& other) { collect(other, surface); });
                    }
                },
                [](const TControl&) {});
        };
    collect(form, formControls);
    std::map<const TControl*, std::string> captions;
    std::set<char> formLetters;
    for (const TControl* control : formControls)
        captions[control] = win32::WithMnemonic(control->Caption, formLetters);
    for (const auto& sheet : sheets) {
        std::set<char> letters = formLetters;
        for (const TControl* control : sheet)
            captions[control] = win32::WithMnemonic(control->Caption, letters);
    }
    return captions;
}

}  // namespace

class Win32DialogView final : public DialogView {
public:
    Win32DialogView(TDialogForm& form, HWND owner);
    ~Win32DialogView() override;
    Win32DialogView(const Win32DialogView&) = delete;
    Win32DialogView& operator=(const Win32DialogView&) = delete;

    void Show() override;
    void Run() override;

private:
    // What the view keeps of one control.
    struct ShownControl {
        explicit ShownControl(TControl& shown) : control(shown) {}

        TControl& control;
        // The caption with its Alt+letter marked, for a control that takes one.
        std::optional<std::string> mnemonicCaption;
        HWND window = nullptr;  // none for a panel that only lays out others
        HWND spin = nullptr;    // the up-down beside a number box
        // Takes the window's notification code of WM_COMMAND, or its request of WM_HSCROLL.
        std::function<void(UINT code)> command;
        std::function<void(const NMHDR& header)> notice;
        // Brings the window in line with what the control holds beyond Enabled.
        std::function<void()> mirror;
        GdiHandle picture;  // an image's bitmap
        std::string typed;  // what the user typed, in a combo box
    };

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data);
    INT_PTR Handle(HWND surface, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleEdit(TEdit& edit, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The background of a static control, its text colour set in `context`;
    // nothing where the system's own colours show.
    std::optional<COLORREF> StaticColors(const TControl& control, HDC context) const;
    void DrawOpaqueLabel(const TLabel& label, const DRAWITEMSTRUCT& item);

    // Runs a user's action on the controls as the framework's message loop
    // would: an error goes to the application's error box. Then the windows
    // show the controls' new state. An action never runs inside another one
    // (a message box's own loop).
    void Dispatch(const std::function<void()>& action);
    void MirrorAll();
    void Present();
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages.
    bool TurnsPage(const MSG& message);

    // A record for each control within `container`, each before its own controls.
    void KeepRecords(TWinControl& container);
    ShownControl& ShownOf(const TControl& control) { return *byControl_.at(&control); }
    const ShownControl& ShownOf(const TControl& control) const { return *byControl_.at(&control); }
    // The control a window of the view shows; null for any other window.
    ShownControl* ShownIn(HWND window) const;
    const std::string& ShownCaption(const TControl& control) const;

    HWND MakeDialog(DWORD style, const std::string& caption, HWND parent);
    HWND MakeControl(TControl& control, HWND surface, const char* windowClass, const std::string& text,
                     DWORD style, DWORD exStyle = 0);
    void Subclass(HWND window);
    // Up and down buttons that step the number in `box`, the window of `control`.
    HWND MakeUpDown(TControl& control, HWND surface, HWND box, int minimum, int maximum);
    void Build(TControl& control, HWND surface);
    void BuildChildren(TWinControl& container, HWND surface);
    void BuildPages(TPageControl& pages, HWND surface);
    void BuildGroupBox(TGroupBox& group, HWND surface);
    void BuildLabel(TLabel& label, HWND surface);
    void BuildButton(TButton& button, HWND surface);
    void BuildCheckBox(TCheckBox& box, HWND surface);
    void BuildRadioButton(TRadioButton& option, HWND surface);
    void BuildSwatch(TPanel& panel, HWND surface);
    void BuildImage(TImage& image, HWND surface);
    void ShowPicture(const TImage& image, ShownControl& shown);
    void BuildEdit(TEdit& edit, HWND surface);
    void BuildSpinEdit(TSpinEdit& spin, HWND surface);
    void BuildTrackBar(TTrackBar& track, HWND surface);
    void BuildComboBox(TComboBox& combo, HWND surface);
    void ComboTyped(TComboBox& combo, ShownControl& shown);

    // Sizes at the window's DPI.
    int Scaled(int pixels) const { return MulDiv(pixels, dpi_, kBaseDpi); }
    void MakeFonts();
    HFONT FontOf(const TControl& control) const;
    SIZE TextSize(const TControl& control, const std::string& text, UINT format) const;
    SIZE Measure(const TControl& control) const;
    SIZE MeasurePages(const TPageControl& pages) const;
    SIZE MeasureGrid(const TWinControl& container) const;
    CellBox Insets(const TControl& control) const;
    void Place(TControl& control, const CellBox& box);
    void PlacePages(TPageControl& pages, const CellBox& box);
    void MoveShown(const ShownControl& shown, const CellBox& box);
    void PlaceGrid(TWinControl& container, const CellBox& area);
    // Lays the form out and sizes its window to it, centred on `around`.
    void Layout(const RECT* around);
    void ShowPage(TPageControl& pages);

    // The shell's handlers behind the form's links want COM on the thread
    // that asks them, for as long as the dialog can.
    win32::ComScope com_;
    TDialogForm& form_;
    HWND owner_;
    HWND window_ = nullptr;
    int dpi_ = kBaseDpi;
    GdiHandle font_;
    GdiHandle boldFont_;
    std::map<COLORREF, GdiHandle> brushes_;
    // Every control within the form, each before its own controls, and
    // where to find one by control and by window.
    std::deque<ShownControl> shown_;
    std::map<const TControl*, ShownControl*> byControl_;
    std::map<HWND, ShownControl*> byWindow_;
    std::vector<std::vector<WORD>> templates_;
    TPageControl* pages_ = nullptr;
    TButton* defaultButton_ = nullptr;
    TButton* cancelButton_ = nullptr;
    int nextId_ = kFirstControlId;
    bool mirroring_ = false;
    bool dispatching_ = false;
    bool layoutDue_ = false;
    bool shownAnnounced_ = false;  // the form's OnShown has run
};

Win32DialogView::Win32DialogView(TDialogForm& form, HWND owner) : form_(form), owner_(owner) {
    KeepRecords(form_);
    for (auto& [control, caption] : MnemonicCaptions(form_))
        ShownOf(*control).mnemonicCaption = std::move(caption);
    window_ = MakeDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN, form_.Caption,
                         owner_);
    dpi_ = DpiOf(window_);
    MakeFonts();
    const auto icon = reinterpret_cast<LPARAM>(LoadIconA(Instance(), MAKEINTRESOURCEA(1)));
    SendMessageA(window_, WM_SETICON, ICON_BIG, icon);
    SendMessageA(window_, WM_SETICON, ICON_SMALL, icon);
    // The form's message boxes belong to the dialog, which takes no input
    // while one shows.
    form_.AttachWindow(window_);
    BuildChildren(form_, window_);
    if (defaultButton_ != nullptr) SendMessageA(window_, DM_SETDEFID, IDOK, 0);
    MirrorAll();
    RECT area{};
    if (owner_ != nullptr && IsWindowVisible(owner_)) {
        GetWindowRect(owner_, &area);
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        POINT cursor{};
        GetCursorPos(&cursor);
        GetMonitorInfoA(MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &monitor);
        area = monitor.rcWork;
    }
    Layout(&area);
}

Win32DialogView::~Win32DialogView() {
    form_.AttachWindow(nullptr);
    if (window_ != nullptr) {
        SetWindowLongPtrA(window_, DWLP_USER, 0);
        DestroyWindow(window_);
    }
}

HWND Win32DialogView::MakeDialog(DWORD style, const std::string& caption, HWND parent) {
    templates_.push_back(EmptyDialogTemplate(style, caption));
    const HWND dialog =
        CreateDialogIndirectParamA(Instance(), reinterpret_cast<const DLGTEMPLATE*>(templates_.back().data()),
                                   parent, &Win32DialogView::DialogProc, reinterpret_cast<LPARAM>(this));
    if (dialog == nullptr) throw std::runtime_error("Cannot create the dialog window");
    return dialog;
}

void Win32DialogView::KeepRecords(TWinControl& container) {
    for (TControl* child : container.Controls()) {
        ShownControl& shown = shown_.emplace_back(*child);
        byControl_[child] = &shown;
        VisitControl(
            *child, [this](TWinControl& inner) { KeepRecords(inner); }, [](TControl&) {});
    }
}

Win32DialogView::ShownControl* Win32DialogView::ShownIn(HWND window) const {
    const auto found = byWindow_.find(window);
    return found != byWindow_.end() ? found->second : nullptr;
}

const std::string& Win32DialogView::ShownCaption(const TControl& control) const {
    const auto found = byControl_.find(&control);
    return found != byControl_.end() && found->second->mnemonicCaption ? *found->second->mnemonicCaption
                                                                       : control.Caption;
}

HWND Win32DialogView::MakeControl(TControl& control, HWND surface, const char* windowClass,
                                  const std::string& text, DWORD style, DWORD exStyle) {
    const int id = &control == defaultButton_ ? IDOK : &control == cancelButton_ ? IDCANCEL : nextId_++;
    const HWND window =
        CreateWindowExA(exStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                        surface, reinterpret_cast<HMENU>(INT_PTR(id)), Instance(), nullptr);
    if (window == nullptr)
        throw std::runtime_error(std::string("Cannot create a control of class ") + windowClass);
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(control)), FALSE);
    ShownControl& shown = ShownOf(control);
    shown.window = window;
    byWindow_[window] = &shown;
    return window;
}

void Win32DialogView::Subclass(HWND window) {
    SetWindowSubclass(window, &Win32DialogView::ControlProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

HWND Win32DialogView::MakeUpDown(TControl& control, HWND surface, HWND box, int minimum, int maximum) {
    const HWND spin = CreateWindowExA(
        0, UPDOWN_CLASSA, "",
        WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | UDS_HOTTRACK, 0, 0, 0, 0,
        surface, nullptr, Instance(), nullptr);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(box), 0);
    SendMessageA(spin, UDM_SETRANGE32, WPARAM(minimum), LPARAM(maximum));
    ShownOf(control).spin = spin;
    return spin;
}

void Win32DialogView::MakeFonts() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTA face = metrics.lfMessageFont;
    face.lfHeight = -MulDiv(kFontPoints, dpi_, 72);
    face.lfWidth = 0;
    face.lfWeight = FW_NORMAL;
    font_.reset(CreateFontIndirectA(&face));
    face.lfWeight = FW_BOLD;
    boldFont_.reset(CreateFontIndirectA(&face));
}

HFONT Win32DialogView::FontOf(const TControl& control) const {
    return static_cast<HFONT>(control.Font.Bold ? boldFont_.get() : font_.get());
}

// --- Building ----------------------------------------------------------------

void Win32DialogView::BuildChildren(TWinControl& container, HWND surface) {
    for (TControl* child : container.Controls()) {
        VisitControl(
            *child,
            [this](TButton& button) {
                if (button.Default) defaultButton_ = &button;
                if (button.Cancel) cancelButton_ = &button;
            },
            [](TControl&) {});
    }
    for (TControl* child : container.Controls()) Build(*child, surface);
}

void Win32DialogView::Build(TControl& control, HWND surface) {
    VisitControl(
        control, [&](TPageControl& pages) { BuildPages(pages, surface); },
        [&](TGroupBox& group) { BuildGroupBox(group, surface); },
        [&](TPanel& panel) {
            if (panel.Controls().empty()) {
                BuildSwatch(panel, surface);
            } else {
                BuildChildren(panel, surface);
            }
        },
        [&](TLabel& label) { BuildLabel(label, surface); },
        [&](TButton& button) { BuildButton(button, surface); },
        [&](TCheckBox& box) { BuildCheckBox(box, surface); },
        [&](TRadioButton& option) { BuildRadioButton(option, surface); },
        [&](TImage& image) { BuildImage(image, surface); }, [&](TEdit& edit) { BuildEdit(edit, surface); },
        [&](TSpinEdit& spin) { BuildSpinEdit(spin, surface); },
        [&](TTrackBar& track) { BuildTrackBar(track, surface); },
        [&](TComboBox& combo) { BuildComboBox(combo, surface); },
        [&](TWinControl& container) { BuildChildren(container, surface); });
}

void Win32DialogView::BuildPages(TPageControl& pages, HWND surface) {
    pages_ = &pages;
    const HWND tabs =
        MakeControl(pages, surface, WC_TABCONTROLA, "", WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS);
    int index = 0;
    for (TTabSheet* sheet : pages.Sheets()) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        std::string caption = sheet->Caption;
        item.pszText = caption.data();
        SendMessageA(tabs, TCM_INSERTITEMA, WPARAM(index++), reinterpret_cast<LPARAM>(&item));
        const HWND page = MakeDialog(WS_CHILD | DS_CONTROL, "", surface);
        // Above the tabs, which would draw their face over it, and so
        // before them in Tab order.
        const HWND before = GetWindow(tabs, GW_HWNDPREV);
        SetWindowPos(page, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ShownControl& shownSheet = ShownOf(*sheet);
        shownSheet.window = page;
        byWindow_[page] = &shownSheet;
        BuildChildren(*sheet, page);
    }
    ShownControl& shown = ShownOf(pages);
    shown.notice = [this, &pages, tabs](const NMHDR& header) {
        if (header.code != TCN_SELCHANGE) return;
        const int selected = int(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
        Dispatch([&pages, selected] { pages.ActivePageIndex = selected; });
    };
    shown.mirror = [this, &pages, tabs, shownIndex = -1]() mutable {
        if (pages.ActivePageIndex == shownIndex) return;
        shownIndex = pages.ActivePageIndex;
        SendMessageA(tabs, TCM_SETCURSEL, WPARAM(shownIndex), 0);
        ShowPage(pages);
    };
}

void Win32DialogView::ShowPage(TPageControl& pages) {
    int index = 0;
    for (const TTabSheet* sheet : pages.Sheets()) {
        ShowWindow(ShownOf(*sheet).window, index++ == pages.ActivePageIndex ? SW_SHOW : SW_HIDE);
    }
}

void Win32DialogView::BuildGroupBox(TGroupBox& group, HWND surface) {
    MakeControl(group, surface, WC_BUTTONA, win32::WithoutMnemonic(group.Caption), BS_GROUPBOX | WS_GROUP);
    BuildChildren(group, surface);
}

void Win32DialogView::BuildLabel(TLabel& label, HWND surface) {
    ShownControl& shown = ShownOf(label);
    if (label.OnClick) {
        MakeControl(label, surface, "SysLink", "<a>" + label.Caption + "</a>", WS_TABSTOP | WS_GROUP);
        shown.notice = [this, &label](const NMHDR& header) {
            if (header.code == NM_CLICK || header.code == NM_RETURN) Dispatch([&label] { label.Click(); });
        };
        return;
    }
    const bool named = shown.mnemonicCaption.has_value();
    DWORD style = WS_GROUP | (named ? 0 : SS_NOPREFIX);
    if (!label.Transparent) {
        style |= SS_OWNERDRAW;
    } else if (label.Alignment == TAlignment::taRightJustify) {
        style |= SS_RIGHT;
    } else if (label.Alignment == TAlignment::taCenter) {
        style |= SS_CENTER;
    }
    const HWND text = MakeControl(label, surface, WC_STATICA, ShownCaption(label), style);
    shown.mirror = [this, &label, text, named, shownCaption = label.Caption,
                    shownColor = label.Font.Color]() mutable {
        if (!named && label.Caption != shownCaption) {
            shownCaption = label.Caption;
            SetWindowTextA(text, shownCaption.c_str());
            layoutDue_ = true;
        }
        if (label.Font.Color != shownColor) {
            shownColor = label.Font.Color;
            InvalidateRect(text, nullptr, TRUE);
        }
    };
}

void Win32DialogView::BuildButton(TButton& button, HWND surface) {
    const DWORD style = WS_TABSTOP | WS_GROUP | (button.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    const HWND window = MakeControl(button, surface, WC_BUTTONA, ShownCaption(button), style);
    ShownOf(button).command = [this, &button, window](UINT code) {
        if (code != BN_CLICKED) return;
        // Return presses the default button wherever the focus is: the box
        // being left must have its say first, as after a click.
        if (GetFocus() != window) SetFocus(window);
        Dispatch([&button] { button.Click(); });
    };
}

void Win32DialogView::BuildCheckBox(TCheckBox& box, HWND surface) {
    const HWND window =
        MakeControl(box, surface, WC_BUTTONA, ShownCaption(box), BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP);
    ShownControl& shown = ShownOf(box);
    shown.command = [this, &box, window](UINT code) {
        if (code != BN_CLICKED) return;
        const bool checked = SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
        Dispatch([&box, checked] { box.SetChecked(checked); });
    };
    shown.mirror = [&box, window] {
        const bool checked = SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (checked != box.Checked())
            SendMessageA(window, BM_SETCHECK, box.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    };
}

void Win32DialogView::BuildRadioButton(TRadioButton& option, HWND surface) {
    // The options of one parent are one group: Tab reaches the group, the
    // arrow keys move within it.
    const std::vector<TControl*>& siblings = option.Parent()->Controls();
    const auto self = std::find(siblings.begin(), siblings.end(), &option);
    const bool firstOfGroup = self == siblings.begin() || !IsOption(**(self - 1));
    const DWORD style = BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0);
    const HWND window = MakeControl(option, surface, WC_BUTTONA, ShownCaption(option), style);
    Subclass(window);
    ShownControl& shown = ShownOf(option);
    shown.command = [this, &option, window](UINT code) {
        if (code != BN_CLICKED || SendMessageA(window, BM_GETCHECK, 0, 0) != BST_CHECKED) return;
        Dispatch([&option] { option.SetChecked(true); });
    };
    shown.mirror = [&option, window] {
        const bool checked = SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (checked != option.Checked())
            SendMessageA(window, BM_SETCHECK, option.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    };
}

void Win32DialogView::BuildSwatch(TPanel& panel, HWND surface) {
    const DWORD exStyle = panel.BevelOuter == TBevelCut::bvLowered  ? WS_EX_STATICEDGE
                          : panel.BevelOuter == TBevelCut::bvRaised ? WS_EX_DLGMODALFRAME
                                                                    : 0;
    const HWND window = MakeControl(panel, surface, WC_STATICA, "", SS_NOTIFY, exStyle);
    ShownControl& shown = ShownOf(panel);
    shown.command = [this, &panel](UINT code) {
        if (code == STN_CLICKED) Dispatch([&panel] { panel.Click(); });
    };
    shown.mirror = [&panel, window, shownColor = TColor(~panel.Color)]() mutable {
        if (shownColor == panel.Color) return;
        shownColor = panel.Color;
        InvalidateRect(window, nullptr, TRUE);
    };
}

void Win32DialogView::BuildImage(TImage& image, HWND surface) {
    MakeControl(image, surface, WC_STATICA, "", SS_BITMAP | SS_CENTERIMAGE);
    ShowPicture(image, ShownOf(image));
}

// The picture at the window's DPI.
void Win32DialogView::ShowPicture(const TImage& image, ShownControl& shown) {
    shown.picture.reset(LoadImageA(Instance(), image.ResourceName.c_str(), IMAGE_BITMAP, Scaled(image.Width),
                                   Scaled(image.Height), LR_CREATEDIBSECTION));
    SendMessageA(shown.window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown.picture.get()));
}

void Win32DialogView::BuildEdit(TEdit& edit, HWND surface) {
    const HWND window = MakeControl(edit, surface, WC_EDITA, edit.Text(),
                                    WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    if (edit.MaxLength != 0) SendMessageA(window, EM_LIMITTEXT, edit.MaxLength, 0);
    Subclass(window);
    // The numbers of a box step with an up-down; what it shows is taken when
    // the focus leaves the box, as typing is.
    MakeUpDown(edit, surface, window, 0, 9999);
    ShownControl& shown = ShownOf(edit);
    shown.command = [this, &edit, window](UINT code) {
        if (code != EN_CHANGE || mirroring_) return;
        const std::string text = WindowText(window);
        Dispatch([&edit, text] { edit.SetText(text); });
    };
    shown.mirror = [&edit, window] {
        if (edit.Text() != WindowText(window)) SetWindowTextA(window, edit.Text().c_str());
    };
}

void Win32DialogView::BuildSpinEdit(TSpinEdit& spinEdit, HWND surface) {
    const HWND window = MakeControl(spinEdit, surface, WC_EDITA, "",
                                    WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL | ES_NUMBER, WS_EX_CLIENTEDGE);
    if (spinEdit.MaxLength != 0) SendMessageA(window, EM_LIMITTEXT, spinEdit.MaxLength, 0);
    const HWND spin = MakeUpDown(spinEdit, surface, window, int(spinEdit.MinValue), int(spinEdit.MaxValue));
    // Whatever was typed or pasted counts by its leading digits; the box
    // shows the kept value once the focus leaves it.
    ShownControl& shown = ShownOf(spinEdit);
    shown.command = [this, &spinEdit, window](UINT code) {
        if (code == EN_KILLFOCUS) {
            MirrorAll();
            return;
        }
        int typed = 0;
        if (code != EN_CHANGE || mirroring_ || !LeadingDigits(WindowText(window), &typed)) return;
        Dispatch([&spinEdit, typed] { spinEdit.SetValue(typed); });
    };
    shown.mirror = [&spinEdit, window, spin] {
        const int value = int(spinEdit.Value());
        if (GetFocus() != window && WindowText(window) != std::to_string(value))
            SetWindowTextA(window, std::to_string(value).c_str());
        if (int(SendMessageA(spin, UDM_GETPOS32, 0, 0)) != value) SendMessageA(spin, UDM_SETPOS32, 0, value);
    };
}

void Win32DialogView::BuildTrackBar(TTrackBar& track, HWND surface) {
    const HWND window = MakeControl(track, surface, TRACKBAR_CLASSA, "",
                                    WS_TABSTOP | WS_GROUP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS);
    SendMessageA(window, TBM_SETRANGEMIN, FALSE, track.Min);
    SendMessageA(window, TBM_SETRANGEMAX, FALSE, track.Max);
    SendMessageA(window, TBM_SETTICFREQ, WPARAM(std::max(track.Frequency, 1)), 0);
    SendMessageA(window, TBM_SETLINESIZE, 0, 1);
    SendMessageA(window, TBM_SETPAGESIZE, 0, std::max(track.Frequency, 1));
    ShownControl& shown = ShownOf(track);
    shown.command = [this, &track, window](UINT) {
        const int position = int(SendMessageA(window, TBM_GETPOS, 0, 0));
        Dispatch([&track, position] { track.SetPosition(position); });
    };
    shown.mirror = [&track, window] {
        if (int(SendMessageA(window, TBM_GETPOS, 0, 0)) != track.Position())
            SendMessageA(window, TBM_SETPOS, TRUE, track.Position());
    };
}

void Win32DialogView::BuildComboBox(TComboBox& combo, HWND surface) {
    const HWND window = MakeControl(combo, surface, WC_COMBOBOXA, "",
                                    WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL);
    std::size_t characters = 0;
    for (const std::string& item : combo.Items) characters += item.size() + 1;
    SendMessageA(window, CB_INITSTORAGE, combo.Items.size(), LPARAM(characters));
    SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    for (const std::string& item : combo.Items)
        SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    SendMessageA(window, CB_SETMINVISIBLE, 20, 0);
    if (combo.MaxLength != 0) SendMessageA(window, CB_LIMITTEXT, combo.MaxLength, 0);
    // A pick from the open list counts once the list closes on it, so that
    // browsing the list with the arrow keys chooses nothing on the way.
    auto pick = [this, &combo, window] {
        const int index = int(SendMessageA(window, CB_GETCURSEL, 0, 0));
        if (index < 0 || index == combo.ItemIndex()) return;
        Dispatch([&combo, index] { combo.UserSelect(index); });
    };
    ShownControl& shown = ShownOf(combo);
    shown.command = [this, &combo, &shown, window, pick](UINT code) {
        if (mirroring_) return;
        if (code == CBN_EDITCHANGE) {
            ComboTyped(combo, shown);
        } else if (code == CBN_SELENDOK ||
                   (code == CBN_SELCHANGE && !SendMessageA(window, CB_GETDROPPEDSTATE, 0, 0))) {
            pick();
        }
    };
    shown.mirror = [&combo, window, shownIndex = -2]() mutable {
        if (combo.ItemIndex() != shownIndex && GetFocus() != GetWindow(window, GW_CHILD)) {
            shownIndex = combo.ItemIndex();
            SendMessageA(window, CB_SETCURSEL, WPARAM(shownIndex), 0);
        }
        if (combo.Text() != WindowText(window)) SetWindowTextA(window, combo.Text().c_str());
    };
}

// Typing the start of a name completes it to the first one that starts so,
// the completed part selected, so that the next letter types over it;
// deleting completes nothing.
void Win32DialogView::ComboTyped(TComboBox& combo, ShownControl& shown) {
    const HWND window = shown.window;
    std::string text = WindowText(window);
    std::string& typed = shown.typed;
    const bool grew = text.size() > typed.size();
    typed = text;
    if (grew) {
        const int found =
            int(SendMessageA(window, CB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(text.c_str())));
        if (found >= 0) {
            std::string name(std::size_t(SendMessageA(window, CB_GETLBTEXTLEN, WPARAM(found), 0)) + 1, '\0');
            name.resize(std::size_t(
                SendMessageA(window, CB_GETLBTEXT, WPARAM(found), reinterpret_cast<LPARAM>(name.data()))));
            text = name;
        }
    }
    Dispatch([&combo, text] { combo.UserEdit(text); });
    if (text.size() > typed.size()) {
        SetWindowTextA(window, text.c_str());
        SendMessageA(window, CB_SETEDITSEL, 0, MAKELPARAM(typed.size(), -1));
    }
}

// --- Layout ------------------------------------------------------------------

SIZE Win32DialogView::TextSize(const TControl& control, const std::string& text, UINT format) const {
    const HDC context = GetDC(window_);
    const HGDIOBJ previous = SelectObject(context, FontOf(control));
    RECT bounds{0, 0, 0, 0};
    DrawTextA(context, text.empty() ? " " : text.c_str(), -1, &bounds, DT_CALCRECT | format);
    SelectObject(context, previous);
    ReleaseDC(window_, context);
    return {text.empty() ? 0 : bounds.right, bounds.bottom};
}

CellBox Win32DialogView::Insets(const TControl& control) const {
    return VisitControl(
        control,
        [this](const TGroupBox& group) {
            const int top = group.Caption.empty() ? Scaled(10) : TextSize(group, "X", 0).cy + Scaled(6);
            return CellBox{Scaled(10), top, Scaled(20), top + Scaled(10)};
        },
        [this](const TDialogForm&) {
            return CellBox{Scaled(kFormMargin), Scaled(kFormMargin), 2 * Scaled(kFormMargin),
                           2 * Scaled(kFormMargin)};
        },
        [](const TControl&) { return CellBox{}; });
}

SIZE Win32DialogView::MeasureGrid(const TWinControl& container) const {
    std::vector<GridCell> cells;
    for (const TControl* child : container.Controls()) {
        const SIZE size = Measure(*child);
        GridCell cell;
        cell.place = child->Place();
        cell.place.Indent = Scaled(cell.place.Indent);
        cell.width = size.cx;
        cell.height = size.cy;
        cells.push_back(cell);
    }
    const GridLayout grid(cells, Scaled(kColumnGap), Scaled(kRowGap));
    const CellBox insets = Insets(container);
    return {grid.Width() + insets.width, grid.Height() + insets.height};
}

SIZE Win32DialogView::Measure(const TControl& control) const {
    const std::string& caption = ShownCaption(control);
    const auto option = [&] {
        const SIZE text = TextSize(control, caption, 0);
        return SIZE{text.cx + Scaled(13 + 8), std::max<LONG>(text.cy, Scaled(13)) + Scaled(4)};
    };
    const auto numberBox = [&] {
        const int width = control.Width > 0 ? control.Width : 48;
        return SIZE{Scaled(width + 18), TextSize(control, "0", 0).cy + Scaled(9)};
    };
    // A swatch, an image, and whatever else has no contents to measure take
    // their Width and Height alone.
    const SIZE size = VisitControl(
        control, [&](const TPageControl& pages) { return MeasurePages(pages); },
        [&](const TGroupBox& group) {
            SIZE grid = MeasureGrid(group);
            grid.cx = std::max<LONG>(grid.cx, TextSize(group, group.Caption, DT_NOPREFIX).cx + Scaled(24));
            return grid;
        },
        [&](const TPanel& panel) {
            return HoldsControls(panel) ? MeasureGrid(panel) : SIZE{0, 0};
        },
        [&](const TDialogForm& form) { return MeasureGrid(form); },
        [&](const TLabel& label) {
            const bool plain = !label.OnClick && !ShownOf(label).mnemonicCaption;
            const SIZE text = TextSize(label, caption, plain ? DT_NOPREFIX : 0);
            return label.Transparent ? text : SIZE{text.cx + Scaled(8), text.cy + Scaled(8)};
        },
        [&](const TButton&) {
            return SIZE{std::max<LONG>(TextSize(control, caption, 0).cx + Scaled(24), Scaled(80)),
                        Scaled(26)};
        },
        [&](const TCheckBox&) { return option(); }, [&](const TRadioButton&) { return option(); },
        [&](const TEdit&) { return numberBox(); }, [&](const TSpinEdit&) { return numberBox(); },
        [&](const TTrackBar&) {
            return SIZE{Scaled(220), Scaled(32)};
        },
        [&](const TComboBox& combo) {
            return SIZE{Scaled(combo.Width > 0 ? combo.Width : 120), TextSize(combo, "X", 0).cy + Scaled(10)};
        },
        [](const TControl&) {
            return SIZE{0, 0};
        });
    return {std::max<LONG>(size.cx, Scaled(control.Width)), std::max<LONG>(size.cy, Scaled(control.Height))};
}

SIZE Win32DialogView::MeasurePages(const TPageControl& pages) const {
    SIZE size{0, 0};
    for (const TTabSheet* sheet : pages.Sheets()) {
        const SIZE page = MeasureGrid(*sheet);
        size.cx = std::max(size.cx, page.cx + 2 * Scaled(kPageMargin));
        size.cy = std::max(size.cy, page.cy + 2 * Scaled(kPageMargin));
    }
    RECT frame{0, 0, 1000, 1000};
    SendMessageA(ShownOf(pages).window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&frame));
    size.cx += 1000 - (frame.right - frame.left);
    size.cy += 1000 - (frame.bottom - frame.top);
    return size;
}

void Win32DialogView::PlaceGrid(TWinControl& container, const CellBox& area) {
    std::vector<GridCell> cells;
    for (TControl* child : container.Controls()) {
        const SIZE size = Measure(*child);
        const bool holder = HoldsControls(*child);
        GridCell cell;
        cell.place = child->Place();
        cell.place.Indent = Scaled(cell.place.Indent);
        cell.width = size.cx;
        cell.height = size.cy;
        cell.fillsWidth = FillsCellWidth(*child);
        cell.fillsHeight = holder;
        cell.expandsWidth = cell.place.Expand || child->Alignment == TAlignment::taRightJustify;
        cell.expandsHeight = cell.place.Expand && holder;
        cell.alignment = child->Alignment;
        cells.push_back(cell);
    }
    const GridLayout grid(cells, Scaled(kColumnGap), Scaled(kRowGap));
    const std::vector<CellBox> boxes = grid.Arrange(area.width, area.height);
    for (std::size_t index = 0; index < boxes.size(); ++index) {
        CellBox box = boxes[index];
        box.left += area.left;
        box.top += area.top;
        Place(*container.Controls()[index], box);
    }
}

void Win32DialogView::Place(TControl& control, const CellBox& box) {
    const ShownControl& shown = ShownOf(control);
    VisitControl(
        control, [&](TPageControl& pages) { PlacePages(pages, box); },
        [&](TComboBox&) {
            // A combo box's window holds its dropped list too.
            MoveWindow(shown.window, box.left, box.top, box.width, box.height + Scaled(300), TRUE);
        },
        [&](TWinControl& container) {
            MoveShown(shown, box);
            if (!HoldsControls(container)) return;
            const CellBox insets = Insets(container);
            PlaceGrid(container, {box.left + insets.left, box.top + insets.top, box.width - insets.width,
                                  box.height - insets.height});
        },
        [&](TControl&) { MoveShown(shown, box); });
}

void Win32DialogView::PlacePages(TPageControl& pages, const CellBox& box) {
    const HWND tabs = ShownOf(pages).window;
    MoveWindow(tabs, box.left, box.top, box.width, box.height, TRUE);
    RECT frame{box.left, box.top, box.left + box.width, box.top + box.height};
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&frame));
    const int margin = Scaled(kPageMargin);
    for (TTabSheet* sheet : pages.Sheets()) {
        MoveWindow(ShownOf(*sheet).window, frame.left, frame.top, frame.right - frame.left,
                   frame.bottom - frame.top, TRUE);
        PlaceGrid(*sheet, {margin, margin, frame.right - frame.left - 2 * margin,
                           frame.bottom - frame.top - 2 * margin});
    }
}

void Win32DialogView::MoveShown(const ShownControl& shown, const CellBox& box) {
    if (shown.window == nullptr) return;
    if (shown.spin == nullptr) {
        MoveWindow(shown.window, box.left, box.top, box.width, box.height, TRUE);
        return;
    }
    const int spinWidth = Scaled(18);
    MoveWindow(shown.window, box.left, box.top, box.width - spinWidth, box.height, TRUE);
    MoveWindow(shown.spin, box.left + box.width - spinWidth, box.top, spinWidth, box.height, TRUE);
}

void Win32DialogView::Layout(const RECT* around) {
    layoutDue_ = false;
    const SIZE natural = Measure(form_);
    RECT client{};
    GetClientRect(window_, &client);
    const int width = std::max<int>(natural.cx, client.right);
    const int height = std::max<int>(natural.cy, client.bottom);
    const CellBox insets = Insets(form_);
    PlaceGrid(form_, {insets.left, insets.top, width - insets.width, height - insets.height});
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongPtrA(window_, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    if (around == nullptr) {
        SetWindowPos(window_, nullptr, 0, 0, frameWidth, frameHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const int left = std::max<int>(around->left, (around->left + around->right - frameWidth) / 2);
    const int top = std::max<int>(around->top, (around->top + around->bottom - frameHeight) / 2);
    SetWindowPos(window_, nullptr, left, top, frameWidth, frameHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- Messages ----------------------------------------------------------------

INT_PTR CALLBACK Win32DialogView::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        return FALSE;
    }
    auto* view = reinterpret_cast<Win32DialogView*>(GetWindowLongPtrA(window, DWLP_USER));
    return view != nullptr ? view->Handle(window, message, wParam, lParam) : FALSE;
}

LRESULT CALLBACK Win32DialogView::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR data) {
    return reinterpret_cast<Win32DialogView*>(data)->HandleControl(window, message, wParam, lParam);
}

LRESULT Win32DialogView::HandleControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const ShownControl* shown = ShownIn(window);
    if (shown == nullptr) return DefSubclassProc(window, message, wParam, lParam);
    TControl& control = shown->control;
    if (message == WM_CHAR || message == WM_KILLFOCUS) {
        return VisitControl(
            control, [&](TEdit& edit) { return HandleEdit(edit, window, message, wParam, lParam); },
            [&](TControl&) { return DefSubclassProc(window, message, wParam, lParam); });
    }
    if (message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP) {
        // The framework reports the click before the release.
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        const TMouseButton button = message == WM_RBUTTONUP   ? TMouseButton::mbRight
                                    : message == WM_MBUTTONUP ? TMouseButton::mbMiddle
                                                              : TMouseButton::mbLeft;
        TShiftState shift = 0;
        if ((wParam & MK_SHIFT) != 0) shift |= ssShift;
        if ((wParam & MK_CONTROL) != 0) shift |= ssCtrl;
        if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
        const int x = GET_X_LPARAM(lParam);
        const int y = GET_Y_LPARAM(lParam);
        Dispatch([&control, button, shift, x, y] { control.MouseUp(button, shift, x, y); });
        return result;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT Win32DialogView::HandleEdit(TEdit& edit, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        char typed = char(wParam);
        Dispatch([&edit, &typed] { edit.KeyPress(typed); });
        if (typed == 0) return 0;
        return DefSubclassProc(window, message, WPARAM(static_cast<unsigned char>(typed)), lParam);
    }
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    // Another application or a box of our own taking the focus leaves the
    // focus within the dialog where it was: no exit.
    const auto next = reinterpret_cast<HWND>(wParam);
    if (next != nullptr && IsChild(window_, next)) Dispatch([&edit] { edit.DoExit(); });
    return result;
}

std::optional<COLORREF> Win32DialogView::StaticColors(const TControl& control, HDC context) const {
    return VisitControl(
        control,
        // A swatch shows the colour it stands for, in any scheme.
        [](const TPanel& panel) -> std::optional<COLORREF> { return ColorOf(panel.Color); },
        [context](const TLabel& label) -> std::optional<COLORREF> {
            if (label.OnClick) return std::nullopt;
            const win32::LabelColors colors =
                win32::ColorsOfLabel(label.Font.Color, clBtnFace, win32::HighContrastOn());
            SetTextColor(context, colors.text);
            return colors.background;
        },
        [](const TControl&) -> std::optional<COLORREF> { return std::nullopt; });
}

void Win32DialogView::DrawOpaqueLabel(const TLabel& label, const DRAWITEMSTRUCT& item) {
    const win32::LabelColors colors =
        win32::ColorsOfLabel(label.Font.Color, label.Color, win32::HighContrastOn());
    GdiHandle& brush = brushes_[colors.background];
    if (!brush) brush.reset(CreateSolidBrush(colors.background));
    FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(brush.get()));
    RECT text = item.rcItem;
    InflateRect(&text, -Scaled(4), -Scaled(4));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, label.Enabled ? colors.text : GetSysColor(COLOR_GRAYTEXT));
    const HGDIOBJ previous = SelectObject(item.hDC, FontOf(label));
    DrawTextA(item.hDC, label.Caption.c_str(), -1, &text, DT_NOPREFIX);
    SelectObject(item.hDC, previous);
}

INT_PTR Win32DialogView::Handle(HWND surface, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        HWND from = reinterpret_cast<HWND>(lParam);
        if (from == nullptr) from = GetDlgItem(surface, LOWORD(wParam));
        if (const ShownControl* shown = ShownIn(from); shown != nullptr && shown->command) {
            shown->command(HIWORD(wParam));
        } else if (LOWORD(wParam) == IDCANCEL) {
            Dispatch([this] { form_.Close(); });
        }
        return TRUE;
    }
    case WM_HSCROLL:
        if (const ShownControl* shown = ShownIn(reinterpret_cast<HWND>(lParam));
            shown != nullptr && shown->command) {
            shown->command(LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (const ShownControl* shown = ShownIn(header.hwndFrom); shown != nullptr && shown->notice)
            shown->notice(header);
        return FALSE;
    }
    case WM_CLOSE:
        Dispatch([this] { form_.Close(); });
        return TRUE;
    case WM_SETCURSOR: {
        const ShownControl* shown = ShownIn(reinterpret_cast<HWND>(wParam));
        if (shown == nullptr || shown->control.Cursor != TCursor::crHandPoint ||
            !IsWindowEnabled(shown->window))
            return FALSE;
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        SetWindowLongPtrA(surface, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
        const ShownControl* shown = ShownIn(reinterpret_cast<HWND>(lParam));
        if (shown == nullptr) return FALSE;
        const auto context = reinterpret_cast<HDC>(wParam);
        const std::optional<COLORREF> background = StaticColors(shown->control, context);
        if (!background) return FALSE;
        SetBkColor(context, *background);
        GdiHandle& brush = brushes_[*background];
        if (!brush) brush.reset(CreateSolidBrush(*background));
        return reinterpret_cast<INT_PTR>(brush.get());
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const ShownControl* shown = ShownIn(item.hwndItem);
        if (shown == nullptr) return FALSE;
        return VisitControl(
            shown->control,
            [&](const TLabel& label) -> INT_PTR {
                DrawOpaqueLabel(label, item);
                return TRUE;
            },
            [](const TControl&) -> INT_PTR { return FALSE; });
    }
    case kShownMessage:
        if (const TNotifyEvent shown = form_.OnShown) Dispatch([this, shown] { shown(&form_); });
        return TRUE;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // High contrast turned on or off, or another scheme.
        if (surface == window_)
            RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return FALSE;
    case WM_DPICHANGED:
        if (surface != window_) return FALSE;
        dpi_ = LOWORD(wParam);
        MakeFonts();
        for (ShownControl& shown : shown_) {
            if (shown.window == nullptr) continue;
            SendMessageA(shown.window, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(shown.control)), TRUE);
            VisitControl(
                shown.control, [&](const TImage& image) { ShowPicture(image, shown); },
                [](const TControl&) {});
        }
        {
            const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested.left, suggested.top, 1, 1,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            Layout(nullptr);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void Win32DialogView::Dispatch(const std::function<void()>& action) {
    if (mirroring_ || dispatching_) return;
    dispatching_ = true;
    RunEventHandler(action);
    dispatching_ = false;
    MirrorAll();
}

void Win32DialogView::MirrorAll() {
    mirroring_ = true;
    for (const ShownControl& shown : shown_) {
        for (const HWND window : {shown.window, shown.spin}) {
            if (window != nullptr && bool(IsWindowEnabled(window)) != shown.control.Enabled)
                EnableWindow(window, shown.control.Enabled);
        }
        if (shown.mirror) shown.mirror();
    }
    mirroring_ = false;
    if (layoutDue_) Layout(nullptr);
}

bool Win32DialogView::TurnsPage(const MSG& message) {
    if (pages_ == nullptr || message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return false;
    int step = 0;
    if (message.wParam == VK_TAB) step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
    if (message.wParam == VK_NEXT) step = 1;
    if (message.wParam == VK_PRIOR) step = -1;
    if (step == 0 || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
    const int count = int(pages_->Sheets().size());
    const int turned = (pages_->ActivePageIndex + step + count) % count;
    Dispatch([this, turned] { pages_->ActivePageIndex = turned; });
    return true;
}

void Win32DialogView::Present() {
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    // The dialog opens with the focus on its tabs.
    if (pages_ != nullptr)
        SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ShownOf(*pages_).window), TRUE);
    // Drawn whole before anything slow the form does once it shows.
    RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (!shownAnnounced_) {
        shownAnnounced_ = true;
        PostMessageA(window_, kShownMessage, 0, 0);
    }
}

void Win32DialogView::Show() {
    Present();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageA(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void Win32DialogView::Run() {
    // Modal to the host's window: it takes no input from the moment the
    // dialog shows until it ends.
    const bool ownerWasEnabled = owner_ != nullptr && !EnableWindow(owner_, FALSE);
    Present();
    MSG message;
    while (!form_.Closing()) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(int(message.wParam));
            break;
        }
        if (got < 0) break;
        if (TurnsPage(message) || IsDialogMessageA(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (ownerWasEnabled) EnableWindow(owner_, TRUE);
    ShowWindow(window_, SW_HIDE);
}

bool OpenDialogDisplay(std::string* /*error*/) {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC =
        ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_LINK_CLASS;
    InitCommonControlsEx(&classes);
    return true;
}

DialogWindow::DialogWindow(TDialogForm& form, HWND owner)
    : view_(std::make_unique<Win32DialogView>(form, owner)) {}

DialogWindow::~DialogWindow() = default;

void DialogWindow::Show() { view_->Show(); }

void DialogWindow::Run() { view_->Run(); }

}  // namespace platform
