// ComPtr: holds one reference to a COM interface.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : p_(other.p_) { AddRef(); }
    ComPtr(ComPtr&& other) noexcept : p_(other.Detach()) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference the caller already owns.
    static ComPtr Attach(T* p) {
        ComPtr result;
        result.p_ = p;
        return result;
    }
    // Adds a reference of its own.
    static ComPtr Borrow(T* p) {
        ComPtr result;
        result.p_ = p;
        result.AddRef();
        return result;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    [[nodiscard]] T* Detach() { return std::exchange(p_, nullptr); }
    void Reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // Address for an out argument; the old reference is released first.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    // The interface `iid` of `from`, or empty. Only a successful query's
    // pointer is taken, so a faulty object cannot leave garbage behind.
    static ComPtr Query(IUnknown* from, REFIID iid, HRESULT* result = nullptr) {
        void* p = nullptr;
        const HRESULT hr = from ? from->QueryInterface(iid, &p) : E_POINTER;
        if (result) *result = hr;
        return SUCCEEDED(hr) ? Attach(static_cast<T*>(p)) : ComPtr();
    }

private:
    void AddRef() {
        if (p_) p_->AddRef();
    }
    T* p_ = nullptr;
};
