#include "CampaignRun.h"

#include "CampaignPaths.h"
#include "FaultyHost.h"
#include "LoadedModule.h"
#include "MallocSpy.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "VaultObject.h"
#include "installation/standin/StandinWindows.h"
#include "interfaces/FileRefReport.h"
#include "interfaces/TextCatalog.h"

#include <shlobj.h>

#include <fstream>
#include <memory>
#include <optional>
#include <vector>

namespace {

// The installation's in-process servers that a run may load.
constexpr const wchar_t* kServerLibraries[] = {L"TextCatalog.dll",       L"ReportDialog.dll", L"VaultObject.dll",
                                               L"AddIn.dll",             L"LocalViewNotifier.dll",
                                               L"NonUniqueFilesDialog.dll", L"Dalbrook.dll"};

struct VaultIds {
    std::vector<int32_t> folders, files;
};

VaultIds WriteTree(SampleVault& vault, const RunPlan& plan) {
    VaultIds ids;
    for (size_t i = 0; i < plan.folders.size(); ++i) ids.folders.push_back(vault.AddFolder(FolderPath(plan, int(i))));
    vault.CreateLocalView();
    for (size_t i = 0; i < plan.files.size(); ++i) {
        const PlannedFile& file = plan.files[i];
        std::vector<int32_t> references;
        for (int referenced : file.references) references.push_back(ids.files[referenced]);
        ids.files.push_back(vault.AddFile(ids.folders[file.folder], file.name, references, FileBody(plan, int(i))));
        if (file.readOnly) {
            SetFileAttributesW((vault.LocalRoot() + FolderPath(plan, file.folder) + file.name).c_str(),
                               FILE_ATTRIBUTE_READONLY);
        }
    }
    if (plan.fault == Fault::DatabaseRefuses) {
        vault.DenyFileMovesFrom(ids.folders[plan.files[plan.items.front().index].folder]);
    }
    return ids;
}

void AddItems(OwnedRequest& request, const RunPlan& plan, const VaultIds& ids) {
    for (const PlannedItem& item : plan.items) {
        if (item.isFolder) {
            request.AddFolder(ids.folders[item.index], ids.folders[item.destFolder], item.newName);
        } else {
            const int32_t folder = ids.folders[plan.files[item.index].folder];
            request.AddFile(ids.files[item.index], folder, ids.folders[item.destFolder], item.newName);
        }
    }
}

// Every dialog of the run answered as a user who wants to get on: OK to
// reports and messages, Cancel to the question whether to try again.
struct Answers {
    MessageBoxWatcher boxes{IDOK};
    MessageBoxWatcher reports{IDOK, kReportDialogClass};
    MessageBoxWatcher questions{IDCANCEL, kPlinthBoxClass};
};

std::wstring LiveLibraries() {
    std::wstring live;
    for (const wchar_t* name : kServerLibraries) {
        const HMODULE library = GetModuleHandleW(name);
        if (!library) continue;
        using CanUnload = HRESULT(__stdcall*)();
        const auto canUnload =
            reinterpret_cast<CanUnload>(reinterpret_cast<void (*)()>(GetProcAddress(library, "DllCanUnloadNow")));
        if (canUnload && canUnload() != S_OK) live += (live.empty() ? L"" : L" ") + std::wstring(name);
    }
    return live;
}

// A component that is not installed, as COM answers for it in this process:
// every creation of its class fails with "class not registered".
class MissingClass : public IClassFactory {
public:
    explicit MissingClass(REFCLSID clsid) {
        CoRegisterClassObject(clsid, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
    }
    ~MissingClass() {
        if (cookie_) CoRevokeClassObject(cookie_);
    }
    MissingClass(const MissingClass&) = delete;
    MissingClass& operator=(const MissingClass&) = delete;

    bool Registered() const { return cookie_ != 0; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = iid == IID_IUnknown || iid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** out) override {
        if (out) *out = nullptr;
        return REGDB_E_CLASSNOTREG;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    DWORD cookie_ = 0;
};

std::unique_ptr<MissingClass> MissingComponent(const RunPlan& plan) {
    if (plan.fault == Fault::CatalogueMissing) return std::make_unique<MissingClass>(CLSID_TextCatalog);
    if (plan.fault == Fault::ReportMissing) return std::make_unique<MissingClass>(CLSID_FileRefDlg);
    return nullptr;
}

// The shell keeps its desktop folder for the life of the process, with task
// memory of its own; made before the spy starts, it is not counted as a run's.
void MakeShellDesktop() {
    ComPtr<IShellFolder> desktop;
    SHGetDesktopFolder(desktop.Put());
}

std::optional<RunResult> Run(const RunPlan& plan, HANDLE ready, HANDLE go) {
    RunResult result;
    MakeShellDesktop();
    MallocSpy spy;
    if (!spy.Registered()) return std::nullopt;  // a run whose leaks cannot be seen proves nothing
    {
        FaultyHost vault(campaign::kView, plan);
        const VaultIds ids = WriteTree(vault, plan);
        SetEvent(ready);
        WaitForSingleObject(go, INFINITE);

        const std::unique_ptr<MissingClass> missing = MissingComponent(plan);
        if (missing && !missing->Registered()) return std::nullopt;  // the fault would not happen
        const LoadedModule module(plan.fault == Fault::ManagerMissing ? campaign::kWithoutManager + L"\\GhMove.dll"
                                                                      : LoadedModule::BesideProgram(L"GhMove.dll"));
        ComPtr<IUnknown> vaultObject = CreateVaultObject();
        ParentWindow parent;
        std::optional<Answers> answers;
        if (!plan.silent) answers.emplace();
        OwnedRequest request(campaign::kView);
        AddItems(request, plan, ids);
        request->vault = vaultObject.Get();
        try {
            result.code = module.Move(parent.Get(), &vault, request.get(), plan.silent);
        } catch (const ComError& error) {
            result.code = error.Code();
        }
        result.expected = plan.Expected(!request->errors.Empty() || !request->refErrors.Empty());
    }
    result.liveLibraries = LiveLibraries();
    result.leakedBlocks = spy.Outstanding();
    return result;
}

}  // namespace

int CampaignRun(uint32_t seed, bool smallVolume, HANDLE ready, HANDLE go) {
    if (FAILED(CoInitialize(nullptr))) return 2;
    const std::optional<RunResult> run = Run(DrawPlan(seed, smallVolume), ready, go);
    if (!run) return 2;
    const RunResult& result = *run;
    std::wofstream out(campaign::kResultPath.c_str());
    out << std::hex << static_cast<unsigned long>(result.code) << L' ' << static_cast<unsigned long>(result.expected)
        << std::dec << L' ' << result.leakedBlocks << L' ' << result.liveLibraries << L'\n';
    out.close();
    CoUninitialize();
    return out ? 0 : 2;
}

bool ReadRunResult(RunResult& result) {
    std::wifstream in(campaign::kResultPath.c_str());
    unsigned long code = 0, expected = 0;
    if (!(in >> std::hex >> code >> expected >> std::dec >> result.leakedBlocks)) return false;
    result.code = static_cast<HRESULT>(code);
    result.expected = static_cast<HRESULT>(expected);
    std::getline(in, result.liveLibraries);
    if (!result.liveLibraries.empty() && result.liveLibraries[0] == L' ') result.liveLibraries.erase(0, 1);
    return true;
}
