// What the process's heaps hold, for checks of memory growth.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>

// The bytes of every busy block of every heap of the process: exact where
// the private bytes move in steps of whole pages, and only when the heaps
// run out of free blocks.
inline size_t HeapBytesInUse() {
    HANDLE heaps[64];
    const DWORD count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    size_t bytes = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return bytes;
}
