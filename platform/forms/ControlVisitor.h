// How a view learns a control's class: each control class hands itself to
// the matching Visit of a visitor, so a view that leaves a class out does
// not compile.
#pragma once

#include <optional>
#include <type_traits>
#include <utility>

class TControl;
class TWinControl;
class TLabel;
class TButton;
class TCheckBox;
class TRadioButton;
class TGroupBox;
class TPanel;
class TImage;
class TEdit;
class TSpinEdit;
class TTrackBar;
class TComboBox;
class TTabSheet;
class TPageControl;
class TDialogForm;

// One Visit for each control class; a class made from one of these (a
// form's own dialog class, say) is visited as that one.
template <bool Const>
class BasicControlVisitor {
public:
    template <class Control>
    using Ref = std::conditional_t<Const, const Control&, Control&>;

    virtual void Visit(Ref<TWinControl> container) = 0;
    virtual void Visit(Ref<TLabel> label) = 0;
    virtual void Visit(Ref<TButton> button) = 0;
    virtual void Visit(Ref<TCheckBox> box) = 0;
    virtual void Visit(Ref<TRadioButton> option) = 0;
    virtual void Visit(Ref<TGroupBox> group) = 0;
    virtual void Visit(Ref<TPanel> panel) = 0;
    virtual void Visit(Ref<TImage> image) = 0;
    virtual void Visit(Ref<TEdit> edit) = 0;
    virtual void Visit(Ref<TSpinEdit> spin) = 0;
    virtual void Visit(Ref<TTrackBar> track) = 0;
    virtual void Visit(Ref<TComboBox> combo) = 0;
    virtual void Visit(Ref<TTabSheet> sheet) = 0;
    virtual void Visit(Ref<TPageControl> pages) = 0;
    virtual void Visit(Ref<TDialogForm> form) = 0;

protected:
    ~BasicControlVisitor() = default;
};

using ControlVisitor = BasicControlVisitor<false>;
using ConstControlVisitor = BasicControlVisitor<true>;

namespace forms_detail {

template <class... Calls>
struct Overloaded : Calls... {
    using Calls::operator()...;
};

// A visitor that calls the best of a set of overloads for the control's
// class and keeps what it returns.
template <bool Const, class Call>
class CallingVisitor final : public BasicControlVisitor<Const> {
    template <class Control>
    using Ref = typename BasicControlVisitor<Const>::template Ref<Control>;

public:
    using Result = std::common_type_t<
        std::invoke_result_t<Call&, Ref<TWinControl>>, std::invoke_result_t<Call&, Ref<TLabel>>,
        std::invoke_result_t<Call&, Ref<TButton>>, std::invoke_result_t<Call&, Ref<TCheckBox>>,
        std::invoke_result_t<Call&, Ref<TRadioButton>>, std::invoke_result_t<Call&, Ref<TGroupBox>>,
        std::invoke_result_t<Call&, Ref<TPanel>>, std::invoke_result_t<Call&, Ref<TImage>>,
        std::invoke_result_t<Call&, Ref<TEdit>>, std::invoke_result_t<Call&, Ref<TSpinEdit>>,
        std::invoke_result_t<Call&, Ref<TTrackBar>>, std::invoke_result_t<Call&, Ref<TComboBox>>,
        std::invoke_result_t<Call&, Ref<TTabSheet>>, std::invoke_result_t<Call&, Ref<TPageControl>>,
        std::invoke_result_t<Call&, Ref<TDialogForm>>>;

    explicit CallingVisitor(Call& call) : call_(call) {}

    void Visit(Ref<TWinControl> control) override { Take(control); }
    void Visit(Ref<TLabel> control) override { Take(control); }
    void Visit(Ref<TButton> control) override { Take(control); }
    void Visit(Ref<TCheckBox> control) override { Take(control); }
    void Visit(Ref<TRadioButton> control) override { Take(control); }
    void Visit(Ref<TGroupBox> control) override { Take(control); }
    void Visit(Ref<TPanel> control) override { Take(control); }
    void Visit(Ref<TImage> control) override { Take(control); }
    void Visit(Ref<TEdit> control) override { Take(control); }
    void Visit(Ref<TSpinEdit> control) override { Take(control); }
    void Visit(Ref<TTrackBar> control) override { Take(control); }
    void Visit(Ref<TComboBox> control) override { Take(control); }
    void Visit(Ref<TTabSheet> control) override { Take(control); }
    void Visit(Ref<TPageControl> control) override { Take(control); }
    void Visit(Ref<TDialogForm> control) override { Take(control); }

    Result Outcome() {
        if constexpr (!std::is_void_v<Result>) return std::move(*result_);
    }

private:
    template <class Control>
    void Take(Control& control) {
        if constexpr (std::is_void_v<Result>) {
            call_(control);
        } else {
            result_.emplace(call_(control));
        }
    }

    Call& call_;
    std::optional<std::conditional_t<std::is_void_v<Result>, bool, Result>> result_;
};

}  // namespace forms_detail

// Calls the one of `calls` that best takes the control's own class (a call
// for TControl& or TWinControl& takes the classes no other call names) and
// returns what it returns. `control` is a TControl, const or not.
template <class Control, class... Calls>
decltype(auto) VisitControl(Control& control, Calls&&... calls) {
    forms_detail::Overloaded<std::decay_t<Calls>...> call{std::forward<Calls>(calls)...};
    forms_detail::CallingVisitor<std::is_const_v<Control>, decltype(call)> visitor(call);
    control.Accept(visitor);
    return visitor.Outcome();
}
