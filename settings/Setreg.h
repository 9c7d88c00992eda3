// TSetReg: named, typed values under HKEY_CURRENT_USER\SOFTWARE\<company>\<product>.
// Every call opens the key, moves one value and closes it again; nothing is
// cached, so two forms share values only through the store.
#pragma once

#include "platform/Forms.h"

#include <stdexcept>
#include <string>

using AnsiString = std::string;

// A value that could not be stored, is missing or has another type; the
// application's standard error box shows the message.
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TSetReg : public TComponent {
public:
    explicit TSetReg(TComponent* owner);

    const AnsiString& GetCompanyName() const { return FCompanyName; }
    void SetCompanyName(const AnsiString& value) { FCompanyName = value; }
    const AnsiString& GetProductName() const { return FProductName; }
    void SetProductName(const AnsiString& value) { FProductName = value; }

    // Each returns whether the key could be opened (for a write: opened or
    // created); false leaves a read's destination as it was and stores
    // nothing. A failed transfer throws ERegistryException.
    bool Write(const AnsiString& name, int value);                // REG_DWORD
    bool Write(const AnsiString& name, bool value);               // REG_DWORD 0 or 1
    bool Write(const AnsiString& name, const AnsiString& value);  // REG_SZ
    bool Write(const AnsiString& name, const char* value);        // REG_SZ
    bool Write(const AnsiString& name, float value);              // REG_BINARY, the exact double
    // Any other argument type would convert to one of the above by surprise
    // (a long to bool, a double to int): say which is meant.
    template <class T>
    bool Write(const AnsiString& name, T value) = delete;

    bool Read(const AnsiString& name, int* value);
    bool Read(const AnsiString& name, bool* value);        // any non-zero number is true
    bool Read(const AnsiString& name, AnsiString* value);  // missing: empty text
    bool Read(const AnsiString& name, float* value);

private:
    AnsiString KeyPath() const;

    AnsiString FCompanyName;
    AnsiString FProductName;
};
