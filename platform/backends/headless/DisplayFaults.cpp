#include "platform/backends/headless/DisplayFaults.h"

#include "platform/backends/headless/Headless.h"

#include <array>
#include <cstddef>
#include <mutex>

namespace platform::headless {
namespace {

constexpr std::size_t kOpCount = std::size_t(DisplayOp::DirectDrawEnumerateEx) + 1;

struct PendingFault {
    HRESULT code = DD_OK;
    int times = 0;
    int skip = 0;  // calls that still answer as usual first
};

class Table final : public DisplayFaults {
public:
    std::optional<HRESULT> Take(DisplayOp op) override {
        const std::lock_guard guard(lock_);
        const auto index = std::size_t(op);
        ++calls_[index];
        PendingFault& fault = pending_[index];
        if (fault.times <= 0) return std::nullopt;
        if (fault.skip > 0) {
            --fault.skip;
            return std::nullopt;
        }
        --fault.times;
        return fault.code;
    }

    void Inject(DisplayOp op, HRESULT code, int times, int skip) {
        const std::lock_guard guard(lock_);
        pending_[std::size_t(op)] = {code, times, skip};
    }

    void Clear() {
        const std::lock_guard guard(lock_);
        calls_.fill(0);
        pending_.fill({});
    }

    int Calls(DisplayOp op) {
        const std::lock_guard guard(lock_);
        return calls_[std::size_t(op)];
    }

private:
    std::mutex lock_;
    std::array<int, kOpCount> calls_{};
    std::array<PendingFault, kOpCount> pending_{};
};

Table& TheTable() {
    static Table table;
    return table;
}

}  // namespace

DisplayFaults& FaultTable() { return TheTable(); }

void InjectFault(DisplayOp op, HRESULT code, int times, int skip) {
    TheTable().Inject(op, code, times, skip);
}

void ClearFaults() { TheTable().Clear(); }

int CallCount(DisplayOp op) { return TheTable().Calls(op); }

}  // namespace platform::headless
