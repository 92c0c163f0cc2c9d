// Installs the simulated vault client installation into the current Wine
// prefix: registers the COM servers and type libraries that lie beside this
// program and the folder of its message-box library ("/u" takes them out again).
// "/vault <name> <db server> <db name> <shell root> <archive server> <port>"
// instead records one vault's settings for every user of the machine, and
// "/uservault" with the same values for the current user only.
#include "common/ComPtr.h"
#include "common/Handles.h"
#include "common/ProcAddress.h"
#include "interfaces/Plinth.h"

#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.rfind(L'\\') + 1);
}

// Calls the server's own DllRegisterServer (or DllUnregisterServer).
bool RunRegistration(const std::wstring& dll, const char* entry) {
    UniqueLibrary module(LoadLibraryW(dll.c_str()));
    if (!module) {
        fwprintf(stderr, L"setup: cannot load %ls (%lu)\n", dll.c_str(), GetLastError());
        return false;
    }
    using Entry = HRESULT(__stdcall*)();
    const auto call = ProcAddress<Entry>(module.Get(), entry);
    const HRESULT hr = call ? call() : E_NOINTERFACE;
    if (FAILED(hr)) fwprintf(stderr, L"setup: %hs of %ls failed: 0x%08lX\n", entry, dll.c_str(), hr);
    return SUCCEEDED(hr);
}

// Registers (or unregisters) a type library that lies beside this program.
bool RegisterTypeLibrary(const std::wstring& path, bool uninstall) {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(path.c_str(), uninstall ? REGKIND_NONE : REGKIND_REGISTER, library.Put());
    if (SUCCEEDED(hr) && uninstall) {
        TLIBATTR* attr = nullptr;
        hr = library->GetLibAttr(&attr);
        if (SUCCEEDED(hr)) {
            hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
            library->ReleaseTLibAttr(attr);
        }
    }
    if (FAILED(hr)) fwprintf(stderr, L"setup: type library %ls: 0x%08lX\n", path.c_str(), hr);
    return SUCCEEDED(hr);
}

// The message-box library lies beside this program: its folder, without a
// trailing backslash, is the "Location" of the client's installation key.
bool RegisterPlinthLocation(const std::wstring& folder, bool uninstall) {
    LONG rc = ERROR_SUCCESS;
    if (uninstall) {
        rc = RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPlinthKey, kPlinthLocationValue);
        if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
    } else {
        const std::wstring location = folder.substr(0, folder.size() - 1);
        rc = RegSetKeyValueW(HKEY_LOCAL_MACHINE, kPlinthKey, kPlinthLocationValue, REG_SZ, location.c_str(),
                             static_cast<DWORD>((location.size() + 1) * sizeof(wchar_t)));
    }
    if (rc != ERROR_SUCCESS) fwprintf(stderr, L"setup: message-box library location: %ld\n", rc);
    return rc == ERROR_SUCCESS;
}

bool SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// One vault's settings, below the machine's "Databases" key or the user's "Vaults" key.
bool RegisterVault(bool forUser, wchar_t** values) {
    const std::wstring path = std::wstring(kProductKeyPath) + (forUser ? L"\\Vaults\\" : L"\\Databases\\") + values[0];
    UniqueRegKey key;
    if (RegCreateKeyExW(forUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr) !=
        ERROR_SUCCESS) {
        fwprintf(stderr, L"setup: cannot create the settings of vault %ls\n", values[0]);
        return false;
    }
    const DWORD port = wcstoul(values[5], nullptr, 10), type = 1;
    return SetText(key.Get(), L"DbServer", values[1]) && SetText(key.Get(), L"DbName", values[2]) &&
           SetText(key.Get(), L"ShellRoot", values[3]) && SetText(key.Get(), L"ServerLoc", values[4]) &&
           RegSetValueExW(key.Get(), L"ServerPort", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&port),
                          sizeof(port)) == ERROR_SUCCESS &&
           RegSetValueExW(key.Get(), L"VaultType", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type),
                          sizeof(type)) == ERROR_SUCCESS;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"/vault" || command == L"/uservault") {
        if (argc != 8) {
            fwprintf(stderr, L"setup: %ls <name> <db server> <db name> <shell root> <archive server> <port>\n",
                     command.c_str());
            return 2;
        }
        return RegisterVault(command == L"/uservault", argv + 2) ? 0 : 1;
    }
    const bool uninstall = argc > 1 && std::wstring(argv[1]) == L"/u";
    const char* entry = uninstall ? "DllUnregisterServer" : "DllRegisterServer";
    const std::wstring folder = ProgramFolder();
    bool ok = true;
    for (const wchar_t* server :
         {L"TextCatalog.dll", L"VaultObject.dll", L"AddIn.dll", L"ReportDialog.dll", L"NonUniqueFilesDialog.dll",
          L"LocalViewNotifier.dll"}) {
        ok = RunRegistration(folder + server, entry) && ok;
    }
    for (const wchar_t* library : {L"VaultRecords.tlb", L"DialogRecords.tlb"}) {
        ok = RegisterTypeLibrary(folder + library, uninstall) && ok;
    }
    ok = RegisterPlinthLocation(folder, uninstall) && ok;
    return ok ? 0 : 1;
}
