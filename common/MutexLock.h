// MutexLock: a mutex held by this thread while the lock lives.
#pragma once

#include "common/Handles.h"

#include <utility>

class MutexLock {
public:
    // Waits without limit. An empty handle locks nothing; an abandoned mutex
    // is held like any other.
    explicit MutexLock(UniqueHandle mutex) : mutex_(std::move(mutex)) {
        if (!mutex_) return;
        const DWORD wait = WaitForSingleObject(mutex_.get(), INFINITE);
        held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;
    ~MutexLock() {
        if (held_) ReleaseMutex(mutex_.get());
    }

private:
    UniqueHandle mutex_;
    bool held_ = false;
};
