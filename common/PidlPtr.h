// The holder of one shell item ID list while a shell change notice is built.
#pragma once

#include "common/Handles.h"

namespace NotifyByPathNs {

// Frees its list with CoTaskMemFree, the allocator of ILClone and ILCombine.
class PidlPtr : public UniqueIdList {
public:
    using UniqueIdList::UniqueIdList;
    PidlPtr(PidlPtr&&) = default;
    PidlPtr& operator=(PidlPtr&&) = default;
    virtual ~PidlPtr() = default;
};

}  // namespace NotifyByPathNs
