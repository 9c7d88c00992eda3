// The documentation beside the program. Paths go through the system's UTF-16
// functions: a folder such as C:\Users\Zoë\屏幕保护\ has no spelling in the
// ANSI code page.
#include "platform/Documentation.h"

#include "platform/winapi/WinTypes.h"

#include <shellapi.h>

namespace platform {
namespace {

// The longest path the system's UTF-16 functions take.
constexpr std::size_t kLongestPath = 32768;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string converted(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), converted.data(), size, nullptr, nullptr);
    return converted;
}

std::wstring Utf16(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring converted(std::size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), converted.data(), size);
    return converted;
}

// The program's own file name; empty when the system cannot tell it.
std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    while (path.size() <= kLongestPath) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

}  // namespace

std::string ProgramReadme() {
    const std::wstring program = ProgramPath();
    const std::size_t folderEnd = program.find_last_of(L"\\/");
    if (folderEnd == std::wstring::npos) return {};
    const std::wstring readme = program.substr(0, folderEnd + 1) + L"tidereach.txt";
    const DWORD attributes = GetFileAttributesW(readme.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {};
    return Utf8(readme);
}

bool OpenReadme(const std::string& path) {
    const std::wstring file = Utf16(path);
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    // The caller tells a failure in its own words.
    request.fMask = SEE_MASK_FLAG_NO_UI;
    request.lpVerb = L"open";
    request.lpFile = file.c_str();
    request.nShow = SW_SHOWNORMAL;
    return !file.empty() && ShellExecuteExW(&request) != FALSE;
}

}  // namespace platform
