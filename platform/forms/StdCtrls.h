// The form framework's standard controls as plain state, without a window
// system. A dialog's logic sets their properties and the framework's
// handlers run exactly when the framework would run them (a check box's
// OnClick only when its state changes, a track bar's OnChange only when its
// position moves); a view shows the controls and reports what the user does
// through the same members.
#pragma once

#include "platform/forms/ControlVisitor.h"
#include "platform/forms/Forms.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// 0x00BBGGRR, or a system colour: the high bit set and a COLOR_ index below
// (on Windows windows.h has them).
using TColor = std::uint32_t;
#ifndef _WIN32
inline constexpr int COLOR_INACTIVECAPTION = 3;
inline constexpr int COLOR_MENU = 4;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_BTNFACE = 15;
#endif
constexpr TColor SystemColor(int index) { return 0x80000000u | TColor(index); }
constexpr bool IsSystemColor(TColor color) { return (color & 0x80000000u) != 0; }
constexpr int SystemColorIndex(TColor color) { return int(color & 0xFFu); }
inline constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
inline constexpr TColor clMenu = SystemColor(COLOR_MENU);
inline constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
inline constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clWhite = 0xFFFFFF;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TCursor { crDefault, crHandPoint };
enum class TBevelCut { bvNone, bvLowered, bvRaised };

struct TFont {
    TColor Color = clWindowText;
    bool Bold = false;
    bool Underline = false;
};

// Where a control sits in its parent's grid of rows and columns. The view
// sizes the cells to their contents; a control with Expand takes the spare
// width and height of its parent.
struct TGridPlace {
    int Row = 0;
    int Column = 0;
    int RowSpan = 1;
    int ColumnSpan = 1;
    bool Expand = false;
    int Indent = 0;  // pixels before the control in its cell
};

class TWinControl;

class TControl : public TComponent {
public:
    // The control joins `parent`'s controls; a parent outlives its controls.
    TControl(TWinControl* parent, std::string caption, TGridPlace place);

    TWinControl* Parent() const { return parent_; }
    const TGridPlace& Place() const { return place_; }

    std::string Caption;
    bool Enabled = true;
    TFont Font;
    TAlignment Alignment = TAlignment::taLeftJustify;
    TCursor Cursor = TCursor::crDefault;
    int Width = 0;  // pixels; 0: as wide as the contents
    int Height = 0;

    TNotifyEvent OnClick;
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)> OnMouseUp;

    // Runs OnClick.
    void Click();
    // A mouse button was released over the control; a disabled control gets
    // nothing.
    void MouseUp(TMouseButton button, TShiftState shift = 0, int x = 0, int y = 0);

    // Hands the control to the visitor's Visit for its class.
    virtual void Accept(ControlVisitor& visitor) = 0;
    virtual void Accept(ConstControlVisitor& visitor) const = 0;

protected:
    // A control without a parent: the root of a form.
    explicit TControl(TComponent* owner);

private:
    TWinControl* parent_;
    TGridPlace place_;
};

// A control that holds others, laid out in its grid.
class TWinControl : public TControl {
public:
    using TControl::TControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }

    const std::vector<TControl*>& Controls() const { return controls_; }

    TNotifyEvent OnExit;
    std::function<void(TObject* Sender, char& Key)> OnKeyPress;

    // The focus left the control.
    void DoExit();
    // A typed character, before the control takes it; a handler that sets
    // it to 0 discards it.
    void KeyPress(char& key);

private:
    friend class TControl;
    std::vector<TControl*> controls_;
};

// A text; with OnClick and an underlined font, a link.
class TLabel : public TControl {
public:
    using TControl::TControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
    bool Transparent = true;  // false: the background shows Color
    TColor Color = clBtnFace;
};

class TButton : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
    bool Default = false;  // Return presses it
    bool Cancel = false;   // Esc presses it
};

class TCheckBox : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
    bool Checked() const { return checked_; }
    // Runs OnClick when the state changes.
    void SetChecked(bool checked);

private:
    bool checked_ = false;
};

// An option; the options with the same parent are one group, of which at
// most one is checked.
class TRadioButton : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
    bool Checked() const { return checked_; }
    // Checking clears the other options of the group and runs OnClick, only
    // when the option was not checked already. Clearing runs nothing.
    void SetChecked(bool checked);

private:
    bool checked_ = false;
};

// A frame with a caption around its controls (no frame text when empty).
class TGroupBox : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
};

// A panel with controls lays them out on the form's face; a panel without
// controls shows its Color (a colour swatch).
class TPanel : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
    TColor Color = clBtnFace;
    TBevelCut BevelOuter = TBevelCut::bvRaised;
};

// A picture from the program's bitmap resources, centred, unscaled.
class TImage : public TControl {
public:
    using TControl::TControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
    std::string ResourceName;
};

class TEdit : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
    // Characters the box takes; 0: no bound.
    std::size_t MaxLength = 0;
    const std::string& Text() const { return text_; }
    // Keeps the first MaxLength characters; runs OnChange when the text differs.
    void SetText(const std::string& text);
    TNotifyEvent OnChange;

private:
    std::string text_;
};

// A number box with up and down buttons.
class TSpinEdit : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
    double MinValue = 0;
    double MaxValue = 100;
    double Increment = 1;
    std::size_t MaxLength = 0;  // characters the box takes; 0: no bound
    // A typed character other than a digit or a control character is
    // refused (set to 0) before OnKeyPress sees it: the box stays as it was.
    void KeyPress(char& key);
    double Value() const { return value_; }
    // Kept within MinValue..MaxValue; runs OnChange when the shown value moves.
    void SetValue(double value);
    TNotifyEvent OnChange;

private:
    double value_ = 0;
};

// A horizontal slider with tick marks below it.
class TTrackBar : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
    int Min = 0;
    int Max = 10;
    int Frequency = 1;  // a tick every so many positions
    int Position() const { return position_; }
    // Kept within Min..Max; runs OnChange when the position moves.
    void SetPosition(int position);
    TNotifyEvent OnChange;

private:
    int position_ = 0;
};

// A list of texts with an editable text field.
class TComboBox : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
    std::vector<std::string> Items;
    std::size_t MaxLength = 0;  // characters the text field takes; 0: no bound
    int ItemIndex() const { return itemIndex_; }
    const std::string& Text() const { return text_; }
    // Selects an item (-1: none) and shows its text; runs nothing.
    void SetItemIndex(int index);
    // The user picked an item from the list: selects it and runs OnChange.
    void UserSelect(int index);
    // The user typed `text` (its first MaxLength characters are kept): the
    // first item equal to it (ignoring case) is selected, else none; then
    // OnChange runs.
    void UserEdit(const std::string& text);
    TNotifyEvent OnChange;

private:
    int itemIndex_ = -1;
    std::string text_;
};

class TTabSheet : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
};

// Tabbed pages; its controls are TTabSheets, shown in their order.
class TPageControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
    int ActivePageIndex = 0;
    // Its controls that are tab sheets: the pages, in their order.
    std::vector<TTabSheet*> Sheets() const;
};

// A dialog form: the root of its controls. A view shows it until it closes.
class TDialogForm : public TWinControl {
public:
    explicit TDialogForm(TComponent* owner);
    void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
    void Accept(ConstControlVisitor& visitor) const override { visitor.Visit(*this); }
    // Runs once, when the view has first put the window on the screen.
    TNotifyEvent OnShown;
    // The window that shows the form (0 while none does, and where the
    // toolkit parents its boxes itself); the form's message boxes belong to
    // it, so that the form takes no input while one shows.
    HWND Window() const { return window_; }
    void AttachWindow(HWND window) { window_ = window; }
    // Asks the view to end the dialog once the running handler returns.
    void Close() { closing_ = true; }
    bool Closing() const { return closing_; }

private:
    bool closing_ = false;
    HWND window_ = 0;
};

// A control whose view lays out other controls in it, rather than showing
// a face of its own.
bool HoldsControls(const TControl& control);

// A control that takes the whole width of its cell: one that holds others,
// a track bar, or a label with a background that expands.
bool FillsCellWidth(const TControl& control);

// The standard colour dialog, opened on Color; without a window system it
// answers as if cancelled.
class TColorDialog : public TComponent {
public:
    using TComponent::TComponent;
    COLORREF Color = clBlack;
    // True when the user chose a colour, which is then in Color.
    bool Execute(HWND owner = 0);
};
