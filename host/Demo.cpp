// The demo: a sample vault client renames a part and moves an assembly's
// folder of its local view through GhMove.dll, which moves the files and has
// the references stored in the documents rewritten; then it tries a move that
// the vault refuses, reported in the report dialog. It prints what happened.
#include "SampleVault.h"

#include <cstdio>
#include <fstream>
#include <functional>
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

// Silent runs leave the failures to the host; the others show them.
HRESULT RunMove(GhMoveFunction ghMove, SampleVault& vault, const wchar_t* title, std::vector<MoveItem*> items,
                bool silent = true) {
    MoveRequest request;
    request.localRoot = vault.LocalRoot();
    for (MoveItem* item : items) request.items.Append(item);
    wprintf(L"\n== %ls ==\nbefore:\n", title);
    PrintTree(vault.LocalRoot());
    PrintReferences(vault.LocalRoot());
    const HRESULT hr = ghMove(nullptr, &vault, &request, silent);
    wprintf(L"result: 0x%08lX\n", static_cast<unsigned long>(hr));
    wprintf(L"  refFiles (documents whose references change): %d\n", request.refFiles.count);
    PrintErrors(L"errors", request.errors);
    PrintErrors(L"refErrors", request.refErrors);
    wprintf(L"  dbErrors: %d\nafter:\n", request.dbErrors.count);
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
    const int32_t shaft = vault.AddFile(gearbox, L"shaft.prt");
    const int32_t housing = vault.AddFile(gearbox, L"housing.prt");
    const int32_t assembly = vault.AddFile(gearbox, L"gearbox.asm", {shaft, housing});
    vault.AddFile(projects, L"housing.prt");
    vault.AddFile(vault.FolderId(L"\\Projects\\Gearbox\\Drawings\\"), L"gearbox.drw", {assembly, shaft});

    RunMove(ghMove, vault, L"rename shaft.prt to main-shaft.prt",
            {new MoveItem{shaft, gearbox, gearbox, L"main-shaft.prt"}});
    RunMove(ghMove, vault, L"move folder \\Projects\\Gearbox\\ into \\Archive\\",
            {new MoveItem{0, gearbox, archive, L""}});
    vault.CheckOutElsewhere(assembly);
    RunMove(ghMove, vault, L"move gearbox.asm, checked out by another user, to \\Projects\\ (refused, reported)",
            {new MoveItem{assembly, gearbox, projects, L""}}, false);

    FreeLibrary(module);
    CoUninitialize();
    return 0;
}
