// Window-system services: message boxes (always echoed to standard error),
// the cursor's display counter, system parameters and metrics, and the
// shell's "open" through the desktop's default handler.
#include "platform/winapi/User.h"

#include "platform/seam/Backend.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>

extern char** environ;

namespace {

std::mutex cursorLock;
int cursorCount = 0;  // the cursor shows while the count is 0 or more

// Result codes of the original shell below 32.
constexpr std::intptr_t SE_ERR_FNF = 2;
constexpr std::intptr_t SE_ERR_OOM = 8;
constexpr std::intptr_t SE_ERR_NOASSOC = 31;
constexpr std::intptr_t kShellExecuteDone = 42;

// Runs the desktop's opener without a shell, in a session of its own so it
// outlives us; a thread reaps it so no zombie is left behind.
std::intptr_t SpawnOpener(const char* target) {
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) {
        return SE_ERR_OOM;
    }
    // The opener and what it starts take no signals we hold blocked.
    sigset_t noSignals;
    sigemptyset(&noSignals);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
    char program[] = "xdg-open";
    // A name starting with '-' would be read as an option of the opener.
    std::string argument = target[0] == '-' ? std::string("./") + target : std::string(target);
    char* argv[] = {program, argument.data(), nullptr};
    pid_t child = 0;
    const int error = posix_spawnp(&child, program, nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        return error == ENOENT ? SE_ERR_FNF : SE_ERR_OOM;
    }
    try {
        std::thread([child] {
            int status = 0;
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // Without a reaper the finished opener stays a zombie until we exit.
    }
    return kShellExecuteDone;
}

}  // namespace

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    const std::string_view shownText = text ? text : "";
    const std::string_view shownCaption = caption ? caption : "Error";
    std::string line;
    line.append(shownCaption).append(": ").append(shownText).append("\n");
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return platform::CurrentBackend().ShowMessageBox(owner, shownText, shownCaption, type);
}

int ShowCursor(BOOL show) {
    std::lock_guard guard(cursorLock);
    cursorCount += show ? 1 : -1;
    platform::CurrentBackend().ShowCursor(cursorCount >= 0);
    return cursorCount;
}

BOOL SystemParametersInfoA(UINT action, UINT /*param*/, void* /*pvParam*/, UINT /*winIni*/) {
    // Announcing a running saver guards against task switching on the
    // original platform; a Linux desktop has nothing to tell.
    return action == SPI_SETSCREENSAVERRUNNING ? TRUE : FALSE;
}

int GetSystemMetrics(int index) {
    if (index != SM_CMONITORS) {
        return 0;
    }
    const int monitors = platform::CurrentBackend().MonitorCount();
    return monitors > 0 ? monitors : 1;
}

BOOL IsWindowVisible(HWND window) {
    return platform::CurrentBackend().IsWindowVisible(window) ? TRUE : FALSE;
}

std::intptr_t ShellExecuteA(HWND /*owner*/, const char* operation, const char* file,
                            const char* /*parameters*/, const char* /*directory*/, int /*showCommand*/) {
    if (file == nullptr || *file == '\0') {
        return SE_ERR_FNF;
    }
    // "open" is the default verb; the desktop's opener knows no other.
    if (operation != nullptr && std::strcmp(operation, "open") != 0) {
        return SE_ERR_NOASSOC;
    }
    return SpawnOpener(file);
}
