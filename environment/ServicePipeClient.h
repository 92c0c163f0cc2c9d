// Telling the local view service, through its pipe, which path is about to
// change on disk.
#pragma once

#include "interfaces/LocalViewService.h"

#include <string>

// Best effort: with no service, or any failure on the pipe, the notice is
// dropped and the caller goes on. Each notice creates its own senders' mutex
// and holds it while its request and reply cross the pipe, so that a mutex
// that was inaccessible for a moment costs one notice its serialisation, not
// every later one.
void NotifyClientService(const std::wstring& path);

// The request for one path and how many of its bytes go on the pipe.
struct ServiceMessage {
    ServiceNotice notice;
    DWORD bytes;
};
ServiceMessage BuildServiceMessage(const std::wstring& path);
