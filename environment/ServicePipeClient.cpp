#include "environment/ServicePipeClient.h"

#include "common/Handles.h"
#include "common/MutexLock.h"

#include <algorithm>

namespace {

// A mutex that another account created without giving us access answers
// ERROR_ACCESS_DENIED; it may be recreated with open access in a moment, so
// the creation is tried a few times, and then the notice goes without it.
// The pause is short because a locked-out mutex delays every notice.
constexpr int kMutexAttempts = 3;
constexpr DWORD kMutexRetryPauseMs = 2;

UniqueHandle CreateServiceMutex() {
    for (int attempt = 1;; ++attempt) {
        UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kServiceMutexName));
        if (mutex || GetLastError() != ERROR_ACCESS_DENIED || attempt == kMutexAttempts) return mutex;
        Sleep(kMutexRetryPauseMs);
    }
}

}  // namespace

ServiceMessage BuildServiceMessage(const std::wstring& path) {
    ServiceMessage message = {};
    message.notice.type = kServiceNoticeType;
    const size_t length = std::min(path.size(), kServicePathChars);
    std::copy_n(path.data(), length, message.notice.path);
    message.bytes = static_cast<DWORD>(sizeof(message.notice.type) + (length + 1) * sizeof(wchar_t));
    return message;
}

void NotifyClientService(const std::wstring& path) {
    const UniqueHandle mutex = CreateServiceMutex();
    const MutexLock serialised(mutex.Get());

    UniqueFileHandle pipe(CreateFileW(kServicePipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
    if (!pipe) return;
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (!SetNamedPipeHandleState(pipe.Get(), &mode, nullptr, nullptr)) return;

    const ServiceMessage message = BuildServiceMessage(path);
    DWORD written = 0;
    if (!WriteFile(pipe.Get(), &message.notice, message.bytes, &written, nullptr)) return;

    // Waits until the service has taken the notice; what it says is not read.
    char reply[kServiceReplyBytes];
    DWORD read = 0;
    ReadFile(pipe.Get(), reply, sizeof(reply), &read, nullptr);
}
