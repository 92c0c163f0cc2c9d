#include "MallocSpy.h"

MallocSpy::MallocSpy() { registered_ = SUCCEEDED(CoRegisterMallocSpy(this)); }

// COM keeps the spy until its last block is freed when blocks are still out.
MallocSpy::~MallocSpy() {
    if (registered_) CoRevokeMallocSpy();
}

size_t MallocSpy::Outstanding() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return blocks_.size();
}

HRESULT MallocSpy::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = iid == IID_IUnknown || iid == IID_IMallocSpy ? static_cast<IMallocSpy*>(this) : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
}

void* MallocSpy::PostAlloc(void* block) {
    if (block) {
        const std::lock_guard<std::mutex> lock(mutex_);
        blocks_.insert(block);
    }
    return block;
}

void* MallocSpy::PreFree(void* block, BOOL spyed) {
    if (spyed && block) {
        const std::lock_guard<std::mutex> lock(mutex_);
        blocks_.erase(block);
    }
    return block;
}

// A reallocation that fails keeps the old block; one to zero bytes frees it.
SIZE_T MallocSpy::PreRealloc(void* block, SIZE_T bytes, void** newBlock, BOOL spyed) {
    const std::lock_guard<std::mutex> lock(mutex_);
    reallocated_ = spyed ? block : nullptr;
    reallocatedToZero_ = bytes == 0;
    *newBlock = block;
    return bytes;
}

void* MallocSpy::PostRealloc(void* block, BOOL) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (reallocated_ && (block || reallocatedToZero_)) blocks_.erase(reallocated_);
    if (block) blocks_.insert(block);
    return block;
}
