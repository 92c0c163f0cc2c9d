// Appending heap elements to a list that owns them, without leaking the
// element when the node cannot be allocated.
#pragma once

#include "GhMove.h"

#include <memory>

template <class T>
T* AppendOwned(Lst<T*>& list, std::unique_ptr<T> element) {
    list.Append(element.get());
    return element.release();
}
