#include "platform/DisplayFaults.h"

#include <array>
#include <cstddef>
#include <mutex>

namespace platform {
namespace {

using headless::DisplayOp;

constexpr std::size_t kOpCount = std::size_t(DisplayOp::DirectDrawEnumerateEx) + 1;

struct PendingFault {
    HRESULT code = DD_OK;
    int times = 0;
    int skip = 0;  // calls that still answer as usual first
};

struct FaultTable {
    std::mutex lock;
    std::array<int, kOpCount> calls{};
    std::array<PendingFault, kOpCount> pending{};
};

FaultTable& Table() {
    static FaultTable table;
    return table;
}

}  // namespace

std::optional<HRESULT> TakeDisplayFault(DisplayOp op) {
    FaultTable& table = Table();
    const std::lock_guard guard(table.lock);
    const auto index = std::size_t(op);
    ++table.calls[index];
    PendingFault& fault = table.pending[index];
    if (fault.times <= 0) return std::nullopt;
    if (fault.skip > 0) {
        --fault.skip;
        return std::nullopt;
    }
    --fault.times;
    return fault.code;
}

}  // namespace platform

namespace platform::headless {

void InjectFault(DisplayOp op, HRESULT code, int times, int skip) {
    FaultTable& table = Table();
    const std::lock_guard guard(table.lock);
    table.pending[std::size_t(op)] = {code, times, skip};
}

void ClearFaults() {
    FaultTable& table = Table();
    const std::lock_guard guard(table.lock);
    table.calls.fill(0);
    table.pending.fill({});
}

int CallCount(DisplayOp op) {
    FaultTable& table = Table();
    const std::lock_guard guard(table.lock);
    return table.calls[std::size_t(op)];
}

}  // namespace platform::headless
