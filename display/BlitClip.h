// Clipping of the drawables' fast blits to the screen. The platform's fast
// blit refuses rectangles that leave the destination, so the drawables clip
// by arithmetic. The rule keeps off the screen's last column and last row:
// the limit is size - 1, not size.
#pragma once

#include "platform/winapi/WinTypes.h"

#include <algorithm>
#include <cstdint>
#include <optional>

// One axis after clipping: where the span lands, and the source span
// [begin, end) that is drawn.
struct ClipSpan {
    LONG dest;
    LONG begin;
    LONG end;
};

// A source span starting at `begin`, `length` pixels long, placed at
// `position` on a screen axis of `size` pixels. Nothing is drawn when it
// starts at size - 1 or beyond, or when at most one pixel of it would remain
// at the near edge.
constexpr std::optional<ClipSpan> ClipAxis(LONG position, LONG begin, LONG length, LONG size) {
    const std::int64_t p = position;
    const std::int64_t limit = std::int64_t(size) - 1;
    if (p >= limit) return std::nullopt;
    if (p <= 0 && p + length <= 1) return std::nullopt;
    const std::int64_t from = begin + std::max<std::int64_t>(0, -p);
    const std::int64_t to = begin + std::min<std::int64_t>(length, limit - p);
    if (to <= from) return std::nullopt;
    return ClipSpan{LONG(std::max<std::int64_t>(p, 0)), LONG(from), LONG(to)};
}

struct ClippedBlit {
    LONG x;
    LONG y;
    RECT source;
};

// The part of `source` that is drawn when its top-left corner is placed at
// (x, y) on a width x height screen; nullopt when nothing shows.
constexpr std::optional<ClippedBlit> ClipBlit(const RECT& source, LONG x, LONG y, LONG width, LONG height) {
    const auto across = ClipAxis(x, source.left, source.right - source.left, width);
    if (!across) return std::nullopt;
    const auto down = ClipAxis(y, source.top, source.bottom - source.top, height);
    if (!down) return std::nullopt;
    return ClippedBlit{across->dest, down->dest, RECT{across->begin, down->begin, across->end, down->end}};
}
