#include "installation/standin/ComServer.h"

#include <string>

namespace standin {

std::atomic<long>& LiveObjects() {
    static std::atomic<long> count{0};
    return count;
}

namespace {

std::wstring ClsidKey(REFCLSID clsid) {
    wchar_t text[64] = {};
    StringFromGUID2(clsid, text, 64);
    return std::wstring(L"Software\\Classes\\CLSID\\") + text;
}

LONG SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

HRESULT RegisterInprocServer(REFCLSID clsid, HMODULE module, const wchar_t* description) {
    wchar_t path[MAX_PATH] = {};
    if (!GetModuleFileNameW(module, path, MAX_PATH)) return HRESULT_FROM_WIN32(GetLastError());
    UniqueRegKey classKey;
    LONG rc = RegCreateKeyExW(HKEY_LOCAL_MACHINE, ClsidKey(clsid).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              classKey.Put(), nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    SetString(classKey.Get(), nullptr, description);
    UniqueRegKey serverKey;
    rc = RegCreateKeyExW(classKey.Get(), L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, serverKey.Put(),
                         nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    SetString(serverKey.Get(), nullptr, path);
    SetString(serverKey.Get(), L"ThreadingModel", L"Both");
    return S_OK;
}

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

HRESULT UnregisterServer(REFCLSID clsid) {
    const LONG rc = RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClsidKey(clsid).c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(rc);
}

}  // namespace standin
