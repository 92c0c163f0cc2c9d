// Time and memory as the benchmark reads them.
#pragma once

#include "HeapBytes.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <thread>

inline double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The process's private bytes in use now.
inline size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
}

// How far the private bytes rose above where they stood when the sampler
// started, read every 10 ms on a thread of the benchmark's own until asked.
// A reading costs about 70 us under Wine; whatever is compared with a
// sampled run is sampled too, so that both pay it.
class MemoryPeak {
public:
    MemoryPeak() : base_(PrivateBytes()), peak_(base_), sampler_([this] { Sample(); }) {}
    ~MemoryPeak() { Stop(); }
    MemoryPeak(const MemoryPeak&) = delete;
    MemoryPeak& operator=(const MemoryPeak&) = delete;

    double Megabytes() {
        Stop();
        return static_cast<double>(peak_ - base_) / 1e6;
    }

private:
    void Sample() {
        while (!stop_) {
            peak_ = std::max<size_t>(peak_, PrivateBytes());
            Sleep(10);
        }
    }
    void Stop() {
        if (sampler_.joinable()) {
            stop_ = true;
            sampler_.join();
            peak_ = std::max<size_t>(peak_, PrivateBytes());
        }
    }

    size_t base_;
    std::atomic<size_t> peak_;
    std::atomic<bool> stop_{false};
    std::thread sampler_;
};
