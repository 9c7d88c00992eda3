#include "platform/forms/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace {

// A form with one control of each kind that has framework behaviour, and a
// log of the handlers that ran.
struct Form : TDialogForm {
    Form() : TDialogForm(nullptr) {
        for (TControl* control :
             std::vector<TControl*>{&box, &first, &second, &spin, &track, &combo, &other}) {
            control->OnClick = [this, control](TObject*) { log.push_back("click " + control->Caption); };
        }
        spin.OnChange = [this](TObject*) { log.push_back("spin " + std::to_string(int(spin.Value()))); };
        track.OnChange = [this](TObject*) { log.push_back("track " + std::to_string(track.Position())); };
        combo.OnChange = [this](TObject*) { log.push_back("combo " + std::to_string(combo.ItemIndex())); };
        first.OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
            log.push_back("up first");
        };
        spin.MaxValue = 10;
        track.Max = 256;
        combo.Items = {"AACHEN GE", "BERGEN NO", "BERGEN NO"};
    }
    std::vector<std::string> log;
    TGroupBox group{this, "group", {}};
    TCheckBox box{this, "box", {}};
    TRadioButton first{&group, "first", {}};
    TRadioButton second{&group, "second", {}};
    TRadioButton other{this, "other", {}};  // another parent: another group
    TSpinEdit spin{this, "spin", {}};
    TTrackBar track{this, "track", {}};
    TComboBox combo{this, "combo", {}};
};

TEST(StandardControls, HandlersRunOnlyWhenTheShownStateChanges) {
    Form form;
    form.box.SetChecked(false);
    form.box.SetChecked(true);
    form.box.SetChecked(true);
    form.spin.SetValue(0);
    form.spin.SetValue(15);  // shows 10
    form.spin.SetValue(12);  // still 10
    form.track.SetPosition(-4);
    form.track.SetPosition(300);
    form.track.SetPosition(256);
    EXPECT_EQ(form.log, (std::vector<std::string>{"click box", "spin 10", "track 256"}));
    EXPECT_EQ(form.spin.Value(), 10);
}

TEST(StandardControls, AnOptionClearsItsGroupAndClicksOnlyWhenItBecomesChecked) {
    Form form;
    form.other.SetChecked(true);
    form.first.SetChecked(true);
    form.first.SetChecked(true);
    form.second.SetChecked(true);
    EXPECT_FALSE(form.first.Checked());
    EXPECT_TRUE(form.other.Checked());  // not of that group
    form.second.SetChecked(false);      // clearing runs nothing
    EXPECT_FALSE(form.second.Checked());
    EXPECT_EQ(form.log, (std::vector<std::string>{"click other", "click first", "click second"}));
}

TEST(StandardControls, ADisabledControlGetsNoMouseRelease) {
    Form form;
    form.first.MouseUp(TMouseButton::mbRight);
    form.first.Enabled = false;
    form.first.MouseUp(TMouseButton::mbLeft);
    EXPECT_EQ(form.log, (std::vector<std::string>{"up first"}));
}

TEST(StandardControls, AComboBoxSelectsQuietlyAndReportsTheUsersChoice) {
    Form form;
    form.combo.SetItemIndex(1);
    EXPECT_EQ(form.combo.Text(), "BERGEN NO");
    form.combo.SetItemIndex(7);
    EXPECT_EQ(form.combo.ItemIndex(), -1);
    EXPECT_EQ(form.combo.Text(), "");
    form.combo.UserSelect(2);          // the second of two equal names
    form.combo.UserEdit("bergen no");  // typed: the first equal name
    form.combo.UserEdit("BERG");
    EXPECT_EQ(form.combo.Text(), "BERG");
    EXPECT_EQ(form.log, (std::vector<std::string>{"combo 2", "combo 1", "combo -1"}));
}

TEST(StandardControls, AKeyPressHandlerCanDiscardTheKey) {
    Form form;
    TEdit edit(&form, "", {});
    edit.OnKeyPress = [](TObject*, char& key) {
        if (key == 'x') key = 0;
    };
    char typed = 'x';
    edit.KeyPress(typed);
    EXPECT_EQ(typed, 0);
    typed = 'y';
    edit.KeyPress(typed);
    EXPECT_EQ(typed, 'y');
}

// True when a visit of `control`, const and not, reaches the call for its
// own class and no other.
template <class Control>
bool VisitedAs(Control& control) {
    const auto own = [](auto& visited) {
        return std::is_same_v<std::remove_cvref_t<decltype(visited)>, Control>;
    };
    const TControl& shown = control;
    return VisitControl(static_cast<TControl&>(control), own) && VisitControl(shown, own);
}

TEST(StandardControls, EachControlClassIsVisitedAsItself) {
    Form form;
    TPanel panel(&form, "", {});
    TImage image(&form, "", {});
    TEdit edit(&form, "", {});
    TPageControl pages(&form, "", {});
    TTabSheet sheet(&pages, "", {});
    TLabel label(&sheet, "", {});
    TButton button(&sheet, "", {});
    TWinControl plain(&sheet, "", {});
    EXPECT_TRUE(VisitedAs(panel) && VisitedAs(image) && VisitedAs(edit) && VisitedAs(pages) &&
                VisitedAs(sheet) && VisitedAs(label) && VisitedAs(button) && VisitedAs(plain));
    EXPECT_TRUE(VisitedAs(form.group) && VisitedAs(form.box) && VisitedAs(form.first) &&
                VisitedAs(form.spin) && VisitedAs(form.track) && VisitedAs(form.combo));
    // A form's own class is visited as the dialog form it is made from.
    EXPECT_TRUE(VisitControl(
        static_cast<TControl&>(form), [](TDialogForm&) { return true; }, [](TControl&) { return false; }));
}

TEST(StandardControls, AVisitWithoutACallForTheClassTakesTheNearestBaseClass) {
    Form form;
    TLabel label(&form, "", {});
    const auto kind = [](const TControl& control) {
        return VisitControl(
            control, [](const TRadioButton&) { return "option"; },
            [](const TWinControl&) { return "container"; }, [](const TControl&) { return "control"; });
    };
    EXPECT_STREQ(kind(form.first), "option");
    EXPECT_STREQ(kind(form.group), "container");
    EXPECT_STREQ(kind(form), "container");
    EXPECT_STREQ(kind(label), "control");
}

TEST(StandardControls, ThePagesAreTheTabSheetsAmongThePageControlsControls) {
    TDialogForm form(nullptr);
    TPageControl pages(&form, "", {});
    TTabSheet first(&pages, "", {});
    TLabel stray(&pages, "", {});
    TTabSheet second(&pages, "", {});
    EXPECT_EQ(pages.Sheets(), (std::vector<TTabSheet*>{&first, &second}));
}

TEST(StandardControls, TheColourDialogWithoutAWindowSystemIsCancelled) {
    TColorDialog dialog(nullptr);
    dialog.Color = 0x123456;
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Color, 0x123456u);
}

}  // namespace
