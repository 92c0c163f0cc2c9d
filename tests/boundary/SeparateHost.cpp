// A host built as a program of its own: it links neither the module's nor the
// tests' libraries and knows the module only by include/GhMove.h. It loads
// GhMove.dll with LoadLibrary and has the installation's vault object raise a
// failure for a plain CAD document during ghMove; the ComError must reach the
// host's handler with the vault's code and error information. Exits with 0
// when it does. An exception that cannot cross the module boundary ends in
// std::terminate (exit code 3).
#include "GhMove.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// The installation's vault object (installation/vault/VaultClass.h): a host
// knows the class of the vault it lends.
constexpr CLSID kVaultClass = {0x6B0B8D43, 0x1E0C, 0x4F3B, {0x9C, 0x55, 0x2B, 0x7E, 0x5A, 0x4C, 0x9D, 0x10}};
constexpr HRESULT kRaised = static_cast<HRESULT>(0x80040111);  // what the vault is told to answer
const wchar_t* const kDescription = L"HandleReferencedFile failed in the vault";

constexpr int kSetupFailed = 1, kNotRaised = 10, kWrongCode = 11, kWrongDescription = 12, kOtherException = 13;

// The host's own holders: it shares no code with the module.
struct CloseFind {
    void operator()(HANDLE find) const { FindClose(find); }
};
using FindHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, CloseFind>;
struct FreeModule {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;
struct ReleaseCom {
    void operator()(IUnknown* object) const { object->Release(); }
};
using ComObject = std::unique_ptr<IUnknown, ReleaseCom>;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

// A stand-in configuration field: backslashes are doubled.
std::wstring Field(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) out += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
    return out;
}

void WriteText(const std::wstring& path, const std::string& content) {
    std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << content;
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    const HANDLE first = FindFirstFileW((path + L"\\*").c_str(), &data);
    const FindHandle find(first == INVALID_HANDLE_VALUE ? nullptr : first);
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child); else DeleteFileW(child.c_str());
        } while (FindNextFileW(find.get(), &data));
    }
    RemoveDirectoryW(path.c_str());
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring program = path;
    return program.substr(0, program.rfind(L'\\') + 1);
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
void DeleteLists(MoveRequest& request) {
    request.items.DeleteAll();
    request.localItems.DeleteAll();
    request.refFiles.DeleteAll();
    request.dbErrors.DeleteAll();
    request.errors.DeleteAll();
    request.refErrors.DeleteAll();
}

// The test's folder: the local view with the document, and the stand-ins'
// configuration, which the vault reads from STANDIN_DIR.
struct Workspace {
    Workspace() {
        CreateDirectoryW(L"C:\\ghtests", nullptr);
        root = L"C:\\ghtests\\separate" + std::to_wstring(GetCurrentProcessId());
        RemoveTree(root);
        for (const wchar_t* folder : {L"", L"\\standin", L"\\localview", L"\\localview\\Assy"}) {
            CreateDirectoryW((root + folder).c_str(), nullptr);
        }
        const std::wstring document = LocalRoot() + L"\\Assy\\Top.asm";
        const std::wstring part = LocalRoot() + L"\\Library\\bolt.prt";
        WriteText(document, "FWTEXT 1\r\nREF " + Utf8(LocalRoot() + L"\\Parts\\bolt.prt") + "\r\n");
        // The vault knows the document as referencing the part at its new
        // place, and fails when the part is handed to it.
        WriteText(root + L"\\standin\\Vault.ini",
                  Utf8(L"document=" + Field(document) + L"|" + Field(part) + L"\n" + L"document=" + Field(part) +
                       L"\n" + L"fail:HandleReferencedFile=0x80040111\n"));
        SetEnvironmentVariableW(L"STANDIN_DIR", (root + L"\\standin").c_str());
    }
    ~Workspace() {
        SetEnvironmentVariableW(L"STANDIN_DIR", nullptr);
        RemoveTree(root);
    }
    std::wstring LocalRoot() const { return root + L"\\localview"; }

    std::wstring root;
};

int RunHost() {
    const Workspace workspace;
    const Library module(LoadLibraryW((ProgramFolder() + L"GhMove.dll").c_str()));
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
    {
        MoveRequest request;
        request.localRoot = workspace.LocalRoot();
        request.vault = vault.get();
        try {
            const HRESULT hr = ghMove(nullptr, &host, &request, true);
            std::fprintf(stderr, "ghMove returned 0x%08lX instead of raising\n", static_cast<unsigned long>(hr));
        } catch (const ComError& error) {
            const std::wstring description = error.Description();
            std::printf("caught ComError 0x%08lX \"%s\"\n", static_cast<unsigned long>(error.Code()),
                        Utf8(description).c_str());
            if (error.Code() != kRaised) {
                std::fprintf(stderr, "expected the vault's code 0x%08lX\n", static_cast<unsigned long>(kRaised));
                result = kWrongCode;
            } else if (description != kDescription) {
                std::fprintf(stderr, "expected the vault's error information \"%s\"\n", Utf8(kDescription).c_str());
                result = kWrongDescription;
            } else {
                result = 0;
            }
        } catch (...) {
            std::fprintf(stderr, "ghMove raised something other than ComError\n");
            result = kOtherException;
        }
        DeleteLists(request);
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
