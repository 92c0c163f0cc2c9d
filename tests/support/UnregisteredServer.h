// A stand-in COM server taken out of the registry for one test and put back
// when the test ends, through the server's own registration entries.
#pragma once

#include <windows.h>

class UnregisteredServer {
public:
    // `dll`: the server's file name beside the test program.
    explicit UnregisteredServer(const wchar_t* dll);
    ~UnregisteredServer();
    UnregisteredServer(const UnregisteredServer&) = delete;
    UnregisteredServer& operator=(const UnregisteredServer&) = delete;

    bool Unregistered() const { return unregistered_; }

private:
    HRESULT Call(const char* entry) const;
    HMODULE module_;
    bool unregistered_;
};
