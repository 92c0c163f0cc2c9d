// The local view service stand-in, running with the configuration already written until Stop or destruction.
#pragma once

#include "HelperProcess.h"

class LocalViewServiceProcess {
public:
    LocalViewServiceProcess() : service_(L"LocalViewService.exe", L"") {}
    void Stop() { service_.Stop(); }

private:
    HelperProcess service_;
};
