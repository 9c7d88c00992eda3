// An analog clock of the local time, drawn in one colour with GDI
// figures onto the display device's back buffer.
#pragma once

#include "platform/Forms.h"
#include "platform/WinTypes.h"

#include <array>

class DisplayDevice;

class ClockOverlay : public TComponent {
public:
    explicit ClockOverlay(TComponent* owner);

    int GetXcenter() const { return FXcenter; }
    void SetXcenter(int value) { FXcenter = value; }
    int GetYcenter() const { return FYcenter; }
    void SetYcenter(int value) { FYcenter = value; }
    int GetRadius() const { return FRadius; }
    // Stores the radius and derives every size and hand shape from it.
    void SetRadius(int value);
    COLORREF GetColor() const { return FColor; }
    void SetColor(COLORREF value) { FColor = value; }

    // Draws the clock for the current local time; skipped while the device
    // has no back buffer or the buffer gives no device context.
    void ShowClock();

    DisplayDevice* DDmainModule = nullptr;

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
    const Sizes& GetSizes() const { return FSizes; }
    const std::array<POINT, 4>& HourShape() const { return FHourShape; }
    const std::array<POINT, 4>& MinuteShape() const { return FMinuteShape; }
    POINT SecondStart() const { return FSecondStart; }
    POINT SecondEnd() const { return FSecondEnd; }

    // A shape point turned to minute index k (0 to 59) about the centre.
    POINT Rotate(POINT shapePoint, int k) const;
    // Minute index of the hour hand: it advances every 12 minutes.
    static int HourIndex(int hour, int minute);

private:
    std::array<float, 60> FSin{};
    std::array<float, 60> FCos{};
    int FXcenter = 200;
    int FYcenter = 200;
    int FRadius = 60;
    COLORREF FColor = 0xFFFFFF;
    Sizes FSizes;
    std::array<POINT, 4> FHourShape{};
    std::array<POINT, 4> FMinuteShape{};
    std::array<POINT, 4> FHourPoints{};
    std::array<POINT, 4> FMinutePoints{};
    POINT FSecondStart{};
    POINT FSecondEnd{};
};
