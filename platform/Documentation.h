// Where the program's own documentation is.
#pragma once

#include <string>

namespace platform {

// The program's README: the installed one (<prefix>/share/doc/tidereach
// beside <prefix>/bin, or /usr/share/doc/tidereach), else, for a program run
// from its build folder, the one at the top of the source tree. Empty when
// none is found. On Windows: tidereach.txt beside the program.
std::string ProgramReadme();

}  // namespace platform
