// The standard colour dialog of Windows.
#include "platform/StdCtrls.h"

#include <commdlg.h>

bool TColorDialog::Execute(HWND owner) {
    COLORREF customColours[16] = {};
    CHOOSECOLORA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.rgbResult = Color;
    choice.lpCustColors = customColours;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&choice)) return false;
    Color = choice.rgbResult;
    return true;
}
