// The local view service stand-in as a running process: started with the
// configuration the test already wrote (it journals to STANDIN_DIR), ready
// when the constructor returns, stopped and waited for by Stop or the
// destructor.
#pragma once

#include "HelperProcess.h"

class LocalViewServiceProcess {
public:
    LocalViewServiceProcess() : service_(L"LocalViewService.exe", L"") {}
    void Stop() { service_.Stop(); }

private:
    HelperProcess service_;
};
