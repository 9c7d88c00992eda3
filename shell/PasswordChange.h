// Password-change mode: asks the system's password provider, where one exists.
#pragma once

#include <string>

void RunPasswordChange(const std::string& parentWindowArgument);
