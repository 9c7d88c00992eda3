// An analog clock of the local time, drawn in one colour with GDI
// figures onto the display device's back buffer.
#pragma once

#include "platform/forms/Forms.h"
#include "platform/winapi/WinTypes.h"

#include <array>

class DisplayDevice;

class ClockOverlay : public TComponent {
public:
    explicit ClockOverlay(TComponent* owner);

    // The centre is held to +-kExtentLimit and the radius to 0..kExtentLimit,
    // far beyond any screen, so that no figure of the clock can leave the
    // drawing's coordinate space however the settings were edited.
    static constexpr int kExtentLimit = 1 << 20;

    int CenterX() const { return centerX_; }
    void SetCenterX(int value);
    int CenterY() const { return centerY_; }
    void SetCenterY(int value);
    int Radius() const { return radius_; }
    // Stores the radius and derives every size and hand shape from it.
    void SetRadius(int value);
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF value) { color_ = value; }

    // Draws the clock for the current local time; skipped while the device
    // has no back buffer or the buffer gives no device context.
    void Draw();

    DisplayDevice* device = nullptr;

    // Sizes derived by SetRadius, in pixels.
    struct Sizes {
        int hub = 0;
        int minuteDot = 0;
        int fiveMinuteDot = 0;
        int quarterHalf = 0;
        int hourLength = 0;
        int hourHalfWidth = 0;
        int minuteLength = 0;
        int minuteHalfWidth = 0;
    };
    const Sizes& DerivedSizes() const { return sizes_; }
    const std::array<POINT, 4>& HourShape() const { return hourShape_; }
    const std::array<POINT, 4>& MinuteShape() const { return minuteShape_; }
    POINT SecondStart() const { return secondStart_; }
    POINT SecondEnd() const { return secondEnd_; }

    // A shape point turned to minute index k (0 to 59) about the centre.
    POINT Rotate(POINT shapePoint, int k) const;
    // Minute index of the hour hand: it advances every 12 minutes.
    static int HourIndex(int hour, int minute);

private:
    std::array<float, 60> sin_{};
    std::array<float, 60> cos_{};
    int centerX_ = 200;
    int centerY_ = 200;
    int radius_ = 60;
    COLORREF color_ = 0xFFFFFF;
    Sizes sizes_;
    std::array<POINT, 4> hourShape_{};
    std::array<POINT, 4> minuteShape_{};
    std::array<POINT, 4> hourPoints_{};
    std::array<POINT, 4> minutePoints_{};
    POINT secondStart_{};
    POINT secondEnd_{};
};
