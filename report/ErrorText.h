// The sentence that explains a result code to the user.
#pragma once

#include "common/Bstr.h"

#include <windows.h>

SharedBstr ErrorText(HRESULT code);
