// The demo: a sample vault client renames a file and moves a folder of its
// local view through GhMove.dll, then tries a move that the vault refuses and
// lets GhMove.dll report it in the report dialog; it prints what happened.
#include "SampleVault.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full = path;
    return full.substr(0, full.rfind(L'\\') + 1);
}

void PrintTree(const std::wstring& root, const std::wstring& relative, int depth) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((root + relative + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        wprintf(L"  %*ls%ls%ls\n", depth * 2, L"", name.c_str(), folder ? L"\\" : L"");
        if (folder) PrintTree(root, relative + name + L"\\", depth + 1);
    } while (FindNextFileW(find, &data));
    FindClose(find);
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
    PrintTree(vault.LocalRoot(), L"\\", 1);
    const HRESULT hr = ghMove(nullptr, &vault, &request, silent);
    wprintf(L"result: 0x%08lX\n", static_cast<unsigned long>(hr));
    PrintErrors(L"errors", request.errors);
    PrintErrors(L"refErrors", request.refErrors);
    wprintf(L"  dbErrors: %d\nafter:\n", request.dbErrors.count);
    PrintTree(vault.LocalRoot(), L"\\", 1);
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
    const int32_t assembly = vault.AddFile(gearbox, L"gearbox.asm", "assembly\n");
    const int32_t shaft = vault.AddFile(gearbox, L"shaft.prt", "part\n");
    const int32_t housing = vault.AddFile(gearbox, L"housing.prt", "part\n");
    vault.AddFile(projects, L"housing.prt", "another part\n");
    vault.AddFile(vault.FolderId(L"\\Projects\\Gearbox\\Drawings\\"), L"gearbox.drw", "drawing\n");

    RunMove(ghMove, vault, L"rename shaft.prt to main-shaft.prt",
            {new MoveItem{shaft, gearbox, gearbox, L"main-shaft.prt"}});
    RunMove(ghMove, vault, L"move folder \\Projects\\Gearbox\\ into \\Archive\\",
            {new MoveItem{0, gearbox, archive, L""}});
    vault.CheckOutElsewhere(assembly);
    RunMove(ghMove, vault, L"move gearbox.asm (checked out elsewhere) and housing.prt (name taken) to \\Projects\\",
            {new MoveItem{assembly, gearbox, projects, L""}, new MoveItem{housing, gearbox, projects, L""}}, false);

    FreeLibrary(module);
    CoUninitialize();
    return 0;
}
