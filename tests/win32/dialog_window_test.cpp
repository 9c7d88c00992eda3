// The settings dialog in the system's own controls: what it shows, and how
// the user's actions reach the form and the form's answers show.
#include "platform/forms/DialogWindow.h"
#include "platform/win32/DialogColors.h"
#include "settings/SetupDialog.h"
#include "solar/CityTable.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
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
    const bool shown = form->WorkingCopy().showClock;
    ASSERT_EQ(bool(IsWindowEnabled(xCentre)), shown);
    SendMessageA(showClock, BM_CLICK, 0, 0);
    EXPECT_EQ(form->WorkingCopy().showClock, !shown);
    EXPECT_EQ(bool(IsWindowEnabled(xCentre)), !shown) << "the clock's boxes follow \"Show clock\"";
    SendMessageA(Control("Default Setting"), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(showClock, BM_GETCHECK, 0, 0),
              form->WorkingCopy().showClock ? BST_CHECKED : BST_UNCHECKED);
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
    EXPECT_EQ(form->WorkingCopy().clockCentreX, 400);
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
    EXPECT_EQ(form->WorkingCopy().cityIndex, expected) << "a name no city has keeps the chosen city";
}

TEST(DialogWindow, TheFormHearsOnceThatItsWindowIsOnTheScreen) {
    ASSERT_TRUE(platform::OpenDialogDisplay());
    TDialogForm form(Application);
    form.Caption = "A form that was shown";
    TButton button(&form, "OK", {});
    int heard = 0;
    bool visibleThen = false;
    form.OnShown = [&](TObject*) {
        ++heard;
        visibleThen = IsWindowVisible(FindWindowA(nullptr, "A form that was shown")) != FALSE;
    };
    platform::DialogWindow view(form);
    EXPECT_EQ(heard, 0) << "not before the window shows";
    view.Show();
    view.Show();
    EXPECT_EQ(heard, 1);
    EXPECT_TRUE(visibleThen);
}

TEST(DialogWindow, TheDialogsThreadHasComForTheShell) {
    ASSERT_TRUE(platform::OpenDialogDisplay());
    const HRESULT before = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_EQ(before, S_OK) << "the thread had COM before the dialog";
    CoUninitialize();
    SetupDialog form(Application);
    platform::DialogWindow view(form);
    // Asking again for the same model answers "already".
    const HRESULT again = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(again, S_FALSE);
    if (SUCCEEDED(again)) CoUninitialize();
}

// tidereach.txt beside the running program, for as long as it lives.
class ReadmeBesideProgram {
public:
    ReadmeBesideProgram() {
        wchar_t program[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        path_ = program;
        path_ = path_.substr(0, path_.find_last_of(L'\\') + 1) + L"tidereach.txt";
        std::ofstream(std::filesystem::path(path_)) << "# Tideway Islands\n";
    }
    ~ReadmeBesideProgram() { DeleteFileW(path_.c_str()); }
    ReadmeBesideProgram(const ReadmeBesideProgram&) = delete;
    ReadmeBesideProgram& operator=(const ReadmeBesideProgram&) = delete;

private:
    std::wstring path_;
};

HWND DocumentationLink() {
    const HWND dialog = FindWindowA(nullptr, "Tideway Islands Setup");
    for (const HWND window : Descendants(dialog)) {
        if (ClassOf(window) == "SysLink" && TextOf(window).find("Documentation") != std::string::npos)
            return window;
    }
    return nullptr;
}

TEST(DialogWindow, TheDocumentationLinkWorksOnlyWithTheFileBesideTheProgram) {
    ASSERT_TRUE(platform::OpenDialogDisplay());
    {
        SetupDialog form(Application);
        platform::DialogWindow view(form);
        view.Show();
        ASSERT_NE(DocumentationLink(), nullptr);
        EXPECT_FALSE(IsWindowEnabled(DocumentationLink()));
    }
    const ReadmeBesideProgram readme;
    SetupDialog form(Application);
    platform::DialogWindow view(form);
    view.Show();
    ASSERT_NE(DocumentationLink(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(DocumentationLink()));
}

// The system's colours for the length of a test.
class SystemColors {
public:
    explicit SystemColors(const std::array<std::pair<int, COLORREF>, 3>& colors) {
        for (const auto& [index, color] : colors) {
            indices_.push_back(index);
            saved_.push_back(GetSysColor(index));
            wanted_.push_back(color);
        }
        SetSysColors(int(indices_.size()), indices_.data(), wanted_.data());
    }
    ~SystemColors() { SetSysColors(int(indices_.size()), indices_.data(), saved_.data()); }
    SystemColors(const SystemColors&) = delete;
    SystemColors& operator=(const SystemColors&) = delete;

private:
    std::vector<int> indices_;
    std::vector<COLORREF> saved_;
    std::vector<COLORREF> wanted_;
};

TEST(DialogColors, HighContrastDrawsLabelsInTheSchemesColours) {
    using platform::win32::ColorsOfLabel;
    // The face, text and grey text of a high-contrast black scheme.
    const SystemColors scheme(
        {{{COLOR_BTNFACE, 0x000000}, {COLOR_BTNTEXT, 0xFFFFFF}, {COLOR_GRAYTEXT, 0x3FF23F}}});

    const auto navyLabel = ColorsOfLabel(clNavy, clBtnFace, false);
    EXPECT_EQ(navyLabel.text, 0x800000u);
    EXPECT_EQ(navyLabel.background, 0x000000u);
    EXPECT_EQ(ColorsOfLabel(clWindowText, clSilver, false).background, 0xC0C0C0u);

    const auto contrastLabel = ColorsOfLabel(clNavy, clBtnFace, true);
    EXPECT_EQ(contrastLabel.text, 0xFFFFFFu);
    EXPECT_EQ(contrastLabel.background, 0x000000u);
    const auto contrastNote = ColorsOfLabel(clWindowText, clSilver, true);
    EXPECT_EQ(contrastNote.text, 0xFFFFFFu);
    EXPECT_EQ(contrastNote.background, 0x000000u) << "no silver under white text";
    EXPECT_EQ(ColorsOfLabel(clInactiveCaption, clBtnFace, true).text, 0x3FF23Fu)
        << "a greyed text stays told apart, in the scheme's grey";
}

}  // namespace
