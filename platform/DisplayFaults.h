// Forced answers of the display operations. Every display operation counts
// its call here first and, when a fault is due, answers with its code and
// does nothing else. Internal to platform/.
#pragma once

#include "platform/headless/Headless.h"

#include <optional>

namespace platform {

// Counts a call of `op`; the code to answer when a fault is pending for it.
std::optional<HRESULT> TakeDisplayFault(headless::DisplayOp op);

}  // namespace platform
