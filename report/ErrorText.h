// The sentence that explains a result code to the user, in the user's
// language where the vault client's catalogue has it. Every code yields a text.
#pragma once

#include "common/Bstr.h"

#include <windows.h>

SharedBstr ErrorText(HRESULT code);
