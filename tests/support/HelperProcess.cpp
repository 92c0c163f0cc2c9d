#include "HelperProcess.h"

#include <atomic>
#include <stdexcept>

HelperProcess::HelperProcess(const std::wstring& program, const std::wstring& arguments) {
    static std::atomic<int> serial{0};
    const std::wstring events =
        L"GhTestHelper-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
    const UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, (events + L"-ready").c_str()));
    stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, (events + L"-stop").c_str()));
    std::wstring command = program + L" " + arguments + L" " + events + L"-ready " + events + L"-stop";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!ready || !stop_ ||
        !CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        throw std::runtime_error("a helper program did not start");
    }
    const UniqueHandle thread(started.hThread);
    process_.Reset(started.hProcess);
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
