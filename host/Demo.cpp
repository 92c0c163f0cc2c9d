// The demo: a sample vault client renames a part and moves an assembly's
// folder of its local view through GhMove.dll, which moves the files and has
// the references stored in the documents rewritten; then it tries a move that
// the vault refuses, reported in the report dialog, a rename to a name that
// another file of the vault carries, whose report item shows the files of
// that name, and a folder rename that an add-in vetoes. It lends the module
// the installation's vault object, whose add-ins hear of every operation, and
// prints what happened. The client's login manager runs meanwhile, so that
// the report can name the permission that a refused move lacks.
#include "ClientLogin.h"
#include "SampleVault.h"

#include "installation/vault/VaultClass.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full = path;
    return full.substr(0, full.rfind(L'\\') + 1);
}

// Visits every file and folder below `relative`, depth first, folders before
// their content; folder paths end with a backslash.
void Walk(const std::wstring& root, const std::wstring& relative, int depth,
          const std::function<void(const std::wstring& path, int depth)>& visit) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((root + relative + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        visit(relative + name + (folder ? L"\\" : L""), depth);
        if (folder) Walk(root, relative + name + L"\\", depth + 1, visit);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

void PrintTree(const std::wstring& root) {
    Walk(root, L"\\", 1, [](const std::wstring& path, int depth) {
        const size_t name = path.rfind(L'\\', path.size() - 2) + 1;
        wprintf(L"  %*ls%ls\n", depth * 2, L"", path.substr(name).c_str());
    });
}

// The references stored in the documents of the local view.
void PrintReferences(const std::wstring& root) {
    Walk(root, L"\\", 1, [&](const std::wstring& path, int) {
        std::ifstream in((root + path).c_str(), std::ios::binary);
        for (std::string line; path.back() != L'\\' && std::getline(in, line);) {
            if (line.compare(0, 4, "REF ") != 0) continue;
            if (line.back() == '\r') line.pop_back();
            wprintf(L"  %ls -> %hs\n", path.c_str(), line.c_str() + 4);
        }
    });
}

void PrintErrors(const wchar_t* title, const Lst<MoveErrorEntry*>& list) {
    wprintf(L"  %ls: %d\n", title, list.count);
    for (const MoveErrorEntry* e : list) {
        wprintf(L"    0x%08lX %ls -> %ls %ls\n", static_cast<unsigned long>(e->code), e->path.c_str(),
                e->newPath.c_str(), e->detail.c_str());
    }
}

struct ReleaseCom {
    void operator()(IUnknown* object) const { object->Release(); }
};
using VaultObject = std::unique_ptr<IUnknown, ReleaseCom>;

// The vault object of the installation, whose dispatchers call its add-ins.
VaultObject CreateVaultObject() {
    IUnknown* object = nullptr;
    if (FAILED(CoCreateInstance(CLSID_StandinVault, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&object)))) {
        return nullptr;
    }
    return VaultObject(object);
}

// A journal line with its fields apart and their escapes undone.
std::string Readable(const std::string& line) {
    std::string out;
    for (size_t i = 0; i < line.size(); ++i) {
        const bool escaped = line[i] == '\\' && i + 1 < line.size();
        const char c = escaped ? line[++i] : line[i];
        out += c == '\t' || (escaped && (c == 't' || c == 'n' || c == 'r')) ? ' ' : c;
    }
    return out;
}

// The lines a stand-in journaled since the last call for it.
std::vector<std::string> NewJournalLines(const wchar_t* component) {
    static std::map<std::wstring, std::streamoff> printed;
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"STANDIN_DIR", folder, MAX_PATH)) return {};
    std::ifstream in((std::wstring(folder) + L"\\" + component + L".journal").c_str(), std::ios::binary);
    in.seekg(printed[component]);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
        printed[component] = in.tellg();
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(Readable(field));
    return fields;
}

void PrintAddInJournal() {
    const std::vector<std::string> lines = NewJournalLines(L"AddIn");
    wprintf(L"  add-ins were told:%ls\n", lines.empty() ? L" nothing" : L"");
    for (const std::string& line : lines) wprintf(L"    %hs\n", Readable(line).c_str());
}

// What the report dialog showed of each refused item: its text and, where
// the module could tell, the permission the user lacks.
void PrintReportItems() {
    constexpr size_t kName = 1, kStatus = 8, kProblem = 11;
    for (const std::string& line : NewJournalLines(L"ReportDialog")) {
        const std::vector<std::string> fields = Fields(line);
        if (fields.size() <= kProblem || fields[0] != "Item") continue;
        wprintf(L"  the report shows: %hs: %hs\n", fields[kName].c_str(), fields[kStatus].c_str());
        if (fields[kProblem] != "(null)" && fields[kProblem] != fields[kStatus]) {
            wprintf(L"    and explains: %hs\n", fields[kProblem].c_str());
        }
    }
}

// Silent runs leave the failures to the host; the others show them.
HRESULT RunMove(GhMoveFunction ghMove, SampleVault& vault, IUnknown* vaultObject, const wchar_t* title,
                std::vector<MoveItem*> items, bool silent = true) {
    MoveRequest request;
    request.localRoot = vault.LocalRoot();
    request.vault = vaultObject;
    const int changesBefore = vault.Changes();
    for (MoveItem* item : items) request.items.Append(item);
    wprintf(L"\n== %ls ==\nbefore:\n", title);
    PrintTree(vault.LocalRoot());
    PrintReferences(vault.LocalRoot());
    const HRESULT hr = ghMove(nullptr, &vault, &request, silent);
    wprintf(L"result: 0x%08lX\n", static_cast<unsigned long>(hr));
    wprintf(L"  refFiles (documents whose references change): %d\n", request.refFiles.count);
    PrintErrors(L"errors", request.errors);
    PrintErrors(L"refErrors", request.refErrors);
    wprintf(L"  dbErrors: %d\n", request.dbErrors.count);
    wprintf(L"  vault database %ls\n", vault.Changes() == changesBefore ? L"unchanged" : L"changed");
    PrintAddInJournal();
    PrintReportItems();
    wprintf(L"after:\n");
    PrintTree(vault.LocalRoot());
    wprintf(L"stored references:\n");
    PrintReferences(vault.LocalRoot());
    for (auto* list : {&request.errors, &request.refErrors}) list->DeleteAll();
    request.items.DeleteAll();
    request.refFiles.DeleteAll();
    request.dbErrors.DeleteAll();
    return hr;
}

}  // namespace

int wmain() {
    CoInitialize(nullptr);
    HMODULE module = LoadLibraryW((ProgramFolder() + L"GhMove.dll").c_str());
    const auto ghMove =
        module ? reinterpret_cast<GhMoveFunction>(reinterpret_cast<void (*)()>(GetProcAddress(module, "ghMove")))
               : nullptr;
    if (!ghMove) {
        fwprintf(stderr, L"GhMove.dll could not be loaded\n");
        return 1;
    }

    SampleVault vault(L"C:\\SampleVault");
    vault.AddFolder(L"\\");
    const int32_t projects = vault.AddFolder(L"\\Projects\\");
    const int32_t gearbox = vault.AddFolder(L"\\Projects\\Gearbox\\");
    vault.AddFolder(L"\\Projects\\Gearbox\\Drawings\\");
    const int32_t archive = vault.AddFolder(L"\\Archive\\");
    vault.CreateLocalView();
    vault.AddFile(projects, L"Cover.prt");
    const int32_t shaft = vault.AddFile(gearbox, L"shaft.prt");
    const int32_t housing = vault.AddFile(gearbox, L"housing.prt");
    const int32_t assembly = vault.AddFile(gearbox, L"gearbox.asm", {shaft, housing});
    vault.AddFile(projects, L"housing.prt");
    vault.AddFile(vault.FolderId(L"\\Projects\\Gearbox\\Drawings\\"), L"gearbox.drw", {assembly, shaft});

    VaultObject vaultObject = CreateVaultObject();
    if (!vaultObject) {
        fwprintf(stderr, L"the installation's vault object is not registered\n");
        return 1;
    }
    const ClientLogin login;
    if (!login) fwprintf(stderr, L"the login manager did not start: refusals are explained in general words\n");
    IUnknown* lent = vaultObject.get();
    RunMove(ghMove, vault, lent, L"rename shaft.prt to main-shaft.prt",
            {new MoveItem{shaft, gearbox, gearbox, L"main-shaft.prt"}});
    RunMove(ghMove, vault, lent, L"move folder \\Projects\\Gearbox\\ into \\Archive\\",
            {new MoveItem{0, gearbox, archive, L""}});
    vault.DenyFileMovesFrom(gearbox);
    RunMove(ghMove, vault, lent,
            L"move gearbox.asm to \\Projects\\; the user may not move files out of \\Archive\\Gearbox\\ "
            L"(refused, reported with the permission that is missing)",
            {new MoveItem{assembly, gearbox, projects, L""}}, false);
    RunMove(ghMove, vault, lent,
            L"rename housing.prt to cover.prt, a name that \\Projects\\Cover.prt carries (refused, the report "
            L"shows the files of that name)",
            {new MoveItem{housing, gearbox, gearbox, L"cover.prt"}}, false);
    RunMove(ghMove, vault, lent, L"rename folder \\Archive\\Gearbox\\ to Gearbox-2019 (vetoed by an add-in)",
            {new MoveItem{0, gearbox, archive, L"Gearbox-2019"}}, false);

    vaultObject.reset();
    FreeLibrary(module);
    CoUninitialize();
    return 0;
}
