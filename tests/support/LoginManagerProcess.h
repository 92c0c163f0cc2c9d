// The login manager stand-in, running with LoginManager.ini already written, its table ready, until Stop or
// destruction.
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
