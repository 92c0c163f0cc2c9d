// Shell item ID lists for places of the local view. Only the root is parsed
// by the shell; below it every component becomes a simple file-system item
// built from its name alone, so a list can name a place that does not exist
// (any more).
#pragma once

#include "common/PidlPtr.h"

#include <shlobj.h>

#include <cstdint>
#include <string>

// The shell's ID list of an existing folder.
HRESULT ParseFolderIdList(const std::wstring& path, NotifyByPathNs::PidlPtr& list);

// A one-item list for one name, or empty when it cannot be allocated.
NotifyByPathNs::PidlPtr MakeSimpleItemId(const std::wstring& name);

// `base` followed by one simple item per component of `relative` (one
// leading backslash skipped, empty components ignored); empty on failure.
NotifyByPathNs::PidlPtr BuildRelativeIdList(LPCITEMIDLIST base, const std::wstring& relative);

#pragma pack(push, 1)
// The fixed start of a simple item; the name bytes, a zero byte and four zero
// bytes follow inside the item's size.
struct SimpleItemHeader {
    uint16_t size;
    uint8_t type;
    uint8_t reserved;
    uint32_t fileSize;
    uint16_t date;
    uint16_t time;
    uint16_t attributes;
};
#pragma pack(pop)

#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(SimpleItemHeader) == 14 && offsetof(SimpleItemHeader, type) == 2 &&
                  offsetof(SimpleItemHeader, fileSize) == 4 && offsetof(SimpleItemHeader, attributes) == 12,
              "simple item: size, type, file size, date, time, attributes, then the name at 14");
#endif
