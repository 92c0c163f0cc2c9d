// MutexLock: a mutex held by this thread while the lock lives.
#pragma once

#include <windows.h>

class MutexLock {
public:
    // Waits without limit. An empty handle locks nothing; an abandoned mutex
    // is held like any other.
    explicit MutexLock(HANDLE mutex) : mutex_(mutex) {
        if (!mutex_) return;
        const DWORD wait = WaitForSingleObject(mutex_, INFINITE);
        held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;
    ~MutexLock() {
        if (held_) ReleaseMutex(mutex_);
    }

private:
    HANDLE mutex_;  // owned by the caller, who keeps it open longer than the lock
    bool held_ = false;
};
