#include "platform/gdi/Objects.h"

#include <memory>
#include <mutex>
#include <unordered_map>

namespace platform::gdi {
namespace {

struct ObjectTable {
    std::mutex lock;
    std::unordered_map<GdiObject*, std::unique_ptr<GdiObject>> live;
};

// Never destroyed, so contexts released during exit still find it.
ObjectTable& Table() {
    static ObjectTable* table = new ObjectTable;
    return *table;
}

GdiObject gStockPen{GdiObject::Kind::Pen, RGB(0, 0, 0), true, 0};
GdiObject gStockBrush{GdiObject::Kind::Brush, RGB(255, 255, 255), true, 0};

// Caller holds the table's lock.
bool IsLive(ObjectTable& table, GdiObject* object) {
    return object == &gStockPen || object == &gStockBrush || table.live.contains(object);
}

}  // namespace

GdiObject* StockPen() { return &gStockPen; }
GdiObject* StockBrush() { return &gStockBrush; }

GdiObject* CreateObject(GdiObject::Kind kind, COLORREF color) {
    auto object = std::make_unique<GdiObject>();
    object->kind = kind;
    object->color = color & 0x00FFFFFF;
    GdiObject* handle = object.get();
    ObjectTable& table = Table();
    std::lock_guard guard(table.lock);
    table.live.emplace(handle, std::move(object));
    return handle;
}

bool DeleteObject(GdiObject* object) {
    ObjectTable& table = Table();
    std::lock_guard guard(table.lock);
    if (object == &gStockPen || object == &gStockBrush) return true;
    const auto found = table.live.find(object);
    if (found == table.live.end() || found->second->selections > 0) return false;
    table.live.erase(found);
    return true;
}

GdiObject* Select(DeviceContext& dc, GdiObject* object) {
    ObjectTable& table = Table();
    std::lock_guard guard(table.lock);
    if (object == nullptr || !IsLive(table, object)) return nullptr;
    GdiObject*& slot = object->kind == GdiObject::Kind::Pen ? dc.pen : dc.brush;
    GdiObject* previous = slot;
    if (previous != nullptr) --previous->selections;
    ++object->selections;
    slot = object;
    return previous;
}

void SelectStock(DeviceContext& dc) {
    Select(dc, &gStockPen);
    Select(dc, &gStockBrush);
}

void DeselectAll(DeviceContext& dc) {
    ObjectTable& table = Table();
    std::lock_guard guard(table.lock);
    for (GdiObject** slot : {&dc.pen, &dc.brush}) {
        if (*slot != nullptr) --(*slot)->selections;
        *slot = nullptr;
    }
}

}  // namespace platform::gdi
