// A file made writable for as long as the holder lives: the attributes it
// clears are given back on scope exit, however the scope ends. Folders and
// paths that do not exist are left alone.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

class WritableForScope {
public:
    // `cleared`: the attributes taken away meanwhile; read-only is among them.
    explicit WritableForScope(std::wstring path, DWORD cleared = FILE_ATTRIBUTE_READONLY)
        : path_(std::move(path)), attributes_(GetFileAttributesW(path_.c_str())) {
        if (!Exists() || IsFolder() || (attributes_ & cleared) == 0) return;
        const DWORD kept = attributes_ & ~cleared;
        changed_ = SetFileAttributesW(path_.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL) != FALSE;
        writable_ = changed_ || (attributes_ & FILE_ATTRIBUTE_READONLY) == 0;
    }
    WritableForScope(const WritableForScope&) = delete;
    WritableForScope& operator=(const WritableForScope&) = delete;
    ~WritableForScope() {
        if (changed_) SetFileAttributesW(path_.c_str(), attributes_);
    }

    bool Exists() const { return attributes_ != INVALID_FILE_ATTRIBUTES; }
    bool IsFolder() const { return Exists() && (attributes_ & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // False only for a read-only file whose attribute could not be cleared.
    bool Writable() const { return writable_; }

private:
    std::wstring path_;
    DWORD attributes_;
    bool changed_ = false;
    bool writable_ = true;
};
