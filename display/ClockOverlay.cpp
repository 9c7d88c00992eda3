#include "display/ClockOverlay.h"

#include "display/DisplayDevice.h"
#include "platform/Gdi.h"
#include "platform/Kernel.h"

#include <cmath>

ClockOverlay::ClockOverlay(TComponent* owner) : TComponent(owner) {
    const float fullTurn = 6.283184f;
    for (int i = 0; i < 60; ++i) {
        const float angle = float(i) * fullTurn / 60.0f;
        FSin[i] = std::sin(angle);
        FCos[i] = std::cos(angle);
    }
}

void ClockOverlay::SetRadius(int value) {
    FRadius = value;
    const int r = value;
    const bool small = r < 80;
    FSizes.hub = r / 40;
    FSizes.minuteDot = small ? 1 : r / 70;
    FSizes.fiveMinuteDot = small ? 2 : r / 40;
    FSizes.quarterHalf = small ? 2 : r / 30;
    FSizes.hourLength = r - r / 3;
    FSizes.hourHalfWidth = r / 20;
    FSizes.minuteLength = r - r / 10;
    FSizes.minuteHalfWidth = r / 30;
    const int hw = FSizes.hourHalfWidth;
    FHourShape = {{{0, -FSizes.hourLength}, {hw, 0}, {0, hw / 2}, {-hw, 0}}};
    const int mw = FSizes.minuteHalfWidth;
    FMinuteShape = {{{0, -FSizes.minuteLength}, {mw, 0}, {0, mw}, {-mw, 0}}};
    FSecondStart = {0, -(r - r / 20)};
    FSecondEnd = {0, r / 6};
}

POINT ClockOverlay::Rotate(POINT p, int k) const {
    k %= 60;
    const double x = FXcenter + p.x * double(FCos[k]) - p.y * double(FSin[k]);
    const double y = FYcenter + p.x * double(FSin[k]) + p.y * double(FCos[k]);
    return {LONG(std::trunc(x)), LONG(std::trunc(y))};
}

int ClockOverlay::HourIndex(int hour, int minute) {
    return minute / 12 + 5 * (hour >= 12 ? hour - 12 : hour);
}

void ClockOverlay::ShowClock() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    if (DDmainModule == nullptr || DDmainModule->FpDDSBack == nullptr) return;
    IDirectDrawSurface7* back = DDmainModule->FpDDSBack;
    HDC dc = nullptr;
    if (FAILED(back->GetDC(&dc))) return;

    HPEN pen = CreatePen(PS_SOLID, 1, FColor);
    HBRUSH brush = CreateSolidBrush(FColor);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);

    const int hub = FSizes.hub;
    Ellipse(dc, FXcenter - hub, FYcenter - hub, FXcenter + hub, FYcenter + hub);

    auto rimPoint = [&](int i) {
        return POINT{LONG(std::trunc(FXcenter - FRadius * double(FSin[i]))),
                     LONG(std::trunc(FYcenter + FRadius * double(FCos[i])))};
    };
    auto dot = [&](int i, int r) {
        const POINT c = rimPoint(i);
        Ellipse(dc, c.x - r, c.y - r, c.x + r, c.y + r);
    };
    for (int i = 0; i < 60; ++i) dot(i, FSizes.minuteDot);
    for (int i = 0; i < 60; i += 5) dot(i, FSizes.fiveMinuteDot);
    for (int i = 0; i < 60; i += 15) {
        const POINT c = rimPoint(i);
        const int h = FSizes.quarterHalf;
        Rectangle(dc, c.x - h, c.y - h, c.x + h, c.y + h);
    }

    const int hourIndex = HourIndex(now.wHour, now.wMinute);
    for (int i = 0; i < 4; ++i) FHourPoints[i] = Rotate(FHourShape[i], hourIndex);
    Polygon(dc, FHourPoints.data(), 4);
    for (int i = 0; i < 4; ++i) FMinutePoints[i] = Rotate(FMinuteShape[i], now.wMinute);
    Polygon(dc, FMinutePoints.data(), 4);

    const POINT start = Rotate(FSecondStart, now.wSecond);
    const POINT end = Rotate(FSecondEnd, now.wSecond);
    MoveToEx(dc, start.x, start.y, nullptr);
    LineTo(dc, end.x, end.y);

    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    back->ReleaseDC(dc);
}
