// One planned move of a file or folder in the local view.
#pragma once

#include "GhMove.h"

#include <string>

struct LocalMoveData {
    MoveItem* item = nullptr;  // the request item it was planned from; null for scanned and local items
    std::wstring oldPath;
    std::wstring newPath;
    bool isFolder = false;
};
