#include "FloorCalls.h"

#include "common/Handles.h"
#include "interfaces/LocalViewService.h"

#include <algorithm>
#include <cstring>

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Notice(const std::wstring& path, NoticeCount& count) {
    const UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kServiceMutexName));
    const bool held = mutex && WaitForSingleObject(mutex.Get(), INFINITE) == WAIT_OBJECT_0;
    ++count.sent;
    {
        const UniqueFileHandle pipe(
            CreateFileW(kServicePipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD mode = PIPE_READMODE_MESSAGE;
        if (pipe && SetNamedPipeHandleState(pipe.Get(), &mode, nullptr, nullptr)) {
            ServiceNotice notice = {kServiceNoticeType, {}};
            const size_t length = std::min(path.size(), kServicePathChars);
            std::memcpy(notice.path, path.data(), length * sizeof(wchar_t));
            const DWORD bytes = static_cast<DWORD>(sizeof(notice.type) + (length + 1) * sizeof(wchar_t));
            DWORD done = 0;
            char reply[kServiceReplyBytes];
            if (WriteFile(pipe.Get(), &notice, bytes, &done, nullptr) &&
                ReadFile(pipe.Get(), reply, sizeof(reply), &done, nullptr)) {
                ++count.answered;
            }
        }
    }
    if (held) ReleaseMutex(mutex.Get());
}
