// The login manager stand-in as a running process: started with the
// configuration the test already wrote (LoginManager.ini in STANDIN_DIR),
// ready once its table is written, stopped and waited for by Stop or the
// destructor.
#pragma once

#include "HelperProcess.h"
#include "installation/loginmanager/LoginManagerControl.h"
#include "installation/standin/Journal.h"

#include <string>
#include <vector>

class LoginManagerProcess {
public:
    LoginManagerProcess() : manager_(L"LoginManager.exe", L"") {}

    // Lets go of the mutex that hold-mutex=1 keeps.
    void LetGoOfMutex() const {
        const UniqueHandle release(OpenEventW(EVENT_MODIFY_STATE, FALSE, kLoginManagerReleaseEvent));
        SetEvent(release.Get());
    }
    void Stop() { manager_.Stop(); }

private:
    HelperProcess manager_;
};

// A "record=" configuration line: seven texts, five numbers and the flag.
inline std::wstring LoginRecordLine(const std::vector<std::wstring>& fields) {
    std::wstring line = L"record=";
    for (size_t at = 0; at < fields.size(); ++at) {
        if (at) line += L'|';
        line += standin::EscapeField(fields[at]);
    }
    return line;
}
