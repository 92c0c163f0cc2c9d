// The commands of vaulthost, each from its parsed arguments to an exit code.
#pragma once

#include <string>
#include <vector>

struct Arguments {
    std::wstring command;
    std::wstring vault;  // the vault folder: the database and the local view
    std::vector<std::wstring> operands;
    bool json = false;
    bool silent = false;
    bool progress = false;
    bool sample = false;
    int files = 0;
};

inline constexpr int kDone = 0;
inline constexpr int kRefused = 1;

// Raises UsageError for misuse.
int RunCommand(const Arguments& args);
