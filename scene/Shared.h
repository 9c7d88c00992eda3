// A 32-bit value shared between the window thread and the timer thread.
// Each side only needs whole values, never ordering, so relaxed atomics
// are enough; the wrapper keeps the arithmetic readable.
#pragma once

#include <atomic>

class SharedInt {
public:
    constexpr SharedInt(int value = 0) : value_(value) {}
    SharedInt(const SharedInt& other) : value_(int(other)) {}
    SharedInt& operator=(const SharedInt& other) { return *this = int(other); }
    SharedInt& operator=(int value) {
        value_.store(value, std::memory_order_relaxed);
        return *this;
    }
    operator int() const { return value_.load(std::memory_order_relaxed); }

private:
    std::atomic<int> value_;
};

class SharedBool {
public:
    constexpr SharedBool(bool value = false) : value_(value) {}
    SharedBool& operator=(bool value) {
        value_.store(value, std::memory_order_relaxed);
        return *this;
    }
    operator bool() const { return value_.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> value_;
};
