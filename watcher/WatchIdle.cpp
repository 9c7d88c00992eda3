#include "watcher/WatchIdle.h"

#include "platform/session/IdleSession.h"
#include "settings/IdleStart.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "watcher/IdleWatcher.h"

#include <iostream>

int RunWatchIdle(std::optional<int> afterSeconds) {
    SettingsStore store = SaverSettingsStore(nullptr);
    const std::chrono::seconds after = afterSeconds ? std::chrono::seconds(*afterSeconds)
                                                    : std::chrono::minutes(ReadIdleStartMinutes(store));
    std::string error;
    const auto session = platform::session::IdleSession::Open(after, {"/s"}, &error);
    if (!session) {
        std::cerr << "tidereach: the idle watcher cannot run here: " << error << "\n";
        return 1;
    }
    if (const auto host = session->RunningHost()) {
        std::cerr << "tidereach: " << *host
                  << " runs the screensavers of this session and starts the saver itself; "
                     "the idle watcher is not needed and ends\n";
        return 0;
    }
    IdleWatcher watcher(session->Saver());
    session->Run(watcher);
    return 0;
}
