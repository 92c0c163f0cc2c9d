// Stand-in for the local view service: a process that serves the service's
// pipe in message mode, journals every notice and answers each with one
// message.
//
// Started as: LocalViewService.exe <ready event> <stop event>, two named
// events made by whoever starts it. It sets the first once the pipe exists
// and ends when the second is set.
// Journal (LocalViewService.journal): Notice <bytes> <type> <path> <"0" when
// the message ends with a zero character, else "unterminated"> <"held" when
// some sender held the senders' mutex while the notice crossed, else "free">.
// Configuration (LocalViewService.ini): reply-delay-ms=<n> answers each notice
// n milliseconds late; reply=never takes notices but never answers;
// reply=drop takes each notice and disconnects instead of answering;
// lock-out-until=<n> holds the senders' mutex's name with access denied to
// everyone until n notices were served, then lets it go.
#include "common/Handles.h"
#include "installation/standin/Journal.h"
#include "interfaces/LocalViewService.h"

#include <sddl.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

constexpr const wchar_t* kComponent = L"LocalViewService";
constexpr DWORD kBufferBytes = 8192;

struct Behaviour {
    DWORD replyDelayMs = 0;
    bool neverReply = false;
    bool dropPipe = false;
    int lockOutUntil = 0;
};

// A mutex under the senders' name that nobody else may open.
UniqueHandle LockOutSenders() {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;GA;;;WD)", SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
        return UniqueHandle();
    }
    const UniqueLocalMem<void> owned(descriptor);
    SECURITY_ATTRIBUTES denied = {sizeof(denied), descriptor, FALSE};
    return UniqueHandle(CreateMutexW(&denied, FALSE, kServiceMutexName));
}

// Whether a sender holds the senders' mutex: taking it at once means nobody does.
bool SenderHoldsMutex(HANDLE lockedOut) {
    UniqueHandle opened;
    HANDLE mutex = lockedOut;
    if (!mutex) {
        opened.Reset(CreateMutexW(nullptr, FALSE, kServiceMutexName));
        mutex = opened.Get();
    }
    const DWORD wait = mutex ? WaitForSingleObject(mutex, 0) : WAIT_FAILED;
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(mutex);
    return wait == WAIT_TIMEOUT;
}

// An OVERLAPPED with its own event.
class Overlapped {
public:
    Overlapped() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) { ResetFor(); }
    OVERLAPPED* ResetFor() {
        std::memset(&overlapped_, 0, sizeof(overlapped_));
        overlapped_.hEvent = event_.Get();
        ResetEvent(event_.Get());
        return &overlapped_;
    }
    OVERLAPPED* Get() { return &overlapped_; }
    HANDLE Event() const { return event_.Get(); }

private:
    UniqueHandle event_;
    OVERLAPPED overlapped_;
};

// What an overlapped call said when it was made.
struct Started {
    BOOL result;
    DWORD error;
};
Started Start(BOOL result) { return {result, result ? ERROR_SUCCESS : GetLastError()}; }

// Waits for the call to end; false when it failed or the service was stopped.
bool Finish(HANDLE pipe, Started started, Overlapped& overlapped, HANDLE stop, DWORD* bytes = nullptr) {
    if (!started.result) {
        if (started.error == ERROR_PIPE_CONNECTED) return true;  // the client came before the call
        if (started.error != ERROR_IO_PENDING && started.error != ERROR_MORE_DATA) return false;
    }
    const HANDLE waits[] = {stop, overlapped.Event()};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
        CancelIo(pipe);
        return false;
    }
    DWORD transferred = 0;
    const BOOL ok = GetOverlappedResult(pipe, overlapped.Get(), &transferred, TRUE);
    if (bytes) *bytes = transferred;
    return ok || GetLastError() == ERROR_MORE_DATA;
}

UniqueFileHandle NewInstance() {
    return UniqueFileHandle(CreateNamedPipeW(kServicePipeName, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                             PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                                             PIPE_UNLIMITED_INSTANCES, kBufferBytes, kBufferBytes, 0, nullptr));
}

void JournalNotice(const char* message, DWORD bytes, bool held) {
    uint32_t type = 0;
    if (bytes >= sizeof(type)) std::memcpy(&type, message, sizeof(type));
    std::wstring path;
    for (DWORD at = sizeof(type); at + 1 < bytes; at += 2) {
        wchar_t c;
        std::memcpy(&c, message + at, sizeof(c));
        path += c;
    }
    const bool terminated = !path.empty() && path.back() == L'\0';
    if (terminated) path.pop_back();
    standin::Journal(kComponent, {L"Notice", std::to_wstring(bytes), std::to_wstring(type), path,
                                  terminated ? L"0" : L"unterminated", held ? L"held" : L"free"});
}

// What the service holds across notices.
struct State {
    Behaviour behaviour;
    UniqueHandle lockedOut;
    int served = 0;
};

// The lock-out ends before the reply, so that the sender's next notice finds
// the name free.
void Served(State& state) {
    if (++state.served == state.behaviour.lockOutUntil) state.lockedOut.Reset();
}

// One notice: read it, journal it, answer, and wait until the client closes.
void Serve(HANDLE pipe, HANDLE stop, State& state) {
    const Behaviour& behaviour = state.behaviour;
    Overlapped overlapped;
    static char message[kBufferBytes];
    DWORD bytes = 0;
    if (!Finish(pipe, Start(ReadFile(pipe, message, kBufferBytes, nullptr, overlapped.ResetFor())), overlapped, stop,
                &bytes)) {
        return;
    }
    JournalNotice(message, bytes, SenderHoldsMutex(state.lockedOut.Get()));
    Served(state);
    if (behaviour.neverReply) {
        WaitForSingleObject(stop, INFINITE);
        return;
    }
    if (behaviour.dropPipe) return;
    if (behaviour.replyDelayMs && WaitForSingleObject(stop, behaviour.replyDelayMs) == WAIT_OBJECT_0) return;
    static const char reply[] = "taken";
    if (!Finish(pipe, Start(WriteFile(pipe, reply, sizeof(reply), nullptr, overlapped.ResetFor())), overlapped,
                stop)) {
        return;
    }
    // Disconnecting at once could throw the reply away before it was read.
    Finish(pipe, Start(ReadFile(pipe, message, kBufferBytes, nullptr, overlapped.ResetFor())), overlapped, stop);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const UniqueHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]));
    const UniqueHandle stop(OpenEventW(SYNCHRONIZE, FALSE, argv[2]));
    if (!ready || !stop) return 2;
    State state;
    state.behaviour.replyDelayMs = static_cast<DWORD>(standin::ConfigCode(kComponent, L"reply-delay-ms", 0));
    state.behaviour.neverReply = standin::Config(kComponent, L"reply") == L"never";
    state.behaviour.dropPipe = standin::Config(kComponent, L"reply") == L"drop";
    state.behaviour.lockOutUntil = static_cast<int>(standin::ConfigCode(kComponent, L"lock-out-until", 0));
    if (state.behaviour.lockOutUntil > 0) state.lockedOut = LockOutSenders();

    Overlapped connecting;
    UniqueFileHandle listening = NewInstance();
    if (!listening) return 3;
    Started connect = Start(ConnectNamedPipe(listening.Get(), connecting.ResetFor()));
    SetEvent(ready.Get());
    while (Finish(listening.Get(), connect, connecting, stop.Get())) {
        const UniqueFileHandle client = std::move(listening);
        // The next sender finds an instance listening while this one is served.
        listening = NewInstance();
        if (!listening) return 3;
        connect = Start(ConnectNamedPipe(listening.Get(), connecting.ResetFor()));
        Serve(client.Get(), stop.Get(), state);
        DisconnectNamedPipe(client.Get());
    }
    return 0;
}
