// UniqueResource: the one owning holder for Win32 handles and allocations.
// Traits give the type, the value that means "empty" and how to close.
#pragma once

#include <windows.h>

#include <utility>

template <class Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.Detach()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }
    ~UniqueResource() { Reset(); }

    Type Get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Empty(); }

    // Closes what is held. The last error survives, so that failure paths
    // read the error of the call that failed, not of the cleanup.
    void Reset(Type value = Traits::Empty()) {
        if (value_ != Traits::Empty()) {
            const DWORD lastError = GetLastError();
            Traits::Close(value_);
            SetLastError(lastError);
        }
        value_ = value;
    }

    [[nodiscard]] Type Detach() { return std::exchange(value_, Traits::Empty()); }

    // Address for an out argument; whatever was held is closed first.
    Type* Put() {
        Reset();
        return &value_;
    }

private:
    Type value_ = Traits::Empty();
};
