// Every user-visible text of the module passes through Translate.
#pragma once

#include "module/Messages.h"

#include <cstdint>
#include <string>

// The service's text for the identifier, else the English default.
std::wstring Translate(uint32_t id, const std::wstring& english);
std::wstring Translate(Msg id);
