// Stand-in for the file-format manager library "Formwright.dll".
//
// Journal (Formwright.journal): Load, Unload, GetManager and every
// UpdateReferencePaths call with its target, its reference pairs and the four
// trailing arguments.
// Configuration (Formwright.ini): export-null=1 makes the export answer null;
// "update-result:<target>" or "update-result" set the answer of a rewrite.
#include "installation/standin/Journal.h"
#include "interfaces/FileFormatMgr.h"

namespace {

constexpr const wchar_t* kComponent = L"Formwright";

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
        const long general = standin::ConfigCode(kComponent, L"update-result", S_OK);
        return standin::ConfigCode(kComponent, L"update-result:" + targetText, general);
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
