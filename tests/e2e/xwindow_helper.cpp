// A stand-in for a screensaver host in end-to-end tests: makes an X window
// and answers commands read from standard input, one a line:
//   show | hide | resize W H | dump FILE.ppm | destroy WINDOW | quit
// (destroy: any window of the display, as another program may)
// It prints the window's id first, then "ok" after each command.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

namespace {

bool Dump(Display* display, Window window, const std::string& file) {
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    XImage* image = XGetImage(display, window, 0, 0, unsigned(attributes.width), unsigned(attributes.height),
                              AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) {
        XDestroyImage(image);
        return false;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", attributes.width, attributes.height);
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const unsigned char rgb[3] = {static_cast<unsigned char>((pixel >> 16) & 0xFF),
                                          static_cast<unsigned char>((pixel >> 8) & 0xFF),
                                          static_cast<unsigned char>(pixel & 0xFF)};
            std::fwrite(rgb, 1, 3, out);
        }
    std::fclose(out);
    XDestroyImage(image);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::cerr << "no X display\n";
        return 1;
    }
    const int width = argc > 1 ? std::stoi(argv[1]) : 320;
    const int height = argc > 2 ? std::stoi(argv[2]) : 240;
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, unsigned(width),
                                              unsigned(height), 0, 0, BlackPixel(display, screen));
    XStoreName(display, window, "host window");
    XFlush(display);
    std::cout << window << std::endl;

    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        bool done = true;
        if (command == "show") {
            XMapRaised(display, window);
        } else if (command == "hide") {
            XUnmapWindow(display, window);
        } else if (command == "resize") {
            unsigned w = 0, h = 0;
            words >> w >> h;
            XResizeWindow(display, window, w, h);
        } else if (command == "dump") {
            std::string file;
            words >> file;
            XSync(display, False);
            done = Dump(display, window, file);
        } else if (command == "destroy") {
            Window other = 0;
            words >> other;
            done = other != 0;
            if (done) XDestroyWindow(display, other);
        } else if (command == "quit") {
            break;
        }
        XSync(display, False);
        std::cout << (done ? "ok" : "failed") << std::endl;
    }
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 0;
}
