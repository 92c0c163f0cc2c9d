// The local view service's pipe: before a folder is created, a file moved or
// a folder removed, the full path goes to the service as one message, and the
// service answers with one message once it has taken the notice. A named mutex
// serialises the senders of all processes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

inline constexpr const wchar_t* kServiceMutexName = L"{FBD461CB-16B2-4A9B-97C0-D016D32CA306}";
inline constexpr const wchar_t* kServicePipeName = L"\\\\.\\pipe\\7BB79066-307F-44CA-9185-30A0AD7E9003";

inline constexpr uint32_t kServiceNoticeType = 1;
inline constexpr size_t kServicePathChars = 260;  // longer paths are cut
inline constexpr DWORD kServiceReplyBytes = 256;  // the longest reply read

// The message as it goes out: the type, then the path and its terminator.
// Only 4 + 2 * (path length + 1) bytes of it are sent.
struct ServiceNotice {
    uint32_t type;
    wchar_t path[kServicePathChars + 1];
};

#if defined(_M_IX86) || defined(__i386__)
static_assert(offsetof(ServiceNotice, path) == 4 && sizeof(ServiceNotice::path) == 522,
              "pipe message: 32-bit type, then at most 260 UTF-16 characters and a terminator");
#endif
