#include "referencehost/CrashPoints.h"

#include "referencehost/UsageError.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

struct NamedPoint {
    const wchar_t* name;
    CrashPoint point;
};
constexpr NamedPoint kPoints[] = {
    {L"after-database", CrashPoint::AfterDatabase},
    {L"during-local-moves", CrashPoint::DuringLocalMoves},
    {L"during-rewrite", CrashPoint::DuringRewrite},
};

CrashPoint g_armed = CrashPoint::None;

// Points the module's import of `function` at `replacement`; returns what it
// pointed at, or null when the module does not import it by name.
void* PatchImport(HMODULE module, const char* function, void* replacement) {
    auto* const base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return nullptr;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name;
         ++library) {
        const DWORD namesAt = library->OriginalFirstThunk ? library->OriginalFirstThunk : library->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesAt);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* named = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(named->Name), function) != 0) continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            void* const previous = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return previous;
        }
    }
    return nullptr;
}

using MoveFileExFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
using GetProcAddressFunction = FARPROC(WINAPI*)(HMODULE, LPCSTR);
MoveFileExFunction g_moveFile = nullptr;
GetProcAddressFunction g_getProcAddress = nullptr;
GetFileFormatMgrFunction g_getManager = nullptr;
std::function<int()> g_listedDocuments;

BOOL WINAPI MoveFileThenCrash(LPCWSTR from, LPCWSTR to, DWORD flags) {
    const BOOL moved = g_moveFile(from, to, flags);
    if (moved) ReachCrashPoint(CrashPoint::DuringLocalMoves);
    return moved;
}

// The file-format manager as the module sees it: the real one, which the
// host's crash point interrupts before the middle document's rewrite.
class InterruptedManager : public FileFormatMgr {
public:
    HRESULT Reserved0() override { return real->Reserved0(); }
    HRESULT Reserved1() override { return real->Reserved1(); }
    HRESULT Reserved2() override { return real->Reserved2(); }
    HRESULT Reserved3() override { return real->Reserved3(); }
    HRESULT Reserved4() override { return real->Reserved4(); }
    HRESULT Reserved5() override { return real->Reserved5(); }
    HRESULT Reserved6() override { return real->Reserved6(); }
    HRESULT UpdateReferencePaths(const wchar_t* target, Lst<MoveRef*>* refs, int32_t r1, int32_t r2, int32_t r3,
                                 int32_t r4) override {
        if (++calls_ >= (g_listedDocuments() + 1) / 2) ReachCrashPoint(CrashPoint::DuringRewrite);
        return real->UpdateReferencePaths(target, refs, r1, r2, r3, r4);
    }

    FileFormatMgr* real = nullptr;

private:
    int calls_ = 0;
};
InterruptedManager g_manager;

FileFormatMgr* GetInterruptedManager() {
    g_manager.real = g_getManager();
    return g_manager.real ? &g_manager : nullptr;
}

FARPROC WINAPI GetProcAddressOfInterrupted(HMODULE module, LPCSTR name) {
    const FARPROC found = g_getProcAddress(module, name);
    const bool byName = reinterpret_cast<ULONG_PTR>(name) > 0xFFFF;
    if (!found || !byName || std::strcmp(name, kFileFormatExportName) != 0) return found;
    // Through a generic function pointer, which any function pointer may be cast from.
    g_getManager = reinterpret_cast<GetFileFormatMgrFunction>(reinterpret_cast<void (*)()>(found));
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&GetInterruptedManager));
}

}  // namespace

CrashPoint ArmedCrashPoint() {
    wchar_t value[64] = {};
    if (!GetEnvironmentVariableW(L"VAULTHOST_CRASH_AT", value, 64) || !*value) return CrashPoint::None;
    for (const NamedPoint& named : kPoints) {
        if (std::wcscmp(named.name, value) == 0) return named.point;
    }
    throw UsageError("VAULTHOST_CRASH_AT must be after-database, during-local-moves or during-rewrite");
}

void ArmCrashPoints(HMODULE module, std::function<int()> listedDocuments) {
    g_armed = ArmedCrashPoint();
    g_listedDocuments = std::move(listedDocuments);
    if (g_armed == CrashPoint::DuringLocalMoves) {
        g_moveFile = reinterpret_cast<MoveFileExFunction>(
            PatchImport(module, "MoveFileExW", reinterpret_cast<void*>(&MoveFileThenCrash)));
    }
    if (g_armed == CrashPoint::DuringRewrite) {
        g_getProcAddress = reinterpret_cast<GetProcAddressFunction>(
            PatchImport(module, "GetProcAddress", reinterpret_cast<void*>(&GetProcAddressOfInterrupted)));
    }
}

void ReachCrashPoint(CrashPoint point) {
    if (point != g_armed) return;
    std::fflush(stdout);
    std::fputs("vaulthost: killed itself at the crash point it was told\n", stderr);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), kCrashExitCode);
}
