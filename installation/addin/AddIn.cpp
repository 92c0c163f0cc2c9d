// Stand-in for an add-in of the vault: it journals every command it is sent
// and every record of the command's array, read through the record type of
// the installation's type library, and refuses or fails where it is told to.
//
// Journal (AddIn.journal), per command:
//   Command <cmd> <parent> <zero> <vault value> <vault value read through the
//           record's IDispatch, or (null)> <three zero words> <zero> <cancel>
//   Records <count> | Records (null) | Records (not AddInCmdData)
//   Item <id1> <id2> <id3> <zero> <text1> <text2> <five zero words>   (each record)
// Texts that are null read "(null)"; commands are written as 0x21 and so on.
// Configuration (AddIn.ini):
//   veto=<cmd>             sets cancel for that command (one line per command)
//   answer:<cmd>=<code>    answers the code; a failure with error information
// Registering the DLL also lists the add-in under the installation's add-in key.
#include "installation/addin/StandinAddIn.h"
#include "common/ComPtr.h"
#include "common/Variant.h"
#include "installation/standin/ComServer.h"
#include "installation/standin/ErrorInfo.h"
#include "installation/standin/Journal.h"
#include "installation/standin/RecordField.h"
#include "interfaces/ComRecords.h"

#include <oleauto.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

// The vault value as an add-in reads it: the "VaultValue" property of the
// vault object's IDispatch.
std::wstring ValueThroughDispatch(IDispatch* vault) {
    if (!vault) return L"(null)";
    OLECHAR name[] = L"VaultValue";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    if (FAILED(vault->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return L"(no property)";
    DISPPARAMS none = {};
    UniqueVariant value;
    const HRESULT hr = vault->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.Put(),
                                     nullptr, nullptr);
    return SUCCEEDED(hr) && value.Get().vt == VT_I4 ? std::to_wstring(value.Get().lVal) : L"(failed)";
}

void JournalRecords(SAFEARRAY* array) {
    if (!array) {
        standin::Journal(kAddInComponent, {L"Records", L"(null)"});
        return;
    }
    ComPtr<IRecordInfo> info;
    GUID type = {};
    if (FAILED(SafeArrayGetRecordInfo(array, info.Put())) || FAILED(info->GetGuid(&type)) ||
        type != RECID_AddInCmdData) {
        standin::Journal(kAddInComponent, {L"Records", L"(not AddInCmdData)"});
        return;
    }
    const ULONG count = array->rgsabound[0].cElements;
    standin::Journal(kAddInComponent, {L"Records", std::to_wstring(count)});
    for (LONG i = 0; i < static_cast<LONG>(count); ++i) {
        void* record = nullptr;
        if (FAILED(SafeArrayPtrOfIndex(array, &i, &record))) continue;
        std::wstring reserved;
        for (const wchar_t* name : {L"reserved1", L"reserved2", L"reserved3", L"reserved4", L"reserved5"}) {
            reserved += (reserved.empty() ? L"" : L",") + standin::RecordField(info.Get(), record, name);
        }
        const auto field = [&](const wchar_t* name) { return standin::RecordField(info.Get(), record, name); };
        standin::Journal(kAddInComponent, {L"Item", field(L"id1"), field(L"id2"), field(L"id3"), field(L"unused"),
                                           field(L"text1"), field(L"text2"), reserved});
    }
}

bool Vetoes(int32_t cmd) {
    for (const std::wstring& value : standin::ConfigValues(kAddInComponent, L"veto")) {
        if (static_cast<int32_t>(wcstoul(value.c_str(), nullptr, 0)) == cmd) return true;
    }
    return false;
}

class AddIn : public standin::ComObject<IStandinAddIn> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return QueryFor(iid, IID_IStandinAddIn, out);
    }

    HRESULT STDMETHODCALLTYPE OnCommand(AddInCmd* cmd, SAFEARRAY** data) override {
        if (!cmd || !data) return E_POINTER;
        standin::Journal(
            kAddInComponent,
            {L"Command", AddInCommandName(cmd->cmdType), standin::Hex(static_cast<unsigned long>(cmd->parentWindow)),
             std::to_wstring(cmd->zero1), std::to_wstring(cmd->vaultValue), ValueThroughDispatch(cmd->vaultDispatch),
             std::to_wstring(cmd->zero2[0]) + L"," + std::to_wstring(cmd->zero2[1]) + L"," +
                 std::to_wstring(cmd->zero2[2]),
             std::to_wstring(cmd->zero3), std::to_wstring(cmd->cancel)});
        JournalRecords(*data);
        const auto answer = static_cast<HRESULT>(
            standin::ConfigCode(kAddInComponent, L"answer:" + AddInCommandName(cmd->cmdType), S_OK));
        if (FAILED(answer)) {
            standin::LeaveErrorInfo(L"The add-in failed on command " + AddInCommandName(cmd->cmdType));
            return answer;
        }
        if (Vetoes(cmd->cmdType)) cmd->cancel = 1;
        return answer;
    }
};

std::wstring ClsidText() {
    wchar_t text[64] = {};
    StringFromGUID2(CLSID_StandinAddIn, text, 64);
    return text;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return standin::GetClassObject<AddIn>(clsid, CLSID_StandinAddIn, iid, out);
}
extern "C" __declspec(dllexport) HRESULT __stdcall DllCanUnloadNow() {
    return standin::LiveObjects() == 0 ? S_OK : S_FALSE;
}
extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    const HRESULT hr = standin::RegisterInprocServer(CLSID_StandinAddIn, standin::ThisModule(), L"Stand-in add-in");
    if (FAILED(hr)) return hr;
    const std::wstring description = L"Stand-in add-in";
    const LONG rc =
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kAddInsKey.c_str(), ClsidText().c_str(), REG_SZ, description.c_str(),
                        static_cast<DWORD>((description.size() + 1) * sizeof(wchar_t)));
    return HRESULT_FROM_WIN32(rc);
}
extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
    const LONG rc = RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kAddInsKey.c_str(), ClsidText().c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(rc);
    return standin::UnregisterServer(CLSID_StandinAddIn);
}
