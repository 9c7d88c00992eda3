// The headless back end with its defaults is the process's default one.
#include "platform/seam/DefaultBackend.h"

#include "platform/backends/headless/HeadlessBackend.h"

namespace platform {

std::unique_ptr<Backend> MakeDefaultBackend() { return headless::MakeBackend({}); }

}  // namespace platform
