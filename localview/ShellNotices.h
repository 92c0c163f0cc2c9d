// Shell change notices for places below one root of the local view.
#pragma once

#include "common/PidlPtr.h"

#include <shlobj.h>

#include <string>

// The root's ID list is parsed by the shell at the first notice and serves
// every later one; below it, lists are built from the names alone.
class ShellNotices {
public:
    explicit ShellNotices(std::wstring root) : root_(std::move(root)) {}

    // Sends `event` for the root + `relative` (the root itself when
    // `relative` is empty) and waits until the shell has taken it. False when
    // no ID list could be built; then nothing was sent.
    bool NotifyByPath(const std::wstring& relative, long event);

    // A folder renamed from root + `oldRelative` to root + `newRelative`; a
    // list that could not be built goes as null.
    void NotifyFolderRenamed(const std::wstring& oldRelative, const std::wstring& newRelative);

private:
    // Null when the root cannot be parsed; then no notice goes.
    LPCITEMIDLIST RootList();

    std::wstring root_;
    NotifyByPathNs::PidlPtr rootList_;
    bool parsed_ = false;
};
