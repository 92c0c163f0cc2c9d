// Stand-in for the local view service's COM notifier.
//
// Journal (LocalViewNotifier.journal): Create; AnnounceFile <path> <flag>;
// AnnounceFolders <flag> <reserved> <vt> <lower bound> <path>...
// Configuration (LocalViewNotifier.ini): create-result=<HRESULT> makes the
// class refuse to create objects (as if the service were not installed).
#include "installation/standin/ComServer.h"
#include "installation/standin/Journal.h"
#include "interfaces/LocalViewNotifier.h"

#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kComponent = L"LocalViewNotifier";
HMODULE g_module = nullptr;

std::wstring Text(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : L"(null)"; }

// The announced array as journal fields: its type, lower bound and elements.
std::vector<std::wstring> DescribePaths(const VARIANT& paths) {
    std::vector<std::wstring> fields = {standin::Hex(paths.vt)};
    if (paths.vt != (VT_ARRAY | VT_BSTR) || !paths.parray || SafeArrayGetDim(paths.parray) != 1) return fields;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(paths.parray, 1, &lower);
    SafeArrayGetUBound(paths.parray, 1, &upper);
    fields.push_back(std::to_wstring(lower));
    for (LONG i = lower; i <= upper; ++i) {
        BSTR path = nullptr;
        if (SUCCEEDED(SafeArrayGetElement(paths.parray, &i, &path))) fields.push_back(Text(path));
        SysFreeString(path);
    }
    return fields;
}

class Notifier : public standin::ComObject<ILocalViewNotifier>, public ILocalViewFolderNotifier {
public:
    Notifier() { standin::Journal(kComponent, {L"Create"}); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_ILocalViewFolderNotifier) {
            if (!out) return E_POINTER;
            *out = static_cast<ILocalViewFolderNotifier*>(this);
            AddRef();
            return S_OK;
        }
        return QueryFor(iid, IID_ILocalViewNotifier, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ComObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return ComObject::Release(); }

    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved10() override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE AnnounceFile(BSTR path, int32_t flag) override {
        standin::Journal(kComponent, {L"AnnounceFile", Text(path), std::to_wstring(flag)});
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE AnnounceFolders(int32_t flag, int32_t reserved, VARIANT paths) override {
        std::vector<std::wstring> fields = {L"AnnounceFolders", std::to_wstring(flag), std::to_wstring(reserved)};
        for (std::wstring& field : DescribePaths(paths)) fields.push_back(std::move(field));
        standin::Journal(kComponent, fields);
        return S_OK;
    }
};

// Creates nothing when told to fail, like a class that is not installed.
class NotifierFactory : public standin::ClassFactory<Notifier> {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        const long forced = standin::ConfigCode(kComponent, L"create-result", S_OK);
        if (FAILED(forced)) {
            if (out) *out = nullptr;
            return forced;
        }
        return ClassFactory::CreateInstance(outer, iid, out);
    }
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return standin::GetClassObject<Notifier, NotifierFactory>(clsid, CLSID_LocalViewNotifier, iid, out);
}
extern "C" __declspec(dllexport) HRESULT __stdcall DllCanUnloadNow() { return standin::LiveObjects() == 0 ? S_OK : S_FALSE; }
extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    return standin::RegisterInprocServer(CLSID_LocalViewNotifier, g_module, L"Local view notifier");
}
extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
    return standin::UnregisterServer(CLSID_LocalViewNotifier);
}
