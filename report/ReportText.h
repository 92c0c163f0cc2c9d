// Texts the report hands out through COM. A string that cannot be allocated
// raises a COM error with E_OUTOFMEMORY: no text operation answers with a
// null text for want of memory.
#pragma once

#include "common/Bstr.h"

#include <string>

Bstr MakeBstr(const std::wstring& text);
// A new BSTR for an out argument.
BSTR NewText(const std::wstring& text);
// A new copy for an out argument; null stays null.
BSTR CopyText(const SharedBstr& text);
SharedBstr SharedText(const std::wstring& text);
