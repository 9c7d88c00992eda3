// The back end a process uses while none is installed (tests, tools). A back
// end supplies it and the program links that one, so the seam names none.
#pragma once

#include "platform/seam/Backend.h"

#include <memory>

namespace platform {

std::unique_ptr<Backend> MakeDefaultBackend();

}  // namespace platform
