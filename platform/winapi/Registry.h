// The per-user registry over files: HKEY_CURRENT_USER\SOFTWARE\<A>\<B> is the
// file $XDG_CONFIG_HOME/<A>/<B>.reg (~/.config when unset) in the REGEDIT4
// export format. Every write replaces the file atomically under a lock. On
// Windows it is the system's own registry.
#pragma once

#include "platform/winapi/WinTypes.h"

#include <string>
#include <vector>

#ifdef _WIN32

// windows.h has declared it.
#else

struct RegistryKey;
using HKEY = RegistryKey*;
using LSTATUS = LONG;
using REGSAM = DWORD;

extern const HKEY HKEY_CURRENT_USER;

inline constexpr LSTATUS ERROR_SUCCESS = 0;
inline constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
inline constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
inline constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
inline constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
inline constexpr LSTATUS ERROR_MORE_DATA = 234;
inline constexpr LSTATUS ERROR_WRITE_FAULT = 29;
// A damaged value line, or a key file that is too large or not text.
inline constexpr LSTATUS ERROR_BADDB = 1009;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

LSTATUS RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* className, DWORD options,
                        REGSAM access, void* security, HKEY* result, DWORD* disposition);
LSTATUS RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result);
LSTATUS RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                         DWORD* dataSize);
LSTATUS RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD dataSize);
LSTATUS RegDeleteValueA(HKEY key, const char* valueName);
LSTATUS RegCloseKey(HKEY key);

#endif  // _WIN32

namespace platform {

struct NamedRegistryValue {
    std::string name;
    DWORD type;
    std::vector<BYTE> data;
};

// Creates the key where it is missing and stores `values` in it, in their
// order. Over files the key's file is replaced once, so that a reader finds
// all of them or none; the system's registry takes them one by one. Answers
// ERROR_SUCCESS or the first failure.
LSTATUS StoreKeyValues(HKEY root, const char* subKey, const std::vector<NamedRegistryValue>& values);

}  // namespace platform
