// The headless back end's table of forced answers. Internal to platform/.
#pragma once

#include "platform/seam/Backend.h"

namespace platform::headless {

// The one table of the process: faults injected before a back end is
// installed still apply to it.
DisplayFaults& FaultTable();

}  // namespace platform::headless
