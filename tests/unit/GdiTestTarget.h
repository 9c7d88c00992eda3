// A small drawing target for GDI tests: pixels in a surface format behind a
// device context, with guard bytes after every row so that a write outside
// the target shows up, and a picture of the pixels as text.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/winapi/Gdi.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class TestTarget {
public:
    static constexpr std::uint8_t kGuard = 0xA5;
    static constexpr int kGuardBytes = 8;

    TestTarget(int width, int height, int bitsPerPixel = 32, COLORREF background = RGB(0, 0, 0))
        : width_(width),
          height_(height),
          bitsPerPixel_(bitsPerPixel),
          pitch_(width * (bitsPerPixel / 8) + kGuardBytes),
          bytes_(std::size_t(pitch_) * height, kGuard) {
        const std::uint32_t pixel = platform::PackColor(background, bitsPerPixel);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int b = 0; b < bitsPerPixel / 8; ++b)
                    bytes_[std::size_t(y) * pitch_ + std::size_t(x) * (bitsPerPixel / 8) + b] =
                        std::uint8_t(pixel >> (8 * b));
        dc_ = platform::CreateSurfaceDC({bytes_.data(), width, height, pitch_, bitsPerPixel});
    }
    ~TestTarget() { platform::DestroyDC(dc_); }
    TestTarget(const TestTarget&) = delete;
    TestTarget& operator=(const TestTarget&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    const std::uint8_t* Bytes(int x, int y) const {
        return bytes_.data() + std::size_t(y) * pitch_ + std::size_t(x) * (bitsPerPixel_ / 8);
    }

    // One character a pixel: the legend's character for its colour, '?' for
    // any other colour.
    std::vector<std::string> Picture(const std::map<COLORREF, char>& legend) const {
        std::vector<std::string> rows;
        for (int y = 0; y < height_; ++y) {
            std::string row;
            for (int x = 0; x < width_; ++x) {
                const auto found = legend.find(At(x, y));
                row += found == legend.end() ? '?' : found->second;
            }
            rows.push_back(row);
        }
        return rows;
    }

    bool GuardsIntact() const {
        for (int y = 0; y < height_; ++y)
            for (int i = 0; i < kGuardBytes; ++i)
                if (bytes_[std::size_t(y) * pitch_ + std::size_t(pitch_ - kGuardBytes + i)] != kGuard)
                    return false;
        return true;
    }

private:
    int width_;
    int height_;
    int bitsPerPixel_;
    int pitch_;
    std::vector<std::uint8_t> bytes_;
    HDC dc_ = nullptr;
};
