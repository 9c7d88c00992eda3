#include "platform/backends/sdl/ConnectRetry.h"
#include "platform/backends/sdl/ScreenCovers.h"
#include "platform/backends/sdl/SdlBackend.h"
#include "platform/backends/sdl/X11Windows.h"
#include "platform/directdraw/Presentation.h"
#include "platform/forms/Forms.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using platform::EventKind;
using platform::WindowEvent;
using platform::sdl::SdlBackend;

// One back end for the suite: SDL's X11 video does not always come up again
// right after it was shut down within the same process.
class SdlBackendOnDisplay : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (std::getenv("DISPLAY") != nullptr) {
            shared = SdlBackend::Open({}, &openError);
        }
    }
    static void TearDownTestSuite() { shared.reset(); }

    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no display";
        }
        ASSERT_NE(shared, nullptr) << openError;
        backend = shared.get();
        Drain();
    }

    std::vector<WindowEvent> Drain() {
        std::vector<WindowEvent> events;
        WindowEvent event;
        while (backend->PollEvent(event)) {
            events.push_back(event);
        }
        return events;
    }

    // A frame of one colour in the 32-bit surface format.
    void PresentFrame(HWND window, int width, int height) {
        std::vector<std::uint32_t> pixels(std::size_t(width) * height, 0x00336699);
        const platform::PixelView frame{reinterpret_cast<const std::uint8_t*>(pixels.data()), width, height,
                                        width * 4, 32};
        backend->Present(window, frame, platform::IdentityRamp());
    }

    static inline std::unique_ptr<SdlBackend> shared;
    static inline std::string openError;
    SdlBackend* backend = nullptr;
};

TEST_F(SdlBackendOnDisplay, ReportsTheScreenAndItsModes) {
    const auto desktop = backend->DesktopMode();
    EXPECT_GT(desktop.width, 0);
    EXPECT_TRUE(desktop.bitsPerPixel == 16 || desktop.bitsPerPixel == 24 || desktop.bitsPerPixel == 32);
    const auto modes = backend->OfferedModes();
    for (const platform::ScreenMode wanted : {platform::ScreenMode{800, 600, 16},
                                              {1024, 768, 24},
                                              {1280, 1024, 32},
                                              {desktop.width, desktop.height, 32}}) {
        EXPECT_NE(std::find(modes.begin(), modes.end(), wanted), modes.end())
            << wanted.width << "x" << wanted.height << "x" << wanted.bitsPerPixel;
    }
    EXPECT_GE(backend->MonitorCount(), 1);
    EXPECT_TRUE(backend->SupportsGamma());
}

TEST_F(SdlBackendOnDisplay, WindowsShowHideAndPresent) {
    const HWND window = backend->CreateWindow("Corvane");
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(backend->WindowExists(window));
    EXPECT_FALSE(backend->IsWindowVisible(window));

    backend->ShowWindow(window, true);
    EXPECT_TRUE(backend->IsWindowVisible(window));
    SDL_Window* sdl = backend->SdlWindowOf(window);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(sdl, &width, &height);
    const std::pair<int, int> windowed{width, height};
    backend->EnterFullScreen(window);
    // The window covers its screen, with or without a window manager.
    SDL_Rect screen{};
    SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(sdl), &screen);
    SDL_GetWindowSize(sdl, &width, &height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(screen.w, screen.h));
    if (const auto xid = platform::sdl::X11IdOf(sdl)) {
        // What SDL believes is not always what the server shows.
        Display* display = platform::sdl::ConnectWithRetries([] { return XOpenDisplay(nullptr); });
        ASSERT_NE(display, nullptr);
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, Window(*xid), &attributes);
        int left = 0;
        int top = 0;
        Window child = 0;
        XTranslateCoordinates(display, Window(*xid), DefaultRootWindow(display), 0, 0, &left, &top, &child);
        EXPECT_EQ(std::make_tuple(left, top, attributes.width, attributes.height),
                  std::make_tuple(screen.x, screen.y, screen.w, screen.h));
        XCloseDisplay(display);
    }
    PresentFrame(window, 800, 600);
    PresentFrame(window, 640, 480);
    backend->LeaveFullScreen(window);
    SDL_GetWindowSize(sdl, &width, &height);
    EXPECT_EQ(std::make_pair(width, height), windowed);
    backend->SetSizeableBorder(window, true);
    backend->ShowWindow(window, false);
    EXPECT_FALSE(backend->IsWindowVisible(window));
    Drain();

    backend->DestroyWindow(window);
    EXPECT_EQ(backend->SdlWindowOf(window), nullptr);
}

TEST_F(SdlBackendOnDisplay, InputArrivesInTheFormsTerms) {
    const HWND window = backend->CreateWindow("Corvane");
    SDL_Window* sdl = backend->SdlWindowOf(window);
    ASSERT_NE(sdl, nullptr);
    const Uint32 id = SDL_GetWindowID(sdl);

    // Pointer motion before the window is on screen is not input.
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = id;
    motion.motion.x = 5;
    motion.motion.y = 5;
    motion.motion.xrel = 5;
    SDL_PushEvent(&motion);
    EXPECT_TRUE(Drain().empty());

    backend->ShowWindow(window, true);
    PresentFrame(window, 400, 400);
    Drain();

    // The 400 x 400 frame is letterboxed into the window: find where a
    // frame point lies in window pixels and move the pointer there.
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetWindowSizeInPixels(sdl, &outputWidth, &outputHeight);
    const float scale = std::min(outputWidth / 400.0f, outputHeight / 400.0f);
    const float left = (outputWidth - 400 * scale) / 2;
    const float top = (outputHeight - 400 * scale) / 2;
    motion.motion.x = int(std::lround(left + 100.5f * scale));
    motion.motion.y = int(std::lround(top + 200.5f * scale));
    SDL_PushEvent(&motion);

    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.windowID = id;
    key.key.keysym.sym = SDLK_ESCAPE;
    key.key.keysym.mod = KMOD_LSHIFT;
    SDL_PushEvent(&key);

    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = id;
    std::strcpy(text.text.text, "\xC3\xA9");
    SDL_PushEvent(&text);

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.windowID = id;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&close);

    std::vector<WindowEvent> ours;
    for (const auto& event : Drain()) {
        // A real pointer may move over the window meanwhile.
        if (event.kind != EventKind::MouseMove || (event.x == 100 && event.y == 200)) {
            ours.push_back(event);
        }
    }
    ASSERT_EQ(ours.size(), 5u);
    EXPECT_EQ(ours[0].kind, EventKind::MouseMove);
    EXPECT_EQ(ours[0].window, window);
    EXPECT_EQ(ours[1].kind, EventKind::KeyDown);
    EXPECT_EQ(ours[1].virtualKey, VK_ESCAPE);
    EXPECT_EQ(ours[1].shift, ssShift);
    EXPECT_EQ(ours[2].kind, EventKind::Character);
    EXPECT_EQ(ours[2].character, 27);
    EXPECT_EQ(ours[3].kind, EventKind::Character);
    EXPECT_EQ(ours[3].character, '\xE9');
    EXPECT_EQ(ours[4].kind, EventKind::Close);
    EXPECT_EQ(ours[4].window, window);
    backend->DestroyWindow(window);
}

TEST_F(SdlBackendOnDisplay, WakeEndsAWaitFromAnotherThreadAndIsNoEvent) {
    std::thread waker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        backend->Wake();
    });
    backend->WaitEvent(60'000);
    waker.join();
    WindowEvent event;
    while (backend->PollEvent(event)) {
        EXPECT_NE(event.kind, EventKind::Close);
    }
}

TEST_F(SdlBackendOnDisplay, DrawsIntoAHostsWindowUntilItIsGone) {
    Display* display = platform::sdl::ConnectWithRetries([] { return XOpenDisplay(nullptr); });
    if (display == nullptr) {
        GTEST_SKIP() << "no X server";
    }
    const Window host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 320, 240, 0, 0, 0);
    XMapWindow(display, host);
    XSync(display, False);
    EXPECT_TRUE(backend->WindowExists(host));
    EXPECT_TRUE(backend->IsWindowVisible(host));
    PresentFrame(host, 400, 300);
    // Nothing about the host's window is ours to change.
    backend->EnterFullScreen(host);
    backend->ShowWindow(host, false);
    EXPECT_TRUE(backend->IsWindowVisible(host));

    XDestroyWindow(display, host);
    XSync(display, False);
    EXPECT_FALSE(backend->WindowExists(host));
    EXPECT_FALSE(backend->IsWindowVisible(host));
    PresentFrame(host, 400, 300);
    backend->DestroyWindow(host);
    XCloseDisplay(display);
}

// Windows of other programs, made here with Xlib as a host would.
TEST(X11ForeignWindows, ExistVisibilityAndPaintingSurviveADestroyedWindow) {
    auto windows = platform::sdl::X11Windows::Connect();
    if (!windows) {
        GTEST_SKIP() << "no X server";
    }
    Display* display = platform::sdl::ConnectWithRetries([] { return XOpenDisplay(nullptr); });
    ASSERT_NE(display, nullptr);
    const Window host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 32, 32, 0, 0, 0);
    XSync(display, False);
    EXPECT_TRUE(windows->Exists(host));
    EXPECT_FALSE(windows->Viewable(host));
    XMapWindow(display, host);
    XSync(display, False);
    EXPECT_TRUE(windows->Viewable(host));

    TBitmap picture(4, 2);
    picture.Set(1, 1, 0x00FF8000);
    ASSERT_TRUE(windows->Paint(host, 3, 5, picture));
    XImage* image = XGetImage(display, host, 4, 6, 1, 1, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    const Visual* visual = DefaultVisual(display, DefaultScreen(display));
    if (visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF) {
        EXPECT_EQ(pixel & 0xFFFFFF, 0xFF8000u);
    }

    XDestroyWindow(display, host);
    XSync(display, False);
    EXPECT_FALSE(windows->Exists(host));
    EXPECT_FALSE(windows->Viewable(host));
    EXPECT_FALSE(windows->Paint(host, 0, 0, picture));
    EXPECT_FALSE(windows->Exists(0));
    XCloseDisplay(display);
}

}  // namespace

TEST(SdlBackendHostMode, HostWindowSizeIsTheModeButNeverBelowTheSmallestScreen) {
    using platform::sdl::HostDisplayMode;
    EXPECT_EQ(HostDisplayMode(1920, 1080), (platform::ScreenMode{1920, 1080, 32}));
    EXPECT_EQ(HostDisplayMode(640, 480), (platform::ScreenMode{640, 480, 32}));
    // A host's small preview keeps its aspect.
    EXPECT_EQ(HostDisplayMode(320, 240), (platform::ScreenMode{640, 480, 32}));
    EXPECT_EQ(HostDisplayMode(400, 150), (platform::ScreenMode{1280, 480, 32}));
    EXPECT_EQ(HostDisplayMode(200, 600), (platform::ScreenMode{640, 1920, 32}));
    EXPECT_EQ(HostDisplayMode(0, 0), (platform::ScreenMode{640, 480, 32}));
}

TEST_F(SdlBackendOnDisplay, ScreenCoversBlackOutEveryScreenButTheSaversOwn) {
    const int displays = SDL_GetNumVideoDisplays();
    auto coverIds = [](const platform::sdl::ScreenCovers& covers) {
        std::vector<Uint32> ids;
        for (Uint32 id = 1; id < 4096; ++id)
            if (SDL_GetWindowFromID(id) != nullptr && covers.Owns(id)) ids.push_back(id);
        return ids;
    };
    platform::sdl::ScreenCovers covers;
    covers.Cover(0);
    EXPECT_EQ(coverIds(covers).size(), std::size_t(displays - 1));

    // Excepting no screen shows the covers themselves, this server having
    // a single screen.
    covers.Cover(-1);
    const std::vector<Uint32> ids = coverIds(covers);
    ASSERT_EQ(ids.size(), std::size_t(displays));
    SDL_Window* cover = SDL_GetWindowFromID(ids[0]);
    SDL_Rect screen{};
    SDL_GetDisplayBounds(0, &screen);
    int x = 0, y = 0;
    SDL_GetWindowPosition(cover, &x, &y);
    const auto point = covers.ToDesktop(ids[0], 5, 7);
    ASSERT_TRUE(point);
    EXPECT_EQ(point->x, x + 5);
    EXPECT_EQ(point->y, y + 7);
    EXPECT_FALSE(covers.ToDesktop(0, 5, 7));

    if (const auto id = platform::sdl::X11IdOf(cover)) {
        Display* display = platform::sdl::ConnectWithRetries([] { return XOpenDisplay(nullptr); });
        ASSERT_NE(display, nullptr);
        XImage* image = XGetImage(display, Window(*id), screen.w / 2, screen.h / 2, 1, 1, AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(XGetPixel(image, 0, 0) & 0xFFFFFF, 0u);
        XDestroyImage(image);
        XCloseDisplay(display);
    }
    covers.Clear();
    EXPECT_TRUE(coverIds(covers).empty());
    EXPECT_EQ(SDL_GetWindowFromID(ids[0]), nullptr);
}
