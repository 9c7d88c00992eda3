#include "platform/forms/StdCtrls.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

// Handlers are called through copies: one may replace itself.
void Notify(const TNotifyEvent& event, TObject* sender) {
    if (TNotifyEvent handler = event) handler(sender);
}

// The first `limit` characters of `text` (all of it when limit is 0).
std::string Bounded(const std::string& text, std::size_t limit) {
    return limit != 0 && text.size() > limit ? text.substr(0, limit) : text;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

TControl::TControl(TWinControl* parent, std::string caption, TGridPlace place)
    : TComponent(parent), Caption(std::move(caption)), parent_(parent), place_(place) {
    if (parent != nullptr) parent->controls_.push_back(this);
}

TControl::TControl(TComponent* owner) : TComponent(owner), parent_(nullptr) {}

void TControl::Click() { Notify(OnClick, this); }

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!Enabled) return;
    if (auto handler = OnMouseUp) handler(this, button, shift, x, y);
}

void TWinControl::DoExit() { Notify(OnExit, this); }

void TWinControl::KeyPress(char& key) {
    if (auto handler = OnKeyPress) handler(this, key);
}

void TCheckBox::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    Click();
}

void TRadioButton::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    if (!checked) return;
    if (Parent() != nullptr) {
        for (TControl* sibling : Parent()->Controls()) {
            VisitControl(
                *sibling,
                [this](TRadioButton& option) {
                    if (&option != this) option.checked_ = false;
                },
                [](TControl&) {});
        }
    }
    Click();
}

void TEdit::SetText(const std::string& text) {
    std::string kept = Bounded(text, MaxLength);
    if (text_ == kept) return;
    text_ = std::move(kept);
    Notify(OnChange, this);
}

void TSpinEdit::KeyPress(char& key) {
    const bool control = static_cast<unsigned char>(key) < 0x20;
    if (!control && (key < '0' || key > '9')) key = 0;
    if (key != 0) TWinControl::KeyPress(key);
}

void TSpinEdit::SetValue(double value) {
    const double shown = std::clamp(value, MinValue, MaxValue);
    if (shown == value_) return;
    value_ = shown;
    Notify(OnChange, this);
}

void TTrackBar::SetPosition(int position) {
    const int shown = std::clamp(position, Min, Max);
    if (shown == position_) return;
    position_ = shown;
    Notify(OnChange, this);
}

void TComboBox::SetItemIndex(int index) {
    if (index < 0 || std::size_t(index) >= Items.size()) {
        itemIndex_ = -1;
        text_.clear();
        return;
    }
    itemIndex_ = index;
    text_ = Items[std::size_t(index)];
}

void TComboBox::UserSelect(int index) {
    SetItemIndex(index);
    Notify(OnChange, this);
}

void TComboBox::UserEdit(const std::string& typed) {
    std::string text = Bounded(typed, MaxLength);
    const auto found = std::find_if(Items.begin(), Items.end(),
                                    [&](const std::string& item) { return EqualIgnoringCase(item, text); });
    itemIndex_ = found != Items.end() ? int(found - Items.begin()) : -1;
    text_ = std::move(text);
    Notify(OnChange, this);
}

std::vector<TTabSheet*> TPageControl::Sheets() const {
    std::vector<TTabSheet*> sheets;
    for (TControl* control : Controls()) {
        VisitControl(
            *control, [&](TTabSheet& sheet) { sheets.push_back(&sheet); }, [](TControl&) {});
    }
    return sheets;
}

TDialogForm::TDialogForm(TComponent* owner) : TWinControl(owner) {}

bool HoldsControls(const TControl& control) {
    return VisitControl(
        control, [](const TGroupBox&) { return true; }, [](const TPageControl&) { return true; },
        [](const TPanel& panel) { return !panel.Controls().empty(); }, [](const TControl&) { return false; });
}

bool FillsCellWidth(const TControl& control) {
    return HoldsControls(control) ||
           VisitControl(
               control, [](const TTrackBar&) { return true; },
               [](const TLabel& label) { return !label.Transparent && label.Place().Expand; },
               [](const TControl&) { return false; });
}
