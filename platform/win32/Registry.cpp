#include "platform/winapi/Registry.h"

LSTATUS platform::StoreKeyValues(HKEY root, const char* subKey,
                                 const std::vector<NamedRegistryValue>& values) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                     nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    for (const NamedRegistryValue& value : values) {
        status = RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                                DWORD(value.data.size()));
        if (status != ERROR_SUCCESS) break;
    }
    RegCloseKey(key);
    return status;
}
