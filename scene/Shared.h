// A value shared between the window thread and the timer thread. Each side
// only needs whole values, never ordering, so relaxed atomics are enough;
// the wrapper keeps the arithmetic readable.
#pragma once

#include <atomic>

template <class T>
class Shared {
public:
    constexpr Shared(T value = T{}) : value_(value) {}
    Shared(const Shared& other) : value_(T(other)) {}
    Shared& operator=(const Shared& other) { return *this = T(other); }
    Shared& operator=(T value) {
        value_.store(value, std::memory_order_relaxed);
        return *this;
    }
    operator T() const { return value_.load(std::memory_order_relaxed); }

private:
    std::atomic<T> value_;
};

using SharedInt = Shared<int>;
using SharedBool = Shared<bool>;
