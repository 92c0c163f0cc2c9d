// Which permission the user lacks to move a refused item, from the rights on
// its target folder and, when those allow adding it, on its source folder.
#pragma once

#include "module/Messages.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The rights on a folder by its full local path; none when they cannot be read.
using RightsOfFolder = std::function<std::optional<uint32_t>(const std::wstring& folder)>;

// Unreadable rights explain nothing: the item lacks "one of" the permissions.
Msg MoveProblem(bool isFolder, const std::wstring& sourceFolder, const std::wstring& targetFolder,
                const RightsOfFolder& rightsOf);
