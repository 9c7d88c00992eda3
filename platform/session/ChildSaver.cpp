#include "platform/session/ChildSaver.h"

#include <glib.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <iostream>

namespace platform::session {

namespace {

// In the child before it runs the saver: the watcher's death ends it too.
void EndWithParent(void* watcher) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != static_cast<pid_t>(reinterpret_cast<std::intptr_t>(watcher))) raise(SIGTERM);
}

}  // namespace

ChildSaver::ChildSaver(std::vector<std::string> command, std::function<void()> ended)
    : command_(std::move(command)), ended_(std::move(ended)) {}

ChildSaver::~ChildSaver() {
    if (watch_ != 0) g_source_remove(watch_);
    if (pid_ > 0) kill(pid_, SIGKILL);
}

void ChildSaver::Start() {
    if (pid_ > 0) return;
    std::vector<char*> argv;
    for (std::string& argument : command_) argv.push_back(argument.data());
    argv.push_back(nullptr);
    GPid pid = 0;
    GError* error = nullptr;
    const auto watcher = reinterpret_cast<void*>(static_cast<std::intptr_t>(getpid()));
    if (!g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, EndWithParent, watcher, &pid,
                       &error)) {
        std::cerr << "tidereach: the saver did not start: " << error->message << "\n";
        g_error_free(error);
        ended_();
        return;
    }
    pid_ = pid;
    watch_ = g_child_watch_add(pid, OnExit, this);
}

void ChildSaver::Stop() {
    if (pid_ > 0) kill(pid_, SIGTERM);
}

void ChildSaver::OnExit(int pid, int status, void* self) {
    auto* saver = static_cast<ChildSaver*>(self);
    // The saver's own failures reach the session's log.
    if (WIFSIGNALED(status) && WTERMSIG(status) != SIGTERM)
        std::cerr << "tidereach: the saver ended by signal " << WTERMSIG(status) << "\n";
    else if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        std::cerr << "tidereach: the saver ended with exit code " << WEXITSTATUS(status) << "\n";
    g_spawn_close_pid(pid);
    saver->pid_ = 0;
    saver->watch_ = 0;
    saver->ended_();
}

void ChildSaver::StopAndWait(std::chrono::milliseconds patience) {
    if (pid_ <= 0) return;
    Stop();
    const gint64 deadline = g_get_monotonic_time() + patience.count() * 1000;
    while (pid_ > 0 && g_get_monotonic_time() < deadline) {
        // A tick bounds each wait for the child.
        GSource* tick = g_timeout_source_new(50);
        g_source_set_callback(
            tick, [](void*) -> gboolean { return G_SOURCE_REMOVE; }, nullptr, nullptr);
        g_source_attach(tick, nullptr);
        g_main_context_iteration(nullptr, TRUE);
        g_source_destroy(tick);
        g_source_unref(tick);
    }
    if (pid_ > 0) kill(pid_, SIGKILL);
    while (pid_ > 0) g_main_context_iteration(nullptr, TRUE);
}

}  // namespace platform::session
