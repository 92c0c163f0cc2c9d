// RefPtr: holds one reference to a RefObj-derived object.
#pragma once

#include <utility>

template <class T>
class RefPtr {
public:
    RefPtr() = default;
    // Adds a reference of its own.
    explicit RefPtr(T* p) : p_(p) {
        if (p_) p_->AddRefObj();
    }
    RefPtr(const RefPtr& other) : RefPtr(other.p_) {}
    RefPtr(RefPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    RefPtr& operator=(RefPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~RefPtr() {
        if (p_) p_->ReleaseObj();
    }

    // Takes over a reference the caller already owns.
    static RefPtr Attach(T* p) {
        RefPtr result;
        result.p_ = p;
        return result;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};
