// Reference counting shared by the platform's COM-style objects. Internal to
// platform/.
#pragma once

#include "platform/winapi/WinTypes.h"

#include <atomic>

namespace platform {

// Implements AddRef and Release for every interface in `Interfaces`: one
// count for the object, which deletes itself when the last reference goes.
template <class... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    DWORD AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
    DWORD Release() override {
        const DWORD left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObject() = default;

private:
    std::atomic<DWORD> refs_{1};
};

}  // namespace platform
