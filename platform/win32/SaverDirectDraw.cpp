#include "platform/win32/SaverDirectDraw.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace platform::win32 {

namespace {

constexpr wchar_t kWineSettings[] = L"Software\\Wine";
constexpr wchar_t kThreadValue[] = L"csmt";

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring ProgramFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

bool HasValue(const std::wstring& key, const wchar_t* name) {
    return RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

// A DWORD setting written for as long as the object lives. The keys it has
// to make are made one level at a time, so that exactly those are taken away
// again, deepest first (a key that was given a subkey meanwhile stays).
class TemporarySetting {
public:
    TemporarySetting(const std::wstring& key, const wchar_t* name, DWORD value) : name_(name) {
        std::size_t start = 0;
        while (start <= key.size()) {
            const std::size_t end = std::min(key.find(L'\\', start), key.size());
            const std::wstring path = key.substr(0, end);
            HKEY opened = nullptr;
            DWORD disposition = 0;
            if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_SET_VALUE, nullptr, &opened, &disposition) != ERROR_SUCCESS)
                return;
            RegCloseKey(opened);
            if (disposition == REG_CREATED_NEW_KEY) made_.push_back(path);
            start = end + 1;
        }
        if (RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &value, sizeof value) ==
            ERROR_SUCCESS)
            key_ = key;
    }
    ~TemporarySetting() {
        if (!key_.empty()) RegDeleteKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_);
        for (auto made = made_.rbegin(); made != made_.rend(); ++made)
            if (RegDeleteKeyW(HKEY_CURRENT_USER, made->c_str()) != ERROR_SUCCESS) break;
    }
    TemporarySetting(const TemporarySetting&) = delete;
    TemporarySetting& operator=(const TemporarySetting&) = delete;

private:
    const wchar_t* name_;
    std::wstring key_;
    std::vector<std::wstring> made_;
};

// Where Wine reads the Direct3D settings of the program named `program`.
std::wstring ProgramDirect3DKey(const std::wstring& program) {
    return std::wstring(kWineSettings) + L"\\AppDefaults\\" + program + L"\\Direct3D";
}

}  // namespace

SaverDirectDraw::SaverDirectDraw() {
    std::optional<TemporarySetting> noCommandThread;
    const std::wstring program = ProgramFileName();
    if (RunningUnderWine() && !program.empty()) {
        const std::wstring programKey = ProgramDirect3DKey(program);
        if (!HasValue(programKey, kThreadValue) &&
            !HasValue(std::wstring(kWineSettings) + L"\\Direct3D", kThreadValue))
            noCommandThread.emplace(programKey, kThreadValue, 0);
    }
    library_.reset(LoadLibraryExA("ddraw.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

}  // namespace platform::win32
