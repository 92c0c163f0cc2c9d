// The local view service stand-in as a running process: started with the
// configuration the test already wrote (it journals to STANDIN_DIR), ready
// when the constructor returns, stopped and waited for by Stop or the
// destructor.
#pragma once

#include "common/Handles.h"

class LocalViewServiceProcess {
public:
    LocalViewServiceProcess();
    ~LocalViewServiceProcess() { Stop(); }
    void Stop();

private:
    UniqueHandle ready_, stop_, process_;
};
