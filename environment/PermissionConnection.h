// The module's own connection to the vault database, through the vault
// client's stored-procedure library, for explaining refused moves.
#pragma once

#include "interfaces/Dalbrook.h"

#include <string>

// A connected manager of the stored-procedure library: released and deleted
// with its holder.
class SpConnection {
public:
    SpConnection() = default;
    explicit SpConnection(SpMgr* manager) : manager_(manager) {}
    SpConnection(SpConnection&& other) noexcept : manager_(other.manager_) { other.manager_ = nullptr; }
    SpConnection& operator=(SpConnection&& other) noexcept;
    SpConnection(const SpConnection&) = delete;
    SpConnection& operator=(const SpConnection&) = delete;
    ~SpConnection() { Reset(); }

    SpMgr* Get() const { return manager_; }
    explicit operator bool() const { return manager_ != nullptr; }
    void Reset();

private:
    SpMgr* manager_ = nullptr;
};

// The vault's name is the last component of `localRoot`. The connection is
// empty when the user has no login for the vault, the vault has no settings
// on this machine, or the library refuses the connection.
SpConnection OpenPermissionConnection(const std::wstring& localRoot);
