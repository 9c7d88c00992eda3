#include "platform/Documentation.h"

#include "platform/winapi/WinTypes.h"

namespace platform {

// On Windows the README is shipped beside the program as a text file.
std::string ProgramReadme() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string readme(path, length);
    readme = readme.substr(0, readme.find_last_of("\\/") + 1) + "tidereach.txt";
    return GetFileAttributesA(readme.c_str()) != INVALID_FILE_ATTRIBUTES ? readme : std::string();
}

}  // namespace platform
