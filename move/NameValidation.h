// The character rules for a new file or folder name.
#pragma once

// True when the name holds none of / \ : * ? " < > | CR LF VT and is not made
// of periods only. An empty name is valid.
bool IsValidFileName(const wchar_t* name);
