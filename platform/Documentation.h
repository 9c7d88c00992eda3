// Where the program's own documentation is, and opening it.
#pragma once

#include <string>

namespace platform {

// The program's README: the installed one (<prefix>/share/doc/tidereach
// beside <prefix>/bin, or /usr/share/doc/tidereach), else, for a program run
// from its build folder, the one at the top of the source tree. Empty when
// none is found. On Windows: tidereach.txt beside the program. The path is
// UTF-8 on both systems.
std::string ProgramReadme();

// Opens a README that ProgramReadme found with the desktop's viewer for it;
// false when no viewer could be started for it.
bool OpenReadme(const std::string& path);

}  // namespace platform
