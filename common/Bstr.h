// BSTR holders: Bstr owns one string; SharedBstr shares one among copies.
#pragma once

#include "GhMove.h"

#include <windows.h>
#include <oleauto.h>

#include <cwchar>
#include <memory>
#include <string>
#include <utility>

class Bstr {
public:
    Bstr() = default;
    // A copy of the text; one that cannot be allocated raises a ComError
    // with E_OUTOFMEMORY, as every failure to make a BSTR is told.
    explicit Bstr(const std::wstring& text) : Bstr(text.data(), text.size()) {}
    Bstr(const wchar_t* text, size_t length) : b_(SysAllocStringLen(text, static_cast<UINT>(length))) {
        if (!b_) throw ComError(E_OUTOFMEMORY);
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : b_(other.Detach()) {}
    Bstr& operator=(Bstr&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }
    ~Bstr() { Reset(); }

    static Bstr Attach(BSTR b) {
        Bstr result;
        result.b_ = b;
        return result;
    }

    BSTR Get() const { return b_; }
    bool IsNull() const { return b_ == nullptr; }
    // The text; a null BSTR reads as empty.
    std::wstring Text() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

    [[nodiscard]] BSTR Detach() { return std::exchange(b_, nullptr); }
    void Reset(BSTR b = nullptr) {
        if (b_) SysFreeString(b_);
        b_ = b;
    }
    BSTR* Put() {
        Reset();
        return &b_;
    }

private:
    BSTR b_ = nullptr;
};

// A new BSTR that its receiver frees: an out argument or a record's field.
inline BSTR NewBstr(const std::wstring& text) { return Bstr(text).Detach(); }
inline BSTR NewBstr(const wchar_t* text) { return text ? Bstr(text, std::wcslen(text)).Detach() : nullptr; }

// A reference-counted BSTR: copies share one string, freed with the last copy.
class SharedBstr {
public:
    SharedBstr() = default;
    explicit SharedBstr(Bstr b) {
        if (!b.IsNull()) p_ = std::make_shared<Bstr>(std::move(b));
    }
    explicit SharedBstr(const std::wstring& text) : SharedBstr(Bstr(text)) {}

    BSTR Get() const { return p_ ? p_->Get() : nullptr; }
    bool IsNull() const { return Get() == nullptr; }
    std::wstring Text() const { return p_ ? p_->Text() : std::wstring(); }

private:
    std::shared_ptr<Bstr> p_;
};
