// The request's list of what could not be moved, which planning, the checks
// and the local moves append to.
#pragma once

#include "GhMove.h"
#include "common/OwnedList.h"

#include <memory>
#include <string>

class MoveErrors {
public:
    explicit MoveErrors(Lst<MoveErrorEntry*>& list) : list_(list) {}

    void Add(const std::wstring& path, const std::wstring& newPath, HRESULT code,
             const std::wstring& detail = std::wstring()) {
        AppendOwned(list_, std::make_unique<MoveErrorEntry>(path, newPath, code, detail));
    }
    const Lst<MoveErrorEntry*>& List() const { return list_; }

private:
    Lst<MoveErrorEntry*>& list_;
};
