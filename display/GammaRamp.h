// The brightness of the whole display through the gamma ramp of
// the display device's primary surface, uniform (RGB, 0 to 256, 256 the
// unchanged picture) or per channel. The lighting drives it from the timer
// thread while keys drive it from the window thread, so every operation
// holds the component's lock: a disable never releases the control under a
// write in progress.
#pragma once

#include "display/DisplayComponent.h"
#include "platform/winapi/DirectDraw.h"

#include <mutex>

class DisplayDevice;

class GammaRamp : public DisplayComponent {
public:
    explicit GammaRamp(TComponent* owner);
    // Releases a gamma control still held.
    ~GammaRamp() override;
    GammaRamp(const GammaRamp&) = delete;
    GammaRamp& operator=(const GammaRamp&) = delete;

    bool Enabled() const;
    void SetEnabled(bool value);
    int Level() const;
    // Stores the step; while enabled also writes a grey ramp with it.
    void SetLevel(int step);
    // While enabled, writes a ramp with a step per channel; stores nothing.
    void SetChannelLevels(int red, int green, int blue);

    DisplayDevice* device = nullptr;

    // Entry i of a channel: i times the step, in a 16-bit accumulator.
    static void FillRamp(DDGAMMARAMP& ramp, int red, int green, int blue);

private:
    void Enable();
    // Takes the gamma control of the primary surface where the driver has
    // primary gamma; the failure's text, or null.
    const char* TakeGammaControl(IDirectDraw* directDraw, IDirectDrawSurface7* primary);
    void Disable();
    void WriteRamp(int red, int green, int blue);

    mutable std::recursive_mutex lock_;
    bool enabled_ = false;
    int level_ = 256;
    // Holds a reference of its own: it never reaches into the device, which
    // may be closed by then.
    IDirectDrawGammaControl* gammaControl_ = nullptr;
};
