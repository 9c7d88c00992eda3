// The idle watcher's settings: after how many idle minutes it starts the
// saver on desktops without a screensaver host, and the Settings page's
// option that turns it on with a login entry.
#pragma once

#include "platform/forms/StdCtrls.h"

class SettingsStore;

constexpr int kDefaultIdleStartMinutes = 10;

// The stored minutes; the default where none (or nonsense) is stored.
int ReadIdleStartMinutes(SettingsStore& store);

// "Start by itself after [N] minutes on desktops without a screensaver":
// on, "OK" stores the minutes and writes the login entry that runs the
// watcher; off, it removes the entry. Only where login entries exist.
class IdleStartOption {
public:
    IdleStartOption(TWinControl* page, TGridPlace place);

    TGroupBox frame;
    TCheckBox startByItself;
    TSpinEdit minutes;
    TLabel rest;

    // On while the login entry exists; the stored minutes.
    void Load(SettingsStore& store);
    // Throws SettingsStoreError, or std::runtime_error for the entry.
    void Save(SettingsStore& store) const;
    void RestoreDefaults();
};
