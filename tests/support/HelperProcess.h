// Another program a test starts and stops: it sets the first of the two event names last on its command line when
// it is ready, and ends once the second is set.
#pragma once

#include "common/Handles.h"

#include <string>

// Starts a command line, its program found beside the test program first; the
// process, or none. `startup` hands it handles of this process to inherit.
UniqueHandle StartProgram(std::wstring command, const STARTUPINFOW* startup = nullptr);

class HelperProcess {
public:
    // `program` is found beside the test program. Returns once it is ready;
    // throws when it ends before.
    HelperProcess(const std::wstring& program, const std::wstring& arguments);
    ~HelperProcess() { Stop(); }
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // Returns once the program has ended.
    void Stop();

private:
    UniqueHandle stop_;
    UniqueHandle process_;
};
