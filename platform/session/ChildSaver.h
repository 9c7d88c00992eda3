// The saver as a child process, so that its failure never takes the watcher
// down. It also ends when the watcher dies, by whatever means.
#pragma once

#include "platform/session/IdleSession.h"

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace platform::session {

class ChildSaver final : public SaverProcess {
public:
    // `command` is the program and its arguments; `ended` is called from the
    // default main context.
    ChildSaver(std::vector<std::string> command, std::function<void()> ended);
    ~ChildSaver() override;
    ChildSaver(const ChildSaver&) = delete;
    ChildSaver& operator=(const ChildSaver&) = delete;

    void Start() override;
    void Stop() override;
    bool Running() const { return pid_ > 0; }
    // Stops a running saver and waits for it, iterating the default main
    // context; one that ignores the request for `patience` is killed.
    void StopAndWait(std::chrono::milliseconds patience);

private:
    static void OnExit(int pid, int status, void* self);

    std::vector<std::string> command_;
    std::function<void()> ended_;
    pid_t pid_ = 0;
    unsigned watch_ = 0;
};

}  // namespace platform::session
