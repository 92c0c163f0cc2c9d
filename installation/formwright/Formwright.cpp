// Stand-in for the file-format manager library "Formwright.dll".
//
// UpdateReferencePaths rewrites the references stored in a document with the
// plug-in for its format (Plugins.h): a stored path equal to the old path of a
// pair (letter case aside) becomes its new path. The target is a path, or the
// pair form "old">"current" of a document that moved itself, which is then
// rewritten where it lies now.
//
// Journal (Formwright.journal): Load, Unload, GetManager and every
// UpdateReferencePaths call with its target, its reference pairs and the four
// trailing arguments.
// Configuration (Formwright.ini): export-null=1 makes the export answer null;
// "update-result:<target>" or "update-result" answer a rewrite with that code
// instead of running a plug-in.
#include "installation/formwright/Plugins.h"
#include "installation/standin/Journal.h"
#include "interfaces/FileFormatMgr.h"

#include <objbase.h>

#include <cwchar>

namespace {

constexpr const wchar_t* kComponent = L"Formwright";

// The document a target names: the current path of the pair form.
std::wstring DocumentOf(const std::wstring& target) {
    const size_t joint = target.find(L"\">\"");
    if (target.size() < 2 || target.front() != L'"' || target.back() != L'"' || joint == std::wstring::npos) {
        return target;
    }
    return target.substr(joint + 3, target.size() - joint - 4);
}

std::optional<HRESULT> ConfiguredResult(const std::wstring& target) {
    for (const std::wstring& key : {L"update-result:" + target, std::wstring(L"update-result")}) {
        if (!standin::Config(kComponent, key).empty()) return standin::ConfigCode(kComponent, key, S_OK);
    }
    return std::nullopt;
}

formwright::ReferenceMap MapOf(const Lst<MoveRef*>& refs) {
    return [&refs](const std::wstring& stored) -> std::optional<std::wstring> {
        for (const MoveRef* ref : refs) {
            if (_wcsicmp(ref->oldRef.c_str(), stored.c_str()) == 0) return ref->newRef;
        }
        return std::nullopt;
    };
}

class Manager final : public FileFormatMgr {
public:
    HRESULT Reserved0() override { return E_NOTIMPL; }
    HRESULT Reserved1() override { return E_NOTIMPL; }
    HRESULT Reserved2() override { return E_NOTIMPL; }
    HRESULT Reserved3() override { return E_NOTIMPL; }
    HRESULT Reserved4() override { return E_NOTIMPL; }
    HRESULT Reserved5() override { return E_NOTIMPL; }
    HRESULT Reserved6() override { return E_NOTIMPL; }

    HRESULT UpdateReferencePaths(const wchar_t* target, Lst<MoveRef*>* refs, int32_t r1, int32_t r2, int32_t r3,
                                 int32_t r4) override {
        const std::wstring targetText = target ? target : L"(null)";
        std::wstring pairs;
        if (refs) {
            for (const MoveRef* ref : *refs) pairs += (pairs.empty() ? L"" : L";") + ref->oldRef + L">" + ref->newRef;
        }
        standin::Journal(kComponent, {L"UpdateReferencePaths", targetText, pairs,
                                      std::to_wstring(r1) + L"," + std::to_wstring(r2) + L"," + std::to_wstring(r3) +
                                          L"," + std::to_wstring(r4)});
        if (const auto configured = ConfiguredResult(targetText)) return *configured;
        if (!target || !refs) return E_POINTER;

        const std::wstring document = DocumentOf(targetText);
        const formwright::ReferenceMap map = MapOf(*refs);
        if (StgIsStorageFile(document.c_str()) == S_OK) return formwright::RewriteCompoundDocument(document, map);
        return formwright::RewriteTextDocument(document, map);
    }
};

Manager g_manager;

}  // namespace

extern "C" __declspec(dllexport) FileFormatMgr* gpoGetFileFormatMgr() {
    standin::Journal(kComponent, {L"GetManager"});
    if (standin::Config(kComponent, L"export-null") == L"1") return nullptr;
    return &g_manager;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) standin::Journal(kComponent, {L"Load"});
    if (reason == DLL_PROCESS_DETACH) standin::Journal(kComponent, {L"Unload"});
    return TRUE;
}
