#include "platform/Autostart.h"

// Windows starts screensavers itself.
namespace platform {

bool AutostartAvailable() { return false; }
bool AutostartEntryExists(const std::string&) { return false; }
void WriteAutostartEntry(const std::string&, const std::string&, const std::string&) {}
void RemoveAutostartEntry(const std::string&) {}

}  // namespace platform
