// A stand-in that fails leaves error information behind, as COM servers do.
#pragma once

#include <string>

namespace standin {

void LeaveErrorInfo(const std::wstring& description);

}  // namespace standin
