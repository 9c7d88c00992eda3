// The headless back end as an object, for the process's default back end.
// Internal to platform/.
#pragma once

#include "platform/backends/headless/Headless.h"

#include <memory>

namespace platform::headless {

std::unique_ptr<Backend> MakeBackend(const Config& config);

}  // namespace platform::headless
