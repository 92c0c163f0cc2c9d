// Whether a run kept every file: complete, once (twice when a copy was interrupted), wherever it ended; files are
// recognised by the token they carry.
#pragma once

#include "RunPlan.h"

#include <string>

struct Conservation {
    int lost = 0;        // planned files found nowhere complete
    int truncated = 0;   // files found cut short, or without any token
    int duplicated = 0;  // planned files found complete more than once
};

Conservation CheckConservation(const RunPlan& plan, const std::wstring& localRoot);
