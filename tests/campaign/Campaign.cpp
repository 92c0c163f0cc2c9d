// The fault campaign: ghMove over random trees, mostly with a failing outside component, each run in a process of
// its own; no crash, hang, wrong code, lost or cut file, or leftover task memory or object may follow. A failing
// run prints the seed that repeats it.
//   campaign.exe [--runs N] [--seed S] [--fault NAME: only seeds that draw it] [--small-volume: "Full" lies on a
//   small volume of its own (tools/campaign.sh mounts one), so that copies there can run out of space]
#include "CampaignPaths.h"
#include "CampaignRun.h"
#include "Conservation.h"
#include "HeldFile.h"
#include "HelperProcess.h"
#include "LoadedModule.h"
#include "LocalViewServiceProcess.h"
#include "RunPlan.h"
#include "TestFolder.h"
#include "common/Handles.h"
#include "interfaces/Plinth.h"

#include <cstdio>
#include <cwchar>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace campaign;

constexpr DWORD kRunTimeoutMs = 60000;
constexpr UINT kKilledExitCode = 0xDEAD;

struct Totals {
    int runs = 0, faults = 0, lost = 0, truncated = 0, leaked = 0, crashes = 0, hangs = 0;
    int wrongCodes = 0, duplicated = 0;
    int killedMidway = 0;  // killed runs that had not ended by the moment drawn

    bool Clean() const { return !lost && !truncated && !leaked && !crashes && !hangs && !wrongCodes && !duplicated; }
};

std::wstring Code(HRESULT code) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(code));
    return text;
}

// The stand-ins' configuration that makes the fault happen.
void ConfigureStandins(const RunPlan& plan) {
    const std::wstring code = Code(plan.faultCode);
    const auto configure = [](const wchar_t* component, const std::vector<std::wstring>& lines) {
        WriteLines(kStandinDir + L"\\" + component + L".ini", lines);
    };
    // Add-ins hear moves and renames of files and of folders as commands of their own.
    const auto eachCommand = [](std::initializer_list<const wchar_t*> commands, const std::wstring& prefix,
                                const std::wstring& suffix) {
        std::vector<std::wstring> lines;
        for (const wchar_t* command : commands) lines.push_back(prefix + command + suffix);
        return lines;
    };
    const auto before = {L"0x15", L"0x21", L"0xF", L"0x1F"}, after = {L"0x16", L"0x22", L"0x10", L"0x20"};
    switch (plan.fault) {
    case Fault::AddInVetoes: return configure(L"AddIn", eachCommand(before, L"veto=", L""));
    case Fault::AddInFailsBefore: return configure(L"AddIn", eachCommand(before, L"answer:", L"=" + code));
    case Fault::AddInFailsAfter: return configure(L"AddIn", eachCommand(after, L"answer:", L"=" + code));
    case Fault::ManagerFails: return configure(L"Formwright", {L"update-result=" + code});
    case Fault::CatalogueFails:
        return configure(L"TextCatalog", {plan.seed % 2 ? L"init-result=" + code : L"gettext-result=" + code});
    case Fault::ReportFails:
        return configure(L"ReportDialog", {plan.seed % 2 ? L"show-result=" + code : std::wstring(L"no-interface=1")});
    case Fault::ServiceHangs: return configure(L"LocalViewService", {L"reply=never"});
    case Fault::ServiceDrops: return configure(L"LocalViewService", {L"reply=drop"});
    default: return;
    }
}

// Everything of the last run goes; the small volume's folder itself stays.
void ClearRun() {
    const std::wstring full = kView + L"\\Full";
    RemoveTree(full);
    ForEachEntry(kView, [&](const std::wstring& path, bool isFolder) {
        if (path != full) RemoveEntry(path, isFolder);
    });
    RemoveTree(kStandinDir);
    CreateDirectoryW(kStandinDir.c_str(), nullptr);
    DeleteFileW(kResultPath.c_str());
}

// The message-box library's location, pointed elsewhere for one run.
class MessageBoxLibraryMoved {
public:
    explicit MessageBoxLibraryMoved(const std::wstring& folder) {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPlinthKey, 0, KEY_READ | KEY_WRITE, key_.Put()) != ERROR_SUCCESS) return;
        wchar_t old[1024] = {};
        DWORD bytes = sizeof old;
        const LSTATUS read =
            RegGetValueW(key_.Get(), nullptr, kPlinthLocationValue, RRF_RT_ANY | RRF_NOEXPAND, nullptr, old, &bytes);
        if (read == ERROR_SUCCESS) old_ = old;
        Set(folder);
    }
    ~MessageBoxLibraryMoved() {
        if (!key_) return;
        old_ ? Set(*old_) : static_cast<void>(RegDeleteValueW(key_.Get(), kPlinthLocationValue));
    }
    MessageBoxLibraryMoved(const MessageBoxLibraryMoved&) = delete;
    MessageBoxLibraryMoved& operator=(const MessageBoxLibraryMoved&) = delete;

private:
    void Set(const std::wstring& value) const {
        RegSetValueExW(key_.Get(), kPlinthLocationValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

    UniqueRegKey key_;
    std::optional<std::wstring> old_;
};

// The run's own process, started with a ready and a go event.
class RunProcess {
public:
    RunProcess(uint32_t seed, bool smallVolume) {
        const std::wstring events =
            L"GhCampaign-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(seed);
        ready_.Reset(CreateEventW(nullptr, TRUE, FALSE, (events + L"-ready").c_str()));
        go_.Reset(CreateEventW(nullptr, TRUE, FALSE, (events + L"-go").c_str()));
        if (ready_ && go_) {
            process_ = StartProgram(L"\"" + LoadedModule::BesideProgram(L"campaign.exe") + L"\" --run " +
                                    std::to_wstring(seed) + (smallVolume ? L" 1 " : L" 0 ") + events + L"-ready " +
                                    events + L"-go");
        }
        if (!process_) throw std::runtime_error("a run's process did not start");
    }
    ~RunProcess() {
        if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.Get(), 1);
    }
    RunProcess(const RunProcess&) = delete;
    RunProcess& operator=(const RunProcess&) = delete;

    // True once the tree is written; false when the process ended or hung first.
    bool WaitUntilReady() {
        const HANDLE outcomes[] = {ready_.Get(), process_.Get()};
        return WaitForMultipleObjects(2, outcomes, FALSE, kRunTimeoutMs) == WAIT_OBJECT_0;
    }
    void Go() { SetEvent(go_.Get()); }
    bool Ended(DWORD waitMs) { return WaitForSingleObject(process_.Get(), waitMs) == WAIT_OBJECT_0; }
    void Kill() { TerminateProcess(process_.Get(), kKilledExitCode); }
    DWORD ExitCode() {
        DWORD code = 0;
        GetExitCodeProcess(process_.Get(), &code);
        return code;
    }

private:
    UniqueHandle ready_, go_, process_;
};

std::wstring PathOf(const RunPlan& plan, int file) {
    return kView + FolderPath(plan, plan.files[file].folder) + plan.files[file].name;
}

// What went wrong in one run, in words, with the seed printed before it.
class Failures {
public:
    void Add(int& counter, const std::wstring& what, int count = 1) {
        if (count == 0) return;
        counter += count;
        text_ += (text_.empty() ? L"" : L", ") + what;
    }
    const std::wstring& Text() const { return text_; }

private:
    std::wstring text_;
};

// Lets the run go and sees it to its end: killed at the moment drawn, or with
// a hanging service ended then, or on its own; a run that outlasts the
// timeout hangs.
void DriveRun(const RunPlan& plan, RunProcess& run, LocalViewServiceProcess& service, Totals& totals,
              Failures& failures) {
    run.Go();
    if (plan.fault == Fault::Killed && !run.Ended(plan.delayMs)) {
        run.Kill();
        ++totals.killedMidway;
    } else if (plan.fault == Fault::ServiceHangs && !run.Ended(plan.delayMs)) {
        service.Stop();  // the move must go on once the service is gone
    }
    if (!run.Ended(kRunTimeoutMs)) {
        run.Kill();
        run.Ended(INFINITE);
        failures.Add(totals.hangs, L"hung");
    }
}

// The run's own verdict: its result code and what it left behind.
void JudgeResult(RunProcess& run, bool killed, Totals& totals, Failures& failures) {
    if (killed && run.ExitCode() == kKilledExitCode) return;
    if (run.ExitCode() != 0) return failures.Add(totals.crashes, L"ended with " + Code(HRESULT(run.ExitCode())));
    RunResult result;
    if (!ReadRunResult(result)) return failures.Add(totals.crashes, L"wrote no result");
    if (result.code != result.expected) {
        failures.Add(totals.wrongCodes, L"answered " + Code(result.code) + L" instead of " + Code(result.expected));
    }
    if (result.leakedBlocks || !result.liveLibraries.empty()) {
        failures.Add(totals.leaked, std::to_wstring(result.leakedBlocks) + L" task-memory blocks and objects of [" +
                                        result.liveLibraries + L"] left");
    }
}

void JudgeDisk(const RunPlan& plan, Totals& totals, Failures& failures) {
    const Conservation kept = CheckConservation(plan, kView);
    failures.Add(totals.lost, std::to_wstring(kept.lost) + L" files lost", kept.lost);
    failures.Add(totals.truncated, std::to_wstring(kept.truncated) + L" files truncated", kept.truncated);
    failures.Add(totals.duplicated, std::to_wstring(kept.duplicated) + L" files found twice", kept.duplicated);
}

// Runs one plan and adds what went wrong to the totals; returns it in words, empty when nothing did.
std::wstring RunOne(const RunPlan& plan, bool smallVolume, Totals& totals) {
    ClearRun();
    ConfigureStandins(plan);
    std::optional<MessageBoxLibraryMoved> withoutMessageBoxes;
    if (plan.fault == Fault::MessageBoxMissing) withoutMessageBoxes.emplace(kWithoutManager);
    LocalViewServiceProcess service;
    RunProcess run(plan.seed, smallVolume);
    Failures failures;
    if (!run.WaitUntilReady()) {
        run.Ended(0) ? failures.Add(totals.crashes, L"ended before its tree was written")
                     : failures.Add(totals.hangs, L"hung while writing its tree");
        return failures.Text();
    }
    {
        const std::unique_ptr<HeldFile> held =
            plan.faultFile >= 0 ? std::make_unique<HeldFile>(PathOf(plan, plan.faultFile)) : nullptr;
        const int hangsBefore = totals.hangs;
        DriveRun(plan, run, service, totals, failures);
        if (totals.hangs == hangsBefore) JudgeResult(run, plan.fault == Fault::Killed, totals, failures);
    }
    service.Stop();
    JudgeDisk(plan, totals, failures);
    return failures.Text();
}

void Prepare() {
    CreateDirectoryW(kBase.c_str(), nullptr);
    CreateDirectoryW(kView.c_str(), nullptr);
    CreateDirectoryW(kWithoutManager.c_str(), nullptr);
    CopyFileW(LoadedModule::BesideProgram(L"GhMove.dll").c_str(), (kWithoutManager + L"\\GhMove.dll").c_str(), FALSE);
    SetEnvironmentVariableW(L"STANDIN_DIR", kStandinDir.c_str());
    SetEnvironmentVariableW(L"OANOCACHE", L"1");  // freed strings go back to the allocator, where the spy sees them
}

struct Options {
    int runs = 100;
    uint32_t seed = 1;
    std::wstring fault;  // empty: every fault
    bool smallVolume = false;
};

int Controller(const Options& options) {
    Prepare();
    Totals totals;
    std::map<std::wstring, int> drawn;
    for (uint32_t seed = options.seed; totals.runs < options.runs; ++seed) {
        const RunPlan plan = DrawPlan(seed, options.smallVolume);
        if (!options.fault.empty() && options.fault != FaultName(plan.fault)) continue;
        const std::wstring failures = RunOne(plan, options.smallVolume, totals);
        ++totals.runs;
        ++drawn[FaultName(plan.fault)];
        if (plan.fault != Fault::None) ++totals.faults;
        if (!failures.empty()) {
            wprintf(L"run failed: seed %u, fault %ls: %ls\n", plan.seed, FaultName(plan.fault), failures.c_str());
        }
    }
    std::wstring tally;
    for (const auto& [name, count] : drawn) tally += L" " + name + L" " + std::to_wstring(count);
    wprintf(L"campaign: runs by fault:%ls (killed before the end: %d)\n", tally.c_str(), totals.killedMidway);
    if (!options.smallVolume) wprintf(L"campaign: no small volume, so no run filled one\n");
    wprintf(L"campaign: runs %d, faults %d, lost %d, truncated %d, leaked %d, crashes %d, hangs %d\n", totals.runs,
            totals.faults, totals.lost, totals.truncated, totals.leaked, totals.crashes, totals.hangs);
    wprintf(L"campaign: wrong result codes %d, files found twice %d\n", totals.wrongCodes, totals.duplicated);
    return totals.Clean() ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 6 && std::wstring(argv[1]) == L"--run") {
        const UniqueHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[4]));
        const UniqueHandle go(OpenEventW(SYNCHRONIZE, FALSE, argv[5]));
        if (!ready || !go) return 2;
        return CampaignRun(wcstoul(argv[2], nullptr, 10), argv[3][0] == L'1', ready.Get(), go.Get());
    }
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--runs" && i + 1 < argc) {
            options.runs = _wtoi(argv[++i]);
        } else if (arg == L"--seed" && i + 1 < argc) {
            options.seed = wcstoul(argv[++i], nullptr, 10);
        } else if (arg == L"--fault" && i + 1 < argc) {
            options.fault = argv[++i];
        } else if (arg == L"--small-volume") {
            options.smallVolume = true;
        } else {
            fwprintf(stderr, L"usage: campaign [--runs N] [--seed S] [--fault NAME] [--small-volume]\n");
            return 2;
        }
    }
    try {
        return Controller(options);
    } catch (const std::exception& error) {
        fwprintf(stderr, L"campaign: %hs\n", error.what());
        return 2;
    }
}
