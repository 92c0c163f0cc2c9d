// The calls every floor makes as a sender of service notices and as a reader
// of the disk, written from the service's pipe interface alone.
#pragma once

#include <string>

// The service notices a floor sent, and those the service answered.
struct NoticeCount {
    long sent = 0;
    long answered = 0;
};

bool Exists(const std::wstring& path);

// One notice as every sender makes it: its own mutex, the pipe, one request,
// one reply.
void Notice(const std::wstring& path, NoticeCount& count);
