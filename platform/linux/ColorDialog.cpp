// The standard colour dialog, as the back end offers it.
#include "platform/forms/StdCtrls.h"
#include "platform/seam/Backend.h"

bool TColorDialog::Execute(HWND owner) {
    COLORREF chosen = Color;
    if (!platform::CurrentBackend().ChooseColor(owner, chosen)) return false;
    Color = chosen;
    return true;
}
