// What one add-in command says about one request item: the identifiers and
// texts of its AddInCmdData record.
#pragma once

#include "GhMove.h"

#include <cstdint>
#include <optional>
#include <string>

struct AddInItemRecord {
    int32_t id1 = 0;
    int32_t id2 = 0;
    int32_t id3 = 0;
    std::optional<std::wstring> text1;  // unset texts stay null in the record
    std::optional<std::wstring> text2;
};

// The move commands of folders and files describe old and new full paths;
// every other command of the kind describes a rename: the old and new name.
// Paths and names the host left unresolved read as empty.
AddInItemRecord DescribeAddInItem(int32_t cmd, const MoveItem& item, const std::wstring& localRoot,
                                  const FolderPathMap& folderPaths, const FileNameMap& fileNames);
