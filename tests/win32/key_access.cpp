// Makes a key of the current user's registry read-only, or writable again,
// for the end-to-end test of a refused write: key_access <path> read|write.
// Exit code 0 when the key's access list was set.
#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const bool readOnly = std::strcmp(argv[2], "read") == 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, argv[1], 0, READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS)
        return 1;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const char* access = readOnly ? "D:P(A;;KR;;;WD)" : "D:P(A;;KA;;;WD)";
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(access, SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
        RegCloseKey(key);
        return 1;
    }
    const LSTATUS status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? 0 : 1;
}
