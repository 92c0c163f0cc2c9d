// Whether a run kept every file: each planned file's content must be found in
// the local view complete, once, at its old or its new place, or twice when a
// copy was interrupted. Content is recognised by the token it carries, so a
// file is found whatever name and folder it ended with.
#pragma once

#include "RunPlan.h"

#include <string>

struct Conservation {
    int lost = 0;        // planned files found nowhere complete
    int truncated = 0;   // files found cut short, or without any token
    int duplicated = 0;  // planned files found complete more than once
};

Conservation CheckConservation(const RunPlan& plan, const std::wstring& localRoot);
