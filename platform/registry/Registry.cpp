#include "platform/winapi/Registry.h"

#include "platform/registry/KeyFile.h"

#include <cstring>
#include <optional>

using platform::registry::FileStatus;
using platform::registry::KeyLocation;
using platform::registry::RegDocument;

namespace {

// The key's file as read now: the key exists when the file has its section.
// A file that cannot be read as a whole may hold it, so it counts as there
// and each value reports the damage.
struct KeyText {
    FileStatus status;
    std::optional<RegDocument> document;
    bool HasKey() const { return status == FileStatus::Unreadable || (document && document->HasSection()); }
};

KeyText ReadKey(const KeyLocation& key) {
    platform::registry::KeyFileText file = platform::registry::ReadKeyFile(key.file);
    if (file.status != FileStatus::Ok) return {file.status, std::nullopt};
    return {file.status, RegDocument::Parse(file.text, key.name)};
}

}  // namespace

struct RegistryKey {
    std::optional<KeyLocation> location;  // none for the root
    // The file as the first query read it, so that the size asked and the
    // bytes fetched next come from the same text; dropped by a write.
    std::optional<KeyText> snapshot;
};

namespace {

RegistryKey currentUser;

LSTATUS ReadStatus(FileStatus status) {
    switch (status) {
    case FileStatus::Ok:
        return ERROR_SUCCESS;
    case FileStatus::Missing:
        return ERROR_FILE_NOT_FOUND;
    case FileStatus::Denied:
        return ERROR_ACCESS_DENIED;
    default:
        return ERROR_BADDB;
    }
}

LSTATUS WriteStatus(FileStatus status) {
    switch (status) {
    case FileStatus::Ok:
        return ERROR_SUCCESS;
    case FileStatus::Denied:
        return ERROR_ACCESS_DENIED;
    default:
        return ERROR_WRITE_FAULT;
    }
}

bool IsOpenKey(HKEY key) { return key != nullptr && key->location.has_value(); }

// A line break in a name cannot be written as one line of the export.
bool IsValueName(std::string_view name) { return name.find_first_of("\r\n") == std::string_view::npos; }

// The checks opening and creating share; `unmapped` is the answer for a path
// that names no key file.
LSTATUS LocateSubKey(HKEY root, const char* subKey, HKEY* result, std::optional<KeyLocation>& location,
                     LSTATUS unmapped) {
    if (result == nullptr || subKey == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (root != HKEY_CURRENT_USER) return ERROR_INVALID_HANDLE;
    location = platform::registry::LocateKey(subKey);
    return location ? ERROR_SUCCESS : unmapped;
}

}  // namespace

const HKEY HKEY_CURRENT_USER = &currentUser;

LSTATUS RegCreateKeyExA(HKEY key, const char* subKey, DWORD, char*, DWORD, REGSAM, void*, HKEY* result,
                        DWORD* disposition) {
    std::optional<KeyLocation> location;
    if (LSTATUS status = LocateSubKey(key, subKey, result, location, ERROR_ACCESS_DENIED);
        status != ERROR_SUCCESS) {
        return status;
    }
    KeyText current = ReadKey(*location);
    if (current.status == FileStatus::Denied) return ERROR_ACCESS_DENIED;
    bool created = false;
    if (!current.HasKey()) {
        // Made under the lock, so that a peer creating it at the same moment
        // cannot replace values already written with an empty key.
        FileStatus status = platform::registry::UpdateKeyFile(*location, [&](RegDocument& document) {
            if (document.HasSection()) return false;
            document.AddSection();
            created = true;
            return true;
        });
        if (status != FileStatus::Ok) return WriteStatus(status);
    }
    if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = new RegistryKey{std::move(location), std::nullopt};
    return ERROR_SUCCESS;
}

LSTATUS RegOpenKeyExA(HKEY key, const char* subKey, DWORD, REGSAM, HKEY* result) {
    std::optional<KeyLocation> location;
    if (LSTATUS status = LocateSubKey(key, subKey, result, location, ERROR_FILE_NOT_FOUND);
        status != ERROR_SUCCESS) {
        return status;
    }
    KeyText current = ReadKey(*location);
    if (current.status == FileStatus::Denied) return ERROR_ACCESS_DENIED;
    if (!current.HasKey()) return ERROR_FILE_NOT_FOUND;
    *result = new RegistryKey{std::move(location), std::move(current)};
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExA(HKEY key, const char* valueName, DWORD*, DWORD* type, BYTE* data, DWORD* dataSize) {
    if (!IsOpenKey(key)) return ERROR_INVALID_HANDLE;
    if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
    if (!key->snapshot) key->snapshot = ReadKey(*key->location);
    if (!key->snapshot->document) return ReadStatus(key->snapshot->status);
    platform::registry::LookupResult found =
        key->snapshot->document->Find(valueName != nullptr ? valueName : "");
    if (found.state == platform::registry::Lookup::Missing) return ERROR_FILE_NOT_FOUND;
    if (found.state == platform::registry::Lookup::Unreadable) return ERROR_BADDB;
    const std::vector<BYTE>& bytes = found.value.data;
    if (type != nullptr) *type = found.value.type;
    if (dataSize == nullptr) return ERROR_SUCCESS;
    DWORD size = DWORD(bytes.size());
    if (data != nullptr && *dataSize < size) {
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr && size > 0) std::memcpy(data, bytes.data(), size);
    *dataSize = size;
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExA(HKEY key, const char* valueName, DWORD, DWORD type, const BYTE* data, DWORD dataSize) {
    if (!IsOpenKey(key)) return ERROR_INVALID_HANDLE;
    if (data == nullptr && dataSize > 0) return ERROR_INVALID_PARAMETER;
    std::string_view name = valueName != nullptr ? valueName : "";
    if (!IsValueName(name)) return ERROR_INVALID_PARAMETER;
    platform::registry::RegValue value{
        type, data != nullptr ? std::vector<BYTE>(data, data + dataSize) : std::vector<BYTE>{}};
    key->snapshot.reset();
    return WriteStatus(platform::registry::UpdateKeyFile(*key->location, [&](RegDocument& document) {
        document.Set(name, value);
        return true;
    }));
}

LSTATUS RegDeleteValueA(HKEY key, const char* valueName) {
    if (!IsOpenKey(key)) return ERROR_INVALID_HANDLE;
    bool removed = false;
    key->snapshot.reset();
    FileStatus status = platform::registry::UpdateKeyFile(*key->location, [&](RegDocument& document) {
        removed = document.Remove(valueName != nullptr ? valueName : "");
        return removed;
    });
    if (status != FileStatus::Ok) return WriteStatus(status);
    return removed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LSTATUS RegCloseKey(HKEY key) {
    if (key == nullptr) return ERROR_INVALID_HANDLE;
    if (key != HKEY_CURRENT_USER) delete key;
    return ERROR_SUCCESS;
}

LSTATUS platform::StoreKeyValues(HKEY root, const char* subKey,
                                 const std::vector<NamedRegistryValue>& values) {
    HKEY unused = nullptr;
    std::optional<KeyLocation> location;
    if (LSTATUS status = LocateSubKey(root, subKey, &unused, location, ERROR_ACCESS_DENIED);
        status != ERROR_SUCCESS) {
        return status;
    }
    for (const NamedRegistryValue& value : values) {
        if (!IsValueName(value.name)) return ERROR_INVALID_PARAMETER;
    }
    return WriteStatus(platform::registry::UpdateKeyFile(*location, [&](RegDocument& document) {
        if (!document.HasSection()) document.AddSection();
        for (const NamedRegistryValue& value : values)
            document.Set(value.name, platform::registry::RegValue{value.type, value.data});
        return true;
    }));
}
