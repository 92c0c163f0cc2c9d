// One run in a process of its own, so that a crash, a hang or a kill ends only the run: it writes its tree, is
// ready, waits for the word to go, calls ghMove once and writes what it answered and what it left behind.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// ghMove's result (or the code of the COM error that left it), the code the fault calls for, and what was left.
struct RunResult {
    HRESULT code = S_OK;
    HRESULT expected = S_OK;
    size_t leakedBlocks = 0;
    std::wstring liveLibraries;  // space-separated names
};

int CampaignRun(uint32_t seed, bool smallVolume, HANDLE ready, HANDLE go);

// The result the last run wrote; false when it wrote none.
bool ReadRunResult(RunResult& result);
