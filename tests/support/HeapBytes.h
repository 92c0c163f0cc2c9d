// What the process's heaps hold: every C++ allocation of any module, whichever runtime made it, ends there.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>

struct HeapUse {
    size_t blocks = 0;
    size_t bytes = 0;
};

// Exact where the private bytes move in whole pages, and only when the heaps run out of free blocks.
inline HeapUse HeapInUse() {
    HANDLE heaps[64];
    const DWORD count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    HeapUse use;
    for (DWORD i = 0; i < count; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry)) {
            if (!(entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)) continue;
            ++use.blocks;
            use.bytes += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return use;
}

inline size_t HeapBytesInUse() { return HeapInUse().bytes; }
