// Stand-in for the vault client's non-unique files dialog: it shows the paths
// in question and the vault files found in a window of its own and returns
// when the user presses OK.
//
// Journal (NonUniqueFilesDialog.journal):
//   Names <path>... | Names (null);  OtherNames <path>... | OtherNames (null)
//   Records <count> | Records (null) | Records (not NonUniqueFileRecord)
//   Record <value1> <value2> <value3> <text1> <text2> <text3> <text4> <flag>   (each record, read by
//                                             field name through the registered record type)
//   Show <first> <second> <third> <caption>;  Closed <result>
// Texts that are null read "(null)"; the flag is the VARIANT_BOOL's number.
// Configuration (NonUniqueFilesDialog.ini): show-result=<code>; snapshot=<path>
// saves the window as PNG once shown, and snapshot-close=1 then closes it.
#include "common/ComPtr.h"
#include "installation/standin/ComServer.h"
#include "installation/standin/Journal.h"
#include "installation/standin/ModalWindow.h"
#include "installation/standin/RecordField.h"
#include "installation/standin/Snapshot.h"
#include "installation/standin/StandinWindows.h"
#include "interfaces/ComRecords.h"
#include "interfaces/NonUniqueFilesDialog.h"

#include <oleauto.h>

#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kComponent = L"NonUniqueFilesDialog";
constexpr int kListControl = 100;

std::wstring Text(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : L"(null)"; }

// The paths of a VT_BSTR array, journaled after `label`.
std::vector<std::wstring> Paths(const wchar_t* label, SAFEARRAY* array) {
    std::vector<std::wstring> paths;
    VARTYPE type = VT_EMPTY;
    if (!array || FAILED(SafeArrayGetVartype(array, &type)) || type != VT_BSTR) {
        standin::Journal(kComponent, {label, array ? L"(not BSTR)" : L"(null)"});
        return paths;
    }
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        BSTR* element = nullptr;
        if (FAILED(SafeArrayPtrOfIndex(array, &i, reinterpret_cast<void**>(&element)))) continue;
        paths.push_back(Text(*element));
    }
    std::vector<std::wstring> fields = {label};
    fields.insert(fields.end(), paths.begin(), paths.end());
    standin::Journal(kComponent, fields);
    return paths;
}

// Journals the records; one line per record, as the window lists them.
std::vector<std::wstring> Records(SAFEARRAY* array) {
    std::vector<std::wstring> lines;
    ComPtr<IRecordInfo> info;
    GUID type = {};
    if (!array || FAILED(SafeArrayGetRecordInfo(array, info.Put())) || FAILED(info->GetGuid(&type)) ||
        type != RECID_NonUniqueFileRecord) {
        standin::Journal(kComponent, {L"Records", array ? L"(not NonUniqueFileRecord)" : L"(null)"});
        return lines;
    }
    const LONG count = static_cast<LONG>(array->rgsabound[0].cElements);
    standin::Journal(kComponent, {L"Records", std::to_wstring(count)});
    for (LONG i = 0; i < count; ++i) {
        void* record = nullptr;
        if (FAILED(SafeArrayPtrOfIndex(array, &i, &record))) continue;
        std::vector<std::wstring> values = {L"Record"};
        for (const wchar_t* name : {L"value1", L"value2", L"value3", L"text1", L"text2", L"text3", L"text4", L"flag"}) {
            values.push_back(standin::RecordField(info.Get(), record, name));
        }
        std::wstring line;
        for (size_t v = 1; v < values.size(); ++v) line += (v > 1 ? L"   " : L"") + values[v];
        lines.push_back(line);
        standin::Journal(kComponent, values);
    }
    return lines;
}

class DialogWindow : public standin::ModalWindow {
public:
    DialogWindow(const std::wstring& caption, const std::wstring& paths, const std::vector<std::wstring>& records)
        : ModalWindow(standin::ThisModule(), kNonUniqueDialogClass, caption, nullptr, 560, 320) {
        AddControl(L"STATIC", paths, SS_LEFT, kStandinTextControl, 12, 10, 520, 48);
        HWND list = AddControl(L"LISTBOX", L"", WS_BORDER | WS_VSCROLL, kListControl, 12, 62, 520, 170);
        for (const std::wstring& line : records) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        }
        AddControl(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 452, 246, 80, 26);
    }

private:
    void OnShown() override {
        const std::wstring snapshot = standin::Config(kComponent, L"snapshot");
        if (snapshot.empty()) return;
        SaveWindowImage(Handle(), snapshot);
        if (standin::Config(kComponent, L"snapshot-close") == L"1") End(IDOK);
    }
};

class NonUniqueFilesDialog : public standin::ComObject<INonUniqueFilesDialog> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return QueryFor(iid, IID_INonUniqueFilesDialog, out);
    }

    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE SetData(SAFEARRAY* names, SAFEARRAY* otherNames, SAFEARRAY* records) override {
        paths_ = Paths(L"Names", names);
        otherPaths_ = Paths(L"OtherNames", otherNames);
        records_ = Records(records);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE ShowDialog(LONG first, LONG second, LONG third, BSTR caption) override {
        standin::Journal(kComponent, {L"Show", std::to_wstring(first), std::to_wstring(second),
                                      std::to_wstring(third), Text(caption)});
        std::wstring summary;
        for (size_t i = 0; i < paths_.size(); ++i) {
            summary += paths_[i] + (i < otherPaths_.size() ? L"  \u2194  " + otherPaths_[i] : L"") + L"\n";
        }
        DialogWindow window(Text(caption), summary, records_);
        window.Run();
        const auto result = static_cast<HRESULT>(standin::ConfigCode(kComponent, L"show-result", S_OK));
        standin::Journal(kComponent, {L"Closed", standin::Hex(static_cast<unsigned long>(result))});
        return result;
    }

private:
    std::vector<std::wstring> paths_, otherPaths_, records_;
};

}  // namespace

STANDIN_SERVER_EXPORTS(NonUniqueFilesDialog, CLSID_NonUniqueFilesDialog, L"Non-unique files dialog")
