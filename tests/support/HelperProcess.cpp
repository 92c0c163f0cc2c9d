#include "HelperProcess.h"

#include <atomic>
#include <stdexcept>

UniqueHandle StartProgram(std::wstring command, const STARTUPINFOW* startup) {
    STARTUPINFOW plain = {};
    plain.cb = sizeof plain;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, startup != nullptr, 0, nullptr, nullptr,
                        const_cast<STARTUPINFOW*>(startup ? startup : &plain), &started)) {
        return UniqueHandle();
    }
    const UniqueHandle thread(started.hThread);
    return UniqueHandle(started.hProcess);
}

HelperProcess::HelperProcess(const std::wstring& program, const std::wstring& arguments) {
    static std::atomic<int> serial{0};
    const std::wstring events =
        L"GhTestHelper-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
    const UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, (events + L"-ready").c_str()));
    stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, (events + L"-stop").c_str()));
    if (ready && stop_) {
        process_ = StartProgram(program + L" " + arguments + L" " + events + L"-ready " + events + L"-stop");
    }
    if (!process_) throw std::runtime_error("a helper program did not start");
    const HANDLE outcomes[] = {ready.Get(), process_.Get()};
    if (WaitForMultipleObjects(2, outcomes, FALSE, INFINITE) != WAIT_OBJECT_0) {
        throw std::runtime_error("a helper program ended before it was ready");
    }
}

void HelperProcess::Stop() {
    if (!process_) return;
    SetEvent(stop_.Get());
    WaitForSingleObject(process_.Get(), INFINITE);
    process_.Reset();
}
