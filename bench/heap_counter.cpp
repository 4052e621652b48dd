#include "heap_counter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace pinsum::bench {
namespace {

std::atomic<bool> g_counting{false};
std::atomic<long long> g_live{0};
std::atomic<long long> g_peak{0};
std::atomic<size_t> g_allocations{0};

void* Allocate(size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr)
        throw std::bad_alloc();
    if (g_counting.load(std::memory_order_relaxed)) {
        // Usable size, so that a block freed later subtracts exactly what it added.
        const auto bytes = static_cast<long long>(malloc_usable_size(p));
        const long long live = g_live.fetch_add(bytes, std::memory_order_relaxed) + bytes;
        long long peak = g_peak.load(std::memory_order_relaxed);
        while (live > peak && !g_peak.compare_exchange_weak(peak, live))
            ;
        g_allocations.fetch_add(1, std::memory_order_relaxed);
    }
    return p;
}

void Release(void* p) {
    if (p == nullptr)
        return;
    if (g_counting.load(std::memory_order_relaxed))
        g_live.fetch_sub(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
    std::free(p);
}

} // namespace

void StartHeapCount() {
    g_live = 0;
    g_peak = 0;
    g_allocations = 0;
    g_counting = true;
}

void StopHeapCount() {
    g_counting = false;
}

size_t PeakHeapBytes() {
    return static_cast<size_t>(g_peak.load());
}

size_t HeapAllocations() {
    return g_allocations.load();
}

} // namespace pinsum::bench

void* operator new(size_t size) {
    return pinsum::bench::Allocate(size);
}
void* operator new[](size_t size) {
    return pinsum::bench::Allocate(size);
}
void operator delete(void* p) noexcept {
    pinsum::bench::Release(p);
}
void operator delete[](void* p) noexcept {
    pinsum::bench::Release(p);
}
void operator delete(void* p, size_t) noexcept {
    pinsum::bench::Release(p);
}
void operator delete[](void* p, size_t) noexcept {
    pinsum::bench::Release(p);
}
