// The settings dialog in the system's own controls: what it shows, and how
// the user's actions reach the form and the form's answers show.
#include "platform/forms/DialogWindow.h"
#include "settings/SetupDialog.h"
#include "solar/CityTable.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string TextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> Descendants(HWND dialog) {
    std::vector<HWND> found;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class SetupDialogView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::OpenDialogDisplay());
        form = std::make_unique<SetupDialog>(Application);
        view = std::make_unique<platform::DialogWindow>(*form);
        view->Show();
        dialog = FindWindowA(nullptr, "Tideway Islands Setup");
        ASSERT_NE(dialog, nullptr);
    }

    // The control showing `caption`, its Alt+letter aside.
    HWND Control(const std::string& caption) const {
        for (const HWND window : Descendants(dialog)) {
            std::string text = TextOf(window);
            text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
            if (text == caption) return window;
        }
        ADD_FAILURE() << "no control \"" << caption << "\"";
        return nullptr;
    }
    HWND OfClass(const char* name) const {
        for (const HWND window : Descendants(dialog)) {
            if (ClassOf(window) == name) return window;
        }
        ADD_FAILURE() << "no control of class " << name;
        return nullptr;
    }
    // The box a text names: the control after it in Tab order.
    HWND BoxAfter(const std::string& caption) const { return GetWindow(Control(caption), GW_HWNDNEXT); }

    static void Type(HWND window, const std::string& keys) {
        for (const char key : keys) SendMessageA(window, WM_CHAR, WPARAM(static_cast<unsigned char>(key)), 0);
    }

    std::unique_ptr<SetupDialog> form;
    std::unique_ptr<platform::DialogWindow> view;
    HWND dialog = nullptr;
};

TEST_F(SetupDialogView, ShowsTheFourPagesInOrderAndEveryCity) {
    const HWND tabs = OfClass(WC_TABCONTROLA);
    ASSERT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    const char* const pages[] = {"Settings", "Display", "Time of Day", "Clock"};
    for (int index = 0; index < 4; ++index) {
        char text[32] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tabs, TCM_GETITEMA, WPARAM(index), reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, pages[index]);
    }
    EXPECT_EQ(SendMessageA(OfClass(WC_COMBOBOXA), CB_GETCOUNT, 0, 0), CityCount);
    EXPECT_EQ(GetDlgItem(dialog, IDOK), Control("OK"));
    EXPECT_EQ(GetDlgItem(dialog, IDCANCEL), Control("Cancel"));
}

TEST_F(SetupDialogView, AClickReachesTheFormAndWhatTheFormChangedShows) {
    const HWND showClock = Control("Show clock");
    const HWND xCentre = BoxAfter("X center");
    const bool shown = form->WorkingCopy().flag_clock;
    ASSERT_EQ(bool(IsWindowEnabled(xCentre)), shown);
    SendMessageA(showClock, BM_CLICK, 0, 0);
    EXPECT_EQ(form->WorkingCopy().flag_clock, !shown);
    EXPECT_EQ(bool(IsWindowEnabled(xCentre)), !shown) << "the clock's boxes follow \"Show clock\"";
    SendMessageA(Control("Default Setting"), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(showClock, BM_GETCHECK, 0, 0),
              form->WorkingCopy().flag_clock ? BST_CHECKED : BST_UNCHECKED);
}

TEST_F(SetupDialogView, AClockNumberTakesDigitsOnly) {
    const HWND radius = BoxAfter("Radius of clock:");
    SetWindowTextA(radius, "");
    Type(radius, "4x-2");
    EXPECT_EQ(TextOf(radius), "42");
    EXPECT_EQ(form->radius.Text(), "42");
}

TEST_F(SetupDialogView, ReturnTakesTheNumberBeingTypedBeforeOK) {
    SendMessageA(Control("Show clock"), BM_SETCHECK, BST_CHECKED, 0);
    form->showClock.SetChecked(true);
    const HWND xCentre = BoxAfter("X center");
    EnableWindow(xCentre, TRUE);
    SetFocus(xCentre);
    SetWindowTextA(xCentre, "400");
    // What the dialog manager sends for Return.
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    EXPECT_EQ(form->WorkingCopy().clockX, 400);
    EXPECT_TRUE(form->Closing());
}

TEST_F(SetupDialogView, TypingCompletesACityNameAndDeletingDoesNot) {
    int expected = -1;
    for (int position = 0; position < CityCount && expected < 0; ++position) {
        const std::string_view name = CityAt(position)->Name();
        if (name.size() > 3 && std::toupper(static_cast<unsigned char>(name[0])) == 'B' &&
            std::toupper(static_cast<unsigned char>(name[1])) == 'E' &&
            std::toupper(static_cast<unsigned char>(name[2])) == 'R')
            expected = position;
    }
    ASSERT_GE(expected, 0);
    const HWND typing = GetWindow(OfClass(WC_COMBOBOXA), GW_CHILD);
    SetFocus(typing);
    SetWindowTextA(typing, "");
    Type(typing, "ber");
    EXPECT_EQ(form->cityList.ItemIndex(), expected);
    EXPECT_EQ(TextOf(typing), std::string(CityAt(expected)->Name()));
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(typing, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 3u) << "the completed part is selected";
    EXPECT_EQ(end, DWORD(CityAt(expected)->Name().size()));
    Type(typing, "\b");
    EXPECT_EQ(TextOf(typing), std::string(CityAt(expected)->Name().substr(0, 3)))
        << "deleting the completion completes nothing";
    EXPECT_EQ(form->WorkingCopy().IndexCity, expected) << "a name no city has keeps the chosen city";
}

}  // namespace
