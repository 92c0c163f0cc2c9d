// The login of the vault the module works in, looked up in the login
// manager's shared table.
#pragma once

#include "common/Handles.h"

#include <cstdint>
#include <string>

struct LoginFields {
    std::wstring text3, text4, text5, text6;
    uint32_t number1 = 0, number2 = 0, number5 = 0;
};

// Holds the table's mutex and the login manager's two events for one
// connection attempt. The events are only held, never waited on or set.
class LoginSession {
public:
    LoginSession();

    // Opens the table's section and keeps it; false when no login manager
    // made one (the client is not logged in).
    bool OpenSection();

    // Reads the record of `vault` (case ignored) under the table's mutex.
    // False, with `out` untouched, when the section is not open or cannot be
    // mapped, or when no whole record carries the name.
    bool Lookup(const std::wstring& vault, LoginFields& out) const;

private:
    // Destroyed in reverse: the events first, the mutex last.
    UniqueHandle mutex_;
    UniqueHandle mapping_;
    UniqueHandle addEvent_;
    UniqueHandle removeEvent_;
};
