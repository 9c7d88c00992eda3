// Named, typed values under HKEY_CURRENT_USER\SOFTWARE\<company>\<product>.
// Every call opens the key, moves one value and closes it again; nothing is
// cached, so two forms share values only through the store.
#pragma once

#include "platform/forms/Forms.h"
#include "platform/winapi/Registry.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A value that could not be stored, is missing or has another type; the
// application's standard error box shows the message.
class SettingsStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SettingsStore : public TComponent {
public:
    explicit SettingsStore(TComponent* owner);

    const std::string& CompanyName() const { return companyName_; }
    void SetCompanyName(const std::string& value) { companyName_ = value; }
    const std::string& ProductName() const { return productName_; }
    void SetProductName(const std::string& value) { productName_ = value; }

    // Each returns whether the key could be opened (for a write: opened or
    // created); false leaves a read's destination as it was and stores
    // nothing. A failed transfer throws SettingsStoreError.
    bool Write(const std::string& name, int value);                 // REG_DWORD
    bool Write(const std::string& name, bool value);                // REG_DWORD 0 or 1
    bool Write(const std::string& name, const std::string& value);  // REG_SZ
    bool Write(const std::string& name, const char* value);         // REG_SZ
    bool Write(const std::string& name, float value);               // REG_BINARY, the exact double
    // Any other argument type would convert to one of the above by surprise
    // (a long to bool, a double to int): say which is meant.
    template <class T>
    bool Write(const std::string& name, T value) = delete;

    bool Read(const std::string& name, int* value);
    bool Read(const std::string& name, bool* value);         // any non-zero number is true
    bool Read(const std::string& name, std::string* value);  // missing: empty text
    bool Read(const std::string& name, float* value);

    // Whether the key holds a value of that name, of whatever type or state.
    bool Holds(const std::string& name);

    // Stores the values that `writes` writes together once it returns: over
    // files in one replace, so that a reader finds all of them or none; the
    // system's registry takes them one by one, in order. Answers whether the
    // key could be created and every value stored.
    bool WriteTogether(const std::function<void()>& writes);

private:
    std::string KeyPath() const;
    bool Put(const std::string& name, DWORD type, std::vector<BYTE> data);

    std::string companyName_;
    std::string productName_;
    // Collected while WriteTogether runs its writes.
    std::optional<std::vector<platform::NamedRegistryValue>> pending_;
};
