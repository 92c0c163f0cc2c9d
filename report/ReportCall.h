// How a method of the report's COM objects ends when it cannot finish: a COM
// error as its code, and an internal string or list node that cannot be
// allocated as E_FAIL (a BSTR raises E_OUTOFMEMORY by itself). Nothing is
// thrown at the report dialog.
#pragma once

#include "common/ComErrors.h"

#include <utility>

template <class F>
HRESULT ReportCall(F&& call) {
    return GuardedCall(std::forward<F>(call), E_FAIL);
}
