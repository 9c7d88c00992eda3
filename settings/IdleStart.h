// The idle watcher's settings: after how many idle minutes it starts the
// saver on desktops without a screensaver host.
#pragma once

class SettingsStore;

constexpr int kDefaultIdleStartMinutes = 10;

// The stored minutes; the default where none (or nonsense) is stored.
int ReadIdleStartMinutes(SettingsStore& store);
