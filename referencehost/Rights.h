// The rights a user holds on a vault folder, as the vault stores them.
#pragma once

#include <cstdint>

inline constexpr uint32_t kRightRead = 0x00000001;
inline constexpr uint32_t kRightAddFile = 0x00000008;
inline constexpr uint32_t kRightMoveFiles = 0x00200000;
inline constexpr uint32_t kRightMoveFolders = 0x00800000;
inline constexpr uint32_t kRightAddFolder = 0x01000000;
inline constexpr uint32_t kAllRights = kRightRead | kRightAddFile | kRightMoveFiles | kRightMoveFolders | kRightAddFolder;
