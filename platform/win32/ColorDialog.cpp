// The standard colour dialog of Windows.
#include "platform/forms/StdCtrls.h"

#include <commdlg.h>

bool TColorDialog::Execute(HWND owner) {
    COLORREF customColours[16] = {};
    CHOOSECOLORA choice{};
    choice.lStructSize = sizeof choice;
    // Without an owner the dialog the user is working in is blocked while
    // the colour is chosen.
    choice.hwndOwner = owner != 0 ? owner : GetActiveWindow();
    choice.rgbResult = Color;
    choice.lpCustColors = customColours;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&choice)) return false;
    Color = choice.rgbResult;
    return true;
}
