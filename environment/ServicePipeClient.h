// Telling the local view service, through its pipe, which path is about to
// change on disk.
#pragma once

#include "common/Handles.h"
#include "interfaces/LocalViewService.h"

#include <string>

// Sends notices to the local view service. Best effort: with no service, or
// any failure on the pipe, a notice is dropped and the caller goes on.
//
// The senders' mutex is opened once for all the notices of one notifier; each
// notice holds it only while its request and reply cross the pipe, as every
// sender does. Opening it once spares a move of many files the cost of
// creating it per file, and the pause of the retries when access is denied.
class ServiceNotifier {
public:
    ServiceNotifier();
    void Notify(const std::wstring& path) const;

private:
    UniqueHandle mutex_;
};

// One notice on its own.
void NotifyClientService(const std::wstring& path);

// The request for one path and how many of its bytes go on the pipe.
struct ServiceMessage {
    ServiceNotice notice;
    DWORD bytes;
};
ServiceMessage BuildServiceMessage(const std::wstring& path);
