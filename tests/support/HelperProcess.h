// Another program a test starts and stops. The program finds two event names
// last on its command line: it sets the first when it is ready and ends once
// the second is set.
#pragma once

#include "common/Handles.h"

#include <string>

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
