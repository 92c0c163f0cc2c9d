// A host of its own, on include/GhMove.h alone: a ComError the vault raises during ghMove must reach its handler
// with the vault's code and error information (exit code 0). One that cannot cross the module boundary ends in
// std::terminate (exit code 3).
#include "GhMove.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The installation's vault object (installation/vault/VaultClass.h): a host
// knows the class of the vault it lends.
constexpr CLSID kVaultClass = {0x6B0B8D43, 0x1E0C, 0x4F3B, {0x9C, 0x55, 0x2B, 0x7E, 0x5A, 0x4C, 0x9D, 0x10}};
constexpr HRESULT kRaised = static_cast<HRESULT>(0x80040111);  // what the vault is told to answer
const wchar_t* const kDescription = L"HandleReferencedFile failed in the vault";

constexpr int kSetupFailed = 1, kNotRaised = 10, kWrongCode = 11, kWrongDescription = 12, kOtherException = 13;

// The host's own holders: it shares no code with the module.
struct FreeModule {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;
struct ReleaseCom {
    void operator()(IUnknown* object) const { object->Release(); }
};
using ComObject = std::unique_ptr<IUnknown, ReleaseCom>;

// std::filesystem converts to UTF-8 for us.
std::string Utf8(const std::wstring& text) { return fs::path(text).u8string(); }

// A stand-in configuration field: backslashes are doubled.
std::wstring Field(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) out += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
    return out;
}

void WriteText(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

fs::path ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

// Lists one plain CAD document whose reference to a part changes; the rest
// of the vault client's work succeeds and changes nothing.
class MinimalHost : public MoveHost {
public:
    explicit MinimalHost(std::wstring localRoot) : root_(std::move(localRoot)) {}

    HRESULT ListReferenceUpdates(MoveRequest* request) override {
        auto* file = new RefFile;
        file->oldPath = root_ + L"\\Assy\\Top.asm";
        file->refs.Append(new MoveRef{root_ + L"\\Parts\\bolt.prt", root_ + L"\\Library\\bolt.prt"});
        request->refFiles.Append(file);
        return S_OK;
    }
    HRESULT MoveInDatabase(MoveRequest*) override { return S_OK; }
    HRESULT ResolveNames(FolderPathMap&, FileNameMap&) override { return S_OK; }
    HRESULT FindFilesByName(int32_t, const std::vector<std::wstring>*, std::vector<std::shared_ptr<FoundFileRecord>>*,
                            const wchar_t*) override {
        return S_OK;
    }

private:
    std::wstring root_;
};

// Everything the module left in the request's lists is the host's to delete.
void DeleteLists(MoveRequest& r) {
    const auto deleteAll = [](auto&... lists) { (lists.DeleteAll(), ...); };
    deleteAll(r.items, r.localItems, r.refFiles, r.dbErrors, r.errors, r.refErrors);
}

// The test's folder: the local view with the document, and the stand-ins'
// configuration, which the vault reads from STANDIN_DIR.
struct Workspace {
    Workspace() {
        fs::remove_all(root);
        fs::create_directories(root / L"standin");
        fs::create_directories(LocalRoot() + L"\\Assy");
        const std::wstring document = LocalRoot() + L"\\Assy\\Top.asm";
        const std::wstring part = LocalRoot() + L"\\Library\\bolt.prt";
        WriteText(document, "FWTEXT 1\r\nREF " + Utf8(LocalRoot() + L"\\Parts\\bolt.prt") + "\r\n");
        // The vault knows the document as referencing the part at its new
        // place, and fails when the part is handed to it.
        WriteText(root / L"standin\\Vault.ini",
                  Utf8(L"document=" + Field(document) + L"|" + Field(part) + L"\n" + L"document=" + Field(part) +
                       L"\n" + L"fail:HandleReferencedFile=0x80040111\n"));
        SetEnvironmentVariableW(L"STANDIN_DIR", (root / L"standin").c_str());
    }
    ~Workspace() {
        SetEnvironmentVariableW(L"STANDIN_DIR", nullptr);
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    std::wstring LocalRoot() const { return root / L"localview"; }

    const fs::path root = L"C:\\ghtests\\separate" + std::to_wstring(GetCurrentProcessId());
};

// What the host's handler makes of what left ghMove.
int Judge(const ComError& error) {
    const std::string description = Utf8(error.Description());
    std::printf("caught ComError 0x%08lX \"%s\"\n", static_cast<unsigned long>(error.Code()), description.c_str());
    if (error.Code() != kRaised) return kWrongCode;
    return description == Utf8(kDescription) ? 0 : kWrongDescription;
}

int RunHost() {
    const Workspace workspace;
    const Library module(LoadLibraryW((ProgramFolder() / L"GhMove.dll").c_str()));
    const auto ghMove =
        module ? reinterpret_cast<GhMoveFunction>(reinterpret_cast<void (*)()>(GetProcAddress(module.get(), "ghMove")))
               : nullptr;
    if (!ghMove) {
        std::fprintf(stderr, "GhMove.dll did not load (error %lu)\n", GetLastError());
        return kSetupFailed;
    }
    IUnknown* created = nullptr;
    if (FAILED(CoCreateInstance(kVaultClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&created)))) {
        std::fprintf(stderr, "the installation's vault object is not registered (run Setup.exe)\n");
        return kSetupFailed;
    }
    const ComObject vault(created);
    int result = kNotRaised;
    MinimalHost host(workspace.LocalRoot());
    MoveRequest request;
    request.localRoot = workspace.LocalRoot();
    request.vault = vault.get();
    try {
        const HRESULT hr = ghMove(nullptr, &host, &request, true);
        std::fprintf(stderr, "ghMove returned 0x%08lX instead of raising\n", static_cast<unsigned long>(hr));
    } catch (const ComError& error) {
        result = Judge(error);
    } catch (...) {
        result = kOtherException;
    }
    DeleteLists(request);
    if (result != 0) {
        std::fprintf(stderr, "expected the vault's ComError 0x%08lX (exit %d)\n", static_cast<unsigned long>(kRaised),
                     result);
    }
    return result;
}

}  // namespace

int main() {
    CoInitialize(nullptr);
    const int result = RunHost();
    CoUninitialize();
    return result;
}
