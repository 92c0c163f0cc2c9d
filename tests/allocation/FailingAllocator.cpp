#include "FailingAllocator.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<DWORD> g_thread{0};  // 0: nothing to fail
std::atomic<size_t> g_countdown{0};
std::atomic<bool> g_failed{false};

// Counts on the chosen thread only, so that the watcher threads of a test
// cannot move the failure.
bool FailsNow() {
    if (g_thread.load() != GetCurrentThreadId()) return false;
    if (--g_countdown != 0) return false;
    g_thread = 0;
    g_failed = true;
    return true;
}

void* Allocate(size_t size) {
    if (FailsNow()) return nullptr;
    return std::malloc(size ? size : 1);
}

void* AllocateAligned(size_t size, std::align_val_t alignment) {
    if (FailsNow()) return nullptr;
    return _aligned_malloc(size ? size : 1, static_cast<size_t>(alignment));
}

template <class P>
P Checked(P p) {
    if (!p) throw std::bad_alloc();
    return p;
}

}  // namespace

void FailAllocation(size_t n) {
    g_failed = false;
    g_countdown = n;
    g_thread = GetCurrentThreadId();
}

bool StopFailing() {
    g_thread = 0;
    return g_failed.load();
}

void* operator new(size_t size) { return Checked(Allocate(size)); }
void* operator new[](size_t size) { return Checked(Allocate(size)); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(size_t size, std::align_val_t alignment) { return Checked(AllocateAligned(size, alignment)); }
void* operator new[](size_t size, std::align_val_t alignment) { return Checked(AllocateAligned(size, alignment)); }
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, alignment);
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, alignment);
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { _aligned_free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { _aligned_free(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { _aligned_free(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { _aligned_free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { _aligned_free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { _aligned_free(p); }
