// A value shared between host threads without locks: every load and store is
// one relaxed atomic access, which on x86-64 is a plain move.
#pragma once

#include <atomic>

template <typename T>
class Relaxed {
 public:
  constexpr Relaxed(T initial = T()) noexcept : value_(initial) {}
  Relaxed(const Relaxed&) = delete;
  Relaxed& operator=(const Relaxed&) = delete;

  operator T() const noexcept { return value_.load(std::memory_order_relaxed); }
  T load() const noexcept { return value_.load(std::memory_order_relaxed); }
  Relaxed& operator=(T v) noexcept {
    value_.store(v, std::memory_order_relaxed);
    return *this;
  }
  T exchange(T v) noexcept { return value_.exchange(v, std::memory_order_relaxed); }
  // Stores desired only if the value is still expected; false if another
  // thread wrote in between (its value is kept).
  bool compareExchange(T expected, T desired) noexcept {
    return value_.compare_exchange_strong(expected, desired, std::memory_order_relaxed);
  }

 private:
  std::atomic<T> value_;
};
