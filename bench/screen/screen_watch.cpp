// Watches the X screen from outside while it runs a program: the time from
// exec to the first non-black pixel, the frames shown (whole-screen updates
// counted with the X DAMAGE extension), the program's processor time, its
// peak resident memory and the time it takes to end. Prints key=value lines.
//
//   screen_watch [--end-with-key] SECONDS -- PROGRAM ARGUMENTS...
//
// The screen must start black (Xvfb -br), so that the first non-black pixel
// is the program's first frame. The program is measured over SECONDS after
// a warm-up of one second past its first frame, then ended with SIGTERM, or
// with a key press (XTEST) where asked, as a user ends a screensaver.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Processor time of a process (user + system) in seconds.
double CpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    unsigned long long utime = 0;
    unsigned long long stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoull(field);
        if (i == 15) stime = std::stoull(field);
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

// A field of /proc/PID/status in kB.
long StatusKb(pid_t pid, const std::string& name) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0) return std::strtol(line.c_str() + name.size() + 1, nullptr, 10);
    }
    return -1;
}

struct ImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

// Whether any pixel of the area shows something other than black.
bool AnyLit(Display* display, Window root, int x, int y, int width, int height) {
    std::unique_ptr<XImage, ImageDeleter> image(
        XGetImage(display, root, x, y, unsigned(width), unsigned(height), AllPlanes, ZPixmap));
    if (!image) return false;
    if (image->bits_per_pixel == 32) {
        for (int row = 0; row < height; ++row) {
            const auto* pixels =
                reinterpret_cast<const std::uint32_t*>(image->data + row * image->bytes_per_line);
            for (int column = 0; column < width; ++column)
                if ((pixels[column] & 0xFFFFFF) != 0) return true;
        }
        return false;
    }
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            if ((XGetPixel(image.get(), column, row) & 0xFFFFFF) != 0) return true;
    return false;
}

// Ends the program the way asked and waits for it: the seconds that took.
// A program that a key does not end within ten seconds is sent SIGTERM.
double End(Display* display, pid_t child, bool withKey) {
    const Clock::time_point asked = Clock::now();
    if (!withKey) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
        return Seconds(Clock::now() - asked);
    }
    const KeyCode key = XKeysymToKeycode(display, XK_q);
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    XFlush(display);
    while (waitpid(child, nullptr, WNOHANG) != child) {
        if (Seconds(Clock::now() - asked) > 10) {
            std::fprintf(stderr, "screen_watch: a key did not end the program\n");
            kill(child, SIGTERM);
            waitpid(child, nullptr, 0);
            return -1;
        }
        usleep(1000);
    }
    return Seconds(Clock::now() - asked);
}

pid_t Start(char** argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }
    return pid;
}

}  // namespace

int main(int argc, char** argv) {
    const bool endWithKey = argc > 1 && std::string(argv[1]) == "--end-with-key";
    if (endWithKey) {
        --argc;
        ++argv;
    }
    if (argc < 4 || std::string(argv[2]) != "--") {
        std::fprintf(stderr, "usage: %s [--end-with-key] SECONDS -- PROGRAM ARGUMENTS...\n", argv[0]);
        return 2;
    }
    const double measured = std::atof(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "screen_watch: no X display\n");
        return 1;
    }
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "screen_watch: the X server has no DAMAGE extension\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    XWindowAttributes screen{};
    XGetWindowAttributes(display, root, &screen);
    // Child windows' drawing reaches the root's damage through IncludeInferiors.
    XSetSubwindowMode(display, DefaultGC(display, DefaultScreen(display)), IncludeInferiors);
    const Damage damage = XDamageCreate(display, root, XDamageReportRawRectangles);
    XSync(display, False);
    if (AnyLit(display, root, 0, 0, screen.width, screen.height)) {
        std::fprintf(stderr, "screen_watch: the screen is not black before the start (Xvfb -br)\n");
        return 1;
    }

    const Clock::time_point start = Clock::now();
    const pid_t child = Start(argv + 3);
    std::optional<Clock::time_point> firstFrame;
    std::optional<Clock::time_point> measureFrom;
    double cpuFrom = 0;
    long frames = 0;
    const long wholeScreen = long(screen.width) * screen.height / 2;
    long area = 0;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (measureFrom && Seconds(now - *measureFrom) >= measured) break;
        if (!firstFrame && Seconds(now - start) > 30) {
            std::fprintf(stderr, "screen_watch: no frame within 30 s\n");
            break;
        }
        if (firstFrame && !measureFrom && Seconds(now - *firstFrame) >= 1.0) {
            measureFrom = now;
            cpuFrom = CpuSeconds(child);
            frames = 0;
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "screen_watch: the program ended early\n");
            return 1;
        }
        if (XPending(display) == 0) {
            poll(&connection, 1, 10);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != damageEvent + XDamageNotify) continue;
        const auto& notify = reinterpret_cast<const XDamageNotifyEvent&>(event);
        area += long(notify.area.width) * notify.area.height;
        if (notify.more) continue;
        // One request's damage ends here: a frame when it covers most of the screen.
        if (!firstFrame &&
            AnyLit(display, root, notify.area.x, notify.area.y, notify.area.width, notify.area.height)) {
            firstFrame = Clock::now();
        }
        if (area >= wholeScreen) ++frames;
        area = 0;
    }
    const double window = measureFrom ? Seconds(Clock::now() - *measureFrom) : 0;
    const double cpu = CpuSeconds(child) - cpuFrom;
    const long peakKb = StatusKb(child, "VmHWM");
    const double ending = End(display, child, endWithKey);
    XDamageDestroy(display, damage);
    XCloseDisplay(display);
    if (!firstFrame) return 1;
    std::printf("first_frame_ms=%.1f\n", Seconds(*firstFrame - start) * 1000);
    std::printf("fps=%.1f\n", window > 0 ? double(frames) / window : 0);
    std::printf("cpu_percent=%.1f\n", window > 0 ? cpu / window * 100 : 0);
    std::printf("peak_rss_mb=%.1f\n", double(peakKb) / 1024);
    std::printf("end_ms=%.1f\n", ending * 1000);
    return 0;
}
