// UniqueVariant: one VARIANT, cleared (with whatever it holds) when it goes.
#pragma once

#include <windows.h>
#include <oleauto.h>

class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { VariantClear(&value_); }

    const VARIANT& Get() const { return value_; }
    // For a call that fills the VARIANT; what it held is cleared first.
    VARIANT* Put() {
        VariantClear(&value_);
        return &value_;
    }

    // Takes the array over as VT_ARRAY of `elementType`.
    void TakeArray(VARTYPE elementType, SAFEARRAY* array) {
        VariantClear(&value_);
        value_.vt = static_cast<VARTYPE>(VT_ARRAY | elementType);
        value_.parray = array;
    }

private:
    VARIANT value_;
};
