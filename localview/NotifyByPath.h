// Shell change notices for places of the local view.
#pragma once

#include <string>

// Sends `event` for `root` + `relative` (the root itself when `relative` is
// empty) and waits until the shell has taken it. False when no ID list could
// be built; then nothing was sent.
bool NotifyByPath(const std::wstring& root, const std::wstring& relative, long event);

// A folder renamed from `root` + `oldRelative` to `root` + `newRelative`.
void NotifyFolderRenamed(const std::wstring& root, const std::wstring& oldRelative, const std::wstring& newRelative);
