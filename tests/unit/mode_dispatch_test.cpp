// The screensaver host's switches, and the conversion of their window
// arguments.
#include "platform/forms/SysUtils.h"
#include "shell/ModeDispatch.h"

#include <gtest/gtest.h>

#include <string>

TEST(ModeDispatch, HostSwitchesChooseTheirModes) {
    EXPECT_EQ(ChooseMode(""), SaverMode::Saver);
    EXPECT_EQ(ChooseMode("S"), SaverMode::Saver);
    EXPECT_EQ(ChooseMode("P"), SaverMode::Saver);
    EXPECT_EQ(ChooseMode("/s"), SaverMode::Saver);
    EXPECT_EQ(ChooseMode("-S"), SaverMode::Saver);
    EXPECT_EQ(ChooseMode("/s:5"), SaverMode::Saver);
    EXPECT_EQ(ChooseMode("/c"), SaverMode::Configure);
    EXPECT_EQ(ChooseMode("/c:1234"), SaverMode::Configure);
    EXPECT_EQ(ChooseMode("-C"), SaverMode::Configure);
    EXPECT_EQ(ChooseMode("/p"), SaverMode::Preview);
    EXPECT_EQ(ChooseMode("/a"), SaverMode::ChangePassword);
    EXPECT_EQ(ChooseMode("/x"), SaverMode::Saver);
}

TEST(ModeDispatch, TheFirstCharacterIsDroppedEvenWhenALetter) {
    EXPECT_EQ(ChooseMode("PS"), SaverMode::Saver);
    EXPECT_EQ(ChooseMode("XC"), SaverMode::Configure);
    EXPECT_EQ(ChooseMode("cp"), SaverMode::Preview);
}

TEST(ModeDispatch, NoArgumentAtAllIsWhatItsCallerExpects) {
    // The Windows shell's "Configure" verb passes nothing; XScreenSaver too.
    EXPECT_EQ(ChooseMode({}, SaverMode::Configure), SaverMode::Configure);
    EXPECT_EQ(ChooseMode({}, SaverMode::Saver), SaverMode::Saver);
    // Its "Test" verb passes /S; a one-letter argument is no absent one.
    EXPECT_EQ(ChooseMode({"/S"}, SaverMode::Configure), SaverMode::Saver);
    EXPECT_EQ(ChooseMode({"S"}, SaverMode::Configure), SaverMode::Saver);
    EXPECT_EQ(ChooseMode({"/p", "1234"}, SaverMode::Configure), SaverMode::Preview);
    EXPECT_EQ(ChooseMode({"/c"}, SaverMode::Saver), SaverMode::Configure);
}

TEST(StrToInt, ReadsWindowHandlesAndRejectsAnythingElse) {
    EXPECT_EQ(StrToInt("1234"), 1234);
    EXPECT_EQ(StrToInt(" -17 "), -17);
    EXPECT_EQ(StrToInt("0x1e00004"), 0x1e00004);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    for (const char* wrong : {"", " ", "12a", "abc", "99999999999", "-", "0x"}) {
        try {
            StrToInt(wrong);
            ADD_FAILURE() << wrong;
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.what(), "'" + std::string(wrong) + "' is not a valid integer value");
        }
    }
}
