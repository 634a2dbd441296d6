// Counts the bytes held on the heap, so a benchmark can report the peak
// memory of one operation. Include in exactly one translation unit.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

// GCC sees the free() of a block that operator new handed out and warns; the
// pair below is exactly that matched pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace stamplets::bench {

inline std::atomic<std::size_t> g_heap_now{0};
inline std::atomic<std::size_t> g_heap_peak{0};

// Starts a new peak measurement from the current level.
inline void ResetPeak() {
  g_heap_peak = g_heap_now.load();
}

}  // namespace stamplets::bench

namespace {
constexpr std::size_t kHeader = 16;  // keeps the returned block 16-byte aligned
}

void* operator new(std::size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  std::size_t now = stamplets::bench::g_heap_now += size;
  std::size_t peak = stamplets::bench::g_heap_peak.load();
  while (now > peak && !stamplets::bench::g_heap_peak.compare_exchange_weak(peak, now)) {
  }
  return block + kHeader;
}

void operator delete(void* p) noexcept {
  if (!p) return;
  auto* block = static_cast<unsigned char*>(p) - kHeader;
  stamplets::bench::g_heap_now -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}

void operator delete(void* p, std::size_t) noexcept {
  operator delete(p);
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete[](void* p) noexcept {
  operator delete(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  operator delete(p);
}
