#include "LocalViewServiceProcess.h"

#include <atomic>
#include <stdexcept>
#include <string>

// The service is found beside the program first; its events are named per instance.
LocalViewServiceProcess::LocalViewServiceProcess() {
    static std::atomic<int> serial{0};
    const std::wstring name =
        L"GhLocalViewService-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
    ready_.reset(CreateEventW(nullptr, TRUE, FALSE, (name + L"-ready").c_str()));
    stop_.reset(CreateEventW(nullptr, TRUE, FALSE, (name + L"-stop").c_str()));
    std::wstring command = L"LocalViewService.exe " + name + L"-ready " + name + L"-stop";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!ready_ || !stop_ ||
        !CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        throw std::runtime_error("LocalViewService.exe did not start");
    }
    process_.reset(info.hProcess);
    CloseHandle(info.hThread);
    const HANDLE waits[] = {ready_.get(), process_.get()};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
        throw std::runtime_error("LocalViewService.exe ended before its pipe was ready");
    }
}

void LocalViewServiceProcess::Stop() {
    if (!process_) return;
    SetEvent(stop_.get());
    WaitForSingleObject(process_.get(), INFINITE);
}
