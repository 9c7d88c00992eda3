#include "display/ClockOverlay.h"

#include "display/DisplayDevice.h"
#include "platform/winapi/Gdi.h"
#include "platform/winapi/Kernel.h"

#include <algorithm>
#include <cmath>

ClockOverlay::ClockOverlay(TComponent* owner) : TComponent(owner) {
    const float fullTurn = 6.283184f;
    for (int i = 0; i < 60; ++i) {
        const float angle = float(i) * fullTurn / 60.0f;
        sin_[i] = std::sin(angle);
        cos_[i] = std::cos(angle);
    }
}

namespace {

int HeldPlace(int value) {
    return std::clamp(value, -ClockOverlay::kExtentLimit, ClockOverlay::kExtentLimit);
}

}  // namespace

void ClockOverlay::SetCenterX(int value) { centerX_ = HeldPlace(value); }

void ClockOverlay::SetCenterY(int value) { centerY_ = HeldPlace(value); }

void ClockOverlay::SetRadius(int value) {
    radius_ = std::clamp(value, 0, kExtentLimit);
    const int r = radius_;
    // "small" is a macro of the Windows headers.
    const bool smallFace = r < 80;
    sizes_.hub = r / 40;
    sizes_.minuteDot = smallFace ? 1 : r / 70;
    sizes_.fiveMinuteDot = smallFace ? 2 : r / 40;
    sizes_.quarterHalf = smallFace ? 2 : r / 30;
    sizes_.hourLength = r - r / 3;
    sizes_.hourHalfWidth = r / 20;
    sizes_.minuteLength = r - r / 10;
    sizes_.minuteHalfWidth = r / 30;
    const int hw = sizes_.hourHalfWidth;
    hourShape_ = {{{0, -sizes_.hourLength}, {hw, 0}, {0, hw / 2}, {-hw, 0}}};
    const int mw = sizes_.minuteHalfWidth;
    minuteShape_ = {{{0, -sizes_.minuteLength}, {mw, 0}, {0, mw}, {-mw, 0}}};
    secondStart_ = {0, -(r - r / 20)};
    secondEnd_ = {0, r / 6};
}

POINT ClockOverlay::Rotate(POINT p, int k) const {
    k %= 60;
    const double x = centerX_ + p.x * double(cos_[k]) - p.y * double(sin_[k]);
    const double y = centerY_ + p.x * double(sin_[k]) + p.y * double(cos_[k]);
    return {LONG(std::trunc(x)), LONG(std::trunc(y))};
}

int ClockOverlay::HourIndex(int hour, int minute) {
    return minute / 12 + 5 * (hour >= 12 ? hour - 12 : hour);
}

void ClockOverlay::Draw() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    if (device == nullptr || device->backBuffer == nullptr) return;
    IDirectDrawSurface7* back = device->backBuffer;
    HDC dc = nullptr;
    if (FAILED(back->GetDC(&dc))) return;

    HPEN pen = CreatePen(PS_SOLID, 1, color_);
    HBRUSH brush = CreateSolidBrush(color_);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);

    const int hub = sizes_.hub;
    Ellipse(dc, centerX_ - hub, centerY_ - hub, centerX_ + hub, centerY_ + hub);

    auto rimPoint = [&](int i) {
        return POINT{LONG(std::trunc(centerX_ - radius_ * double(sin_[i]))),
                     LONG(std::trunc(centerY_ + radius_ * double(cos_[i])))};
    };
    auto dot = [&](int i, int r) {
        const POINT c = rimPoint(i);
        Ellipse(dc, c.x - r, c.y - r, c.x + r, c.y + r);
    };
    for (int i = 0; i < 60; ++i) dot(i, sizes_.minuteDot);
    for (int i = 0; i < 60; i += 5) dot(i, sizes_.fiveMinuteDot);
    for (int i = 0; i < 60; i += 15) {
        const POINT c = rimPoint(i);
        const int h = sizes_.quarterHalf;
        Rectangle(dc, c.x - h, c.y - h, c.x + h, c.y + h);
    }

    const int hourIndex = HourIndex(now.wHour, now.wMinute);
    for (int i = 0; i < 4; ++i) hourPoints_[i] = Rotate(hourShape_[i], hourIndex);
    Polygon(dc, hourPoints_.data(), 4);
    for (int i = 0; i < 4; ++i) minutePoints_[i] = Rotate(minuteShape_[i], now.wMinute);
    Polygon(dc, minutePoints_.data(), 4);

    const POINT start = Rotate(secondStart_, now.wSecond);
    const POINT end = Rotate(secondEnd_, now.wSecond);
    MoveToEx(dc, start.x, start.y, nullptr);
    LineTo(dc, end.x, end.y);

    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    back->ReleaseDC(dc);
}
