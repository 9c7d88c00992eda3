// The table of live pens and brushes. Handles are checked against it, so a
// stale or foreign handle is refused instead of being followed.
#pragma once

#include "platform/gdi/Context.h"

namespace platform::gdi {

GdiObject* StockPen();    // black, one pixel wide
GdiObject* StockBrush();  // white

GdiObject* CreateObject(GdiObject::Kind kind, COLORREF color);
// Frees an object no context has selected; stock objects stay. False for a
// handle that is not a live object or is still selected.
bool DeleteObject(GdiObject* object);

// Selects a live object into the matching slot of `dc`; returns the object
// it replaced, or nullptr (and changes nothing) for an unknown handle.
GdiObject* Select(DeviceContext& dc, GdiObject* object);
// Selects the stock objects into a new context.
void SelectStock(DeviceContext& dc);
// Drops the context's selections, before the context goes away.
void DeselectAll(DeviceContext& dc);

}  // namespace platform::gdi
