#include "referencehost/ClientLogin.h"

#include <string>

ClientLogin::ClientLogin() {
    const std::wstring events = L"SampleVaultClientLogin-" + std::to_wstring(GetCurrentProcessId());
    const UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, (events + L"-ready").c_str()));
    stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, (events + L"-stop").c_str()));
    if (!ready || !stop_) return;
    // The program's own folder is searched first.
    std::wstring command = L"LoginManager.exe " + events + L"-ready " + events + L"-stop";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        return;
    }
    const UniqueHandle thread(started.hThread);
    UniqueHandle process(started.hProcess);
    // A client that is killed takes its login manager with it.
    job_.Reset(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job_) {
        SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
        AssignProcessToJobObject(job_.Get(), process.Get());
    }
    const HANDLE outcomes[] = {ready.Get(), process.Get()};
    if (WaitForMultipleObjects(2, outcomes, FALSE, INFINITE) == WAIT_OBJECT_0) process_ = std::move(process);
}

ClientLogin::~ClientLogin() {
    if (!process_) return;
    SetEvent(stop_.Get());
    WaitForSingleObject(process_.Get(), INFINITE);
}
