// The program: reads the command line, installs a back end and runs the
// chosen mode. Every screensaver mode ends with exit code 0.
#pragma once

#include <string>
#include <vector>

int RunProgram(const std::vector<std::string>& arguments);
