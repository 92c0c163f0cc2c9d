// A shared text handed out through COM as an out argument. It is made as
// every Bstr is: a string that cannot be allocated raises a COM error with
// E_OUTOFMEMORY, so no text operation answers with a null text for want of
// memory.
#pragma once

#include "common/Bstr.h"

#include <string>

// Null stays null.
BSTR CopyText(const SharedBstr& text);
