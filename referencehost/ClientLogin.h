// The vault client's login manager, kept running while the client works: it
// shares the user's vault logins with the module, which reads them to explain
// refused moves. Started from beside the client's program.
#pragma once

#include "common/Handles.h"

class ClientLogin {
public:
    // Returns once the login manager is ready; empty when it could not start.
    ClientLogin();
    // Asks the login manager to end and waits for it.
    ~ClientLogin();
    ClientLogin(const ClientLogin&) = delete;
    ClientLogin& operator=(const ClientLogin&) = delete;

    explicit operator bool() const { return static_cast<bool>(process_); }

private:
    UniqueHandle stop_;
    UniqueHandle job_;
    UniqueHandle process_;
};
