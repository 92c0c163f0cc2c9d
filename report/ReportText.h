// Texts the report hands out through COM as out arguments. They are made as
// every Bstr is: a string that cannot be allocated raises a COM error with
// E_OUTOFMEMORY, so no text operation answers with a null text for want of
// memory.
#pragma once

#include "common/Bstr.h"

#include <string>

BSTR NewText(const std::wstring& text);
// Null stays null.
BSTR CopyText(const SharedBstr& text);
