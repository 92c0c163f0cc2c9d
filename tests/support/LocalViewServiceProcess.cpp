#include "LocalViewServiceProcess.h"

#include <atomic>
#include <stdexcept>
#include <string>

namespace {

std::wstring BesideProgram(const std::wstring& name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full = path;
    return full.substr(0, full.rfind(L'\\') + 1) + name;
}

std::wstring UniqueEventName(const wchar_t* purpose) {
    static std::atomic<int> serial{0};
    return std::wstring(L"GhLocalViewService") + purpose + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++serial);
}

}  // namespace

LocalViewServiceProcess::LocalViewServiceProcess() {
    const std::wstring readyName = UniqueEventName(L"Ready");
    const std::wstring stopName = UniqueEventName(L"Stop");
    ready_ = UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
    stop_ = UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, stopName.c_str()));
    if (!ready_ || !stop_) throw std::runtime_error("service events not created");

    std::wstring command = L"\"" + BesideProgram(L"LocalViewService.exe") + L"\" " + readyName + L" " + stopName;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        throw std::runtime_error("LocalViewService.exe did not start");
    }
    process_ = UniqueHandle(info.hProcess);
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
