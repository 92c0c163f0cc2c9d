// Ptr: owns a heap object while it is being built. Copies share it through a
// use count and the last one deletes it, unless ownership was handed on with
// Release (for example to a list that deletes its elements itself).
#pragma once

#include <memory>
#include <utility>

template <class T>
class Ptr {
public:
    Ptr() = default;
    explicit Ptr(std::unique_ptr<T> object) {
        if (!object) return;
        shared_ = new Shared{1, true};  // may throw; `object` still owns then
        p_ = object.release();
    }
    Ptr(const Ptr& other) : p_(other.p_), shared_(other.shared_) {
        if (shared_) ++shared_->uses;
    }
    Ptr(Ptr&& other) noexcept : p_(std::exchange(other.p_, nullptr)), shared_(std::exchange(other.shared_, nullptr)) {}
    Ptr& operator=(Ptr other) noexcept {
        std::swap(p_, other.p_);
        std::swap(shared_, other.shared_);
        return *this;
    }
    ~Ptr() { Reset(); }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    long UseCount() const { return shared_ ? shared_->uses : 0; }

    // Hands the object on: no holder deletes it any more; this one is empty.
    [[nodiscard]] T* Detach() {
        if (shared_) shared_->owns = false;
        T* object = p_;
        Reset();
        return object;
    }

    void Reset() {
        Shared* shared = std::exchange(shared_, nullptr);
        T* object = std::exchange(p_, nullptr);
        if (!shared || --shared->uses > 0) return;
        if (shared->owns) delete object;
        delete shared;
    }

private:
    struct Shared {
        long uses;
        bool owns;
    };
    T* p_ = nullptr;
    Shared* shared_ = nullptr;
};
