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

// The runtime's other forms (arrays, nothrow, aligned sized) call these.
void* operator new(size_t size) {
    void* block = FailsNow() ? nullptr : std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    return block;
}
void* operator new(size_t size, std::align_val_t alignment) {
    void* block = FailsNow() ? nullptr : _aligned_malloc(size ? size : 1, static_cast<size_t>(alignment));
    if (!block) throw std::bad_alloc();
    return block;
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { _aligned_free(p); }
