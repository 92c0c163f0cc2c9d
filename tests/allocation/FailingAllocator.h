// The global operator new, able to fail one chosen allocation of one thread as a heap without memory would.
#pragma once

#include <cstddef>

// Fails the `n`th allocation (1: the next one) made from now on by the
// calling thread; other threads allocate normally. Once only.
void FailAllocation(size_t n);
// Forgets a failure not reached yet; says whether the chosen one was failed.
bool StopFailing();
