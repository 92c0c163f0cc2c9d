#include "HeldFile.h"

#include "LoadedModule.h"

#include <atomic>
#include <stdexcept>

HeldFile::HeldFile(const std::wstring& path, DWORD shareMode, DWORD access) {
    static std::atomic<int> serial{0};
    const std::wstring events =
        L"Local\\GhTestFileHolder_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++serial);
    const std::wstring heldName = events + L"_held", letGoName = events + L"_letgo";
    const UniqueHandle held(CreateEventW(nullptr, TRUE, FALSE, heldName.c_str()));
    letGo_.reset(CreateEventW(nullptr, TRUE, FALSE, letGoName.c_str()));
    if (!held || !letGo_) throw std::runtime_error("cannot create the holder's events");

    const std::wstring program = LoadedModule::BesideProgram(L"FileHolder.exe");
    std::wstring command = L"\"" + program + L"\" \"" + path + L"\" " + std::to_wstring(access) + L" " +
                           std::to_wstring(shareMode) + L" " + heldName + L" " + letGoName + L" " +
                           std::to_wstring(GetCurrentProcessId());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        throw std::runtime_error("cannot start FileHolder.exe");
    }
    const UniqueHandle thread(started.hThread);
    process_.reset(started.hProcess);

    const HANDLE outcomes[] = {held.get(), process_.get()};
    if (WaitForMultipleObjects(2, outcomes, FALSE, INFINITE) != WAIT_OBJECT_0) {
        throw std::runtime_error("FileHolder.exe could not hold the file");
    }
}

void HeldFile::LetGo() {
    if (!process_) return;
    SetEvent(letGo_.get());
    WaitForSingleObject(process_.get(), INFINITE);
    process_.reset();
}
