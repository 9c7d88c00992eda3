#include "settings/SettingsStore.h"

#include "platform/winapi/Registry.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Closes the key however the transfer ends, a thrown error included.
class OpenedKey {
public:
    OpenedKey() = default;
    ~OpenedKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

[[noreturn]] void Raise(const char* what, const std::string& name) {
    throw SettingsStoreError(std::string(what) + " for '" + name + "'");
}

// Fetches a value of a fixed size; anything but `size` bytes of `type` is
// the wrong type.
void Fetch(HKEY key, const std::string& name, DWORD type, BYTE* data, DWORD size) {
    DWORD storedType = REG_NONE;
    DWORD storedSize = size;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &storedType, data, &storedSize) != ERROR_SUCCESS) {
        Raise("Failed to get data", name);
    }
    if (storedType != type || storedSize != size) Raise("Invalid data type", name);
}

template <std::size_t N>
std::vector<BYTE> LittleEndian(std::uint64_t value) {
    std::vector<BYTE> bytes(N);
    for (std::size_t i = 0; i < N; ++i) bytes[i] = BYTE(value >> (8 * i));
    return bytes;
}

template <std::size_t N>
std::uint64_t GetLittleEndian(const BYTE (&bytes)[N]) {
    std::uint64_t value = 0;
    for (std::size_t i = N; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

int FetchInteger(HKEY key, const std::string& name) {
    BYTE bytes[4] = {};
    Fetch(key, name, REG_DWORD, bytes, sizeof bytes);
    return int(std::int32_t(std::uint32_t(GetLittleEndian(bytes))));
}

// Opens (for writing, creates) the key, runs `transfer` on it and closes it.
template <class Transfer>
bool WithKey(const std::string& path, bool create, Transfer transfer) {
    OpenedKey key;
    LSTATUS status =
        create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, key.out(), nullptr)
               : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, key.out());
    if (status != ERROR_SUCCESS) return false;
    transfer(key.get());
    return true;
}

}  // namespace

SettingsStore::SettingsStore(TComponent* owner) : TComponent(owner) {}

std::string SettingsStore::KeyPath() const { return "SOFTWARE\\" + companyName_ + "\\" + productName_; }

bool SettingsStore::Put(const std::string& name, DWORD type, std::vector<BYTE> data) {
    if (pending_) {
        pending_->push_back({name, type, std::move(data)});
        return true;
    }
    return WithKey(KeyPath(), true, [&](HKEY key) {
        if (RegSetValueExA(key, name.c_str(), 0, type, data.data(), DWORD(data.size())) != ERROR_SUCCESS)
            Raise("Failed to set data", name);
    });
}

bool SettingsStore::Write(const std::string& name, int value) {
    return Put(name, REG_DWORD, LittleEndian<4>(std::uint32_t(value)));
}

bool SettingsStore::Write(const std::string& name, bool value) { return Write(name, value ? 1 : 0); }

bool SettingsStore::Write(const std::string& name, const std::string& value) {
    const auto* text = reinterpret_cast<const BYTE*>(value.c_str());
    return Put(name, REG_SZ, std::vector<BYTE>(text, text + value.size() + 1));
}

bool SettingsStore::Write(const std::string& name, const char* value) {
    return Write(name, std::string(value));
}

bool SettingsStore::Write(const std::string& name, float value) {
    return Put(name, REG_BINARY, LittleEndian<8>(std::bit_cast<std::uint64_t>(double(value))));
}

bool SettingsStore::WriteTogether(const std::function<void()>& writes) {
    pending_.emplace();
    try {
        writes();
    } catch (...) {
        pending_.reset();
        throw;
    }
    const std::vector<platform::NamedRegistryValue> values = std::move(*pending_);
    pending_.reset();
    return platform::StoreKeyValues(HKEY_CURRENT_USER, KeyPath().c_str(), values) == ERROR_SUCCESS;
}

bool SettingsStore::Holds(const std::string& name) {
    bool held = false;
    WithKey(KeyPath(), false, [&](HKEY key) {
        held =
            RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_FILE_NOT_FOUND;
    });
    return held;
}

bool SettingsStore::Read(const std::string& name, int* value) {
    return WithKey(KeyPath(), false, [&](HKEY key) { *value = FetchInteger(key, name); });
}

bool SettingsStore::Read(const std::string& name, bool* value) {
    return WithKey(KeyPath(), false, [&](HKEY key) { *value = FetchInteger(key, name) != 0; });
}

bool SettingsStore::Read(const std::string& name, std::string* value) {
    return WithKey(KeyPath(), false, [&](HKEY key) {
        DWORD size = 0;
        LSTATUS status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &size);
        if (status == ERROR_FILE_NOT_FOUND || (status == ERROR_SUCCESS && size == 0)) {
            value->clear();
            return;
        }
        if (status != ERROR_SUCCESS) Raise("Failed to get data", name);
        std::vector<BYTE> bytes(size);
        DWORD type = REG_NONE;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS) {
            Raise("Failed to get data", name);
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ) Raise("Invalid data type", name);
        const auto* text = reinterpret_cast<const char*>(bytes.data());
        *value = std::string(text, strnlen(text, size));
    });
}

bool SettingsStore::Read(const std::string& name, float* value) {
    return WithKey(KeyPath(), false, [&](HKEY key) {
        BYTE bytes[8] = {};
        Fetch(key, name, REG_BINARY, bytes, sizeof bytes);
        *value = float(std::bit_cast<double>(GetLittleEndian(bytes)));
    });
}
