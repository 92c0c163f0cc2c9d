// A vault file found by name, as a host hands it to the module: the record
// owns its texts, the file's name and its folder's path in the vault.
#pragma once

#include "GhMove.h"

#include <string>

struct FoundFile : FoundFileRecord {
    FoundFile(int32_t fileId, int32_t folderId, std::wstring fileName, std::wstring folderPath)
        : name(std::move(fileName)), folder(std::move(folderPath)) {
        value1 = fileId;
        value2 = folderId;
        text1 = name.c_str();
        text2 = folder.c_str();
    }
    std::wstring name, folder;
};
