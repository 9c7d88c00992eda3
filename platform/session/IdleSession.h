// The desktop session as the idle watcher sees it: when input rests and
// returns, who holds the screensaver off, whether the session is locked, and
// the saver it runs as a child. The desktop's own buses and protocols stay
// inside this back end.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::session {

// What the session tells the watcher, one call at a time on the thread that
// runs the session.
class SessionEvents {
public:
    virtual ~SessionEvents() = default;
    // Input has rested for the whole time asked for.
    virtual void Idle() = 0;
    // Input again after Idle.
    virtual void Active() = 0;
    // A program (a film, a presentation) holds the screensaver off, or
    // the last one let go.
    virtual void Inhibited(bool held) = 0;
    virtual void Locked(bool locked) = 0;
    // The saver the session started has ended, by its own rules or by Stop.
    virtual void SaverEnded() = 0;
};

class SaverProcess {
public:
    virtual ~SaverProcess() = default;
    // Starts the saver full screen as a child process; a saver that could
    // not start is reported as ended at once.
    virtual void Start() = 0;
    // Asks the running saver to end; SaverEnded follows.
    virtual void Stop() = 0;
};

class IdleSession {
public:
    // Connects to the session's display and buses. `saverArguments` follow
    // this program's own path. nullptr with the reason in `error` where the
    // desktop offers no idle signal this back end can read.
    static std::unique_ptr<IdleSession> Open(std::chrono::milliseconds idleAfter,
                                             std::vector<std::string> saverArguments, std::string* error);
    virtual ~IdleSession() = default;

    // The screensaver host that runs on this desktop, as its users know it
    // ("XScreenSaver"), if any.
    virtual std::optional<std::string> RunningHost() = 0;
    virtual SaverProcess& Saver() = 0;
    // Tells `events` what happens until SIGTERM, SIGINT, SIGHUP or the end of
    // the session; a saver still running then is ended before it returns.
    virtual void Run(SessionEvents& events) = 0;
};

}  // namespace platform::session
