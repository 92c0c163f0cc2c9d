// COM initialised on the test's thread for the life of the object, as the
// vault client does on the thread that calls the module.
#pragma once

#include <objbase.h>

class ComThread {
public:
    ComThread() { CoInitialize(nullptr); }
    ~ComThread() { CoUninitialize(); }
    ComThread(const ComThread&) = delete;
    ComThread& operator=(const ComThread&) = delete;
};
