// Entries that start this program at the user's every login: XDG autostart
// entries ($XDG_CONFIG_HOME/autostart/NAME.desktop), which every Linux
// desktop runs. Windows has none of ours.
#pragma once

#include <string>

namespace platform {

bool AutostartAvailable();
bool AutostartEntryExists(const std::string& name);
// Runs this program, at the path it runs from now, with `arguments` at every
// login. Throws std::runtime_error with a message fit for the user.
void WriteAutostartEntry(const std::string& name, const std::string& title, const std::string& arguments);
// Throws std::runtime_error where an existing entry cannot be removed.
void RemoveAutostartEntry(const std::string& name);

}  // namespace platform
