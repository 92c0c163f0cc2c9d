// A replacement of the global operator new for the allocation walk: it can
// fail one chosen allocation of the thread that asked for it, as a heap
// without memory would (std::bad_alloc, or null for the nothrow forms).
#pragma once

#include <cstddef>

// Fails the `n`th allocation (1: the next one) made from now on by the
// calling thread; other threads allocate normally. Once only.
void FailAllocation(size_t n);
// Forgets a failure not reached yet; says whether the chosen one was failed.
bool StopFailing();
