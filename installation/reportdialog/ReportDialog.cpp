// Stand-in for the vault client's file-reference report dialog.
//
// ShowReport walks the whole report through IFileRefCmd and the IFileRefItem
// family, shows it in a tree view under the description, and returns when the
// user presses Close. It holds a reference to every item it walked until then.
// Journal (ReportDialog.journal), one line per call and per item walked:
//   Show <dialog name> <parent> <two zeros>;  Columns <columns> <shown columns> <flags>;
//   Text <number> <text>;  Group <display name> <name> <icon> <code> <type> <status text> <key>;
//   Item <name> <display name> <folder> <target folder> <icon> <code> <type> <status text>
//        <problem code> <problem type> <problem text> <command 11 state> <key>;
//   Closed <result>.
// Configuration (ReportDialog.ini): show-result=<code> is returned once the
// dialog has closed; no-interface=1 answers no IFileRefDlg; snapshot=<path>
// saves the window's image as PNG once shown, and snapshot-close=1 then
// closes it as if Close had been pressed; invoke=11 has the dialog invoke
// command 11 on every item that offers it, as a user would, journaled as
//   Invoked <item as listed> <result>.
#include "common/ComPtr.h"
#include "installation/standin/ComServer.h"
#include "installation/standin/Snapshot.h"
#include "installation/standin/Journal.h"
#include "installation/standin/ModalWindow.h"
#include "installation/standin/StandinWindows.h"
#include "interfaces/FileRefReport.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kComponent = L"ReportDialog";
constexpr int kTreeControl = 100;
HMODULE g_module = nullptr;

// The text of a string the report handed out, which is freed.
std::wstring Take(BSTR text) {
    std::wstring value = text ? std::wstring(text, SysStringLen(text)) : L"(null)";
    SysFreeString(text);
    return value;
}

// A VARIANT the report fills, cleared at the end.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* operator&() { return &value_; }
    const VARIANT& Get() const { return value_; }
    std::wstring Text() const {
        switch (value_.vt) {
            case VT_EMPTY: return L"empty";
            case VT_UI2: return std::to_wstring(value_.uiVal);
            case VT_BOOL: return value_.boolVal ? L"true" : L"false";
            default: return L"vt" + std::to_wstring(value_.vt);
        }
    }

private:
    VARIANT value_;
};

template <class T>
T* Query(IUnknown* from, REFIID iid) {
    void* p = nullptr;
    return SUCCEEDED(from->QueryInterface(iid, &p)) ? static_cast<T*>(p) : nullptr;
}

std::wstring Numbers(SAFEARRAY* array) {
    std::wstring text;
    if (!array) return L"(null)";
    for (LONG i = 0; i < static_cast<LONG>(array->rgsabound[0].cElements); ++i) {
        LONG value = 0;
        SafeArrayGetElement(array, &i, &value);
        text += (text.empty() ? L"" : L",") + std::to_wstring(value);
    }
    SafeArrayDestroy(array);
    return text;
}

// What the tree view shows of one item, and the reference that keeps it.
struct Walked {
    IFileRefItem* item;
    std::wstring label;
    int image;
    std::vector<size_t> children;
    bool offersNonUniqueView = false;
};

// Images of the tree view, by the icon value an item reports.
enum Image { kFileImage, kRefusedImage, kFailedImage, kFolderImage };

int ImageOf(const VARIANT& icon) {
    if (icon.vt != VT_UI2) return kFileImage;
    switch (icon.uiVal) {
        case kIconRefusedGroup: return kRefusedImage;
        case kIconFailedGroup: return kFailedImage;
        case kIconFolder: return kFolderImage;
        default: return kFileImage;
    }
}

void AddShellIcon(HIMAGELIST images, int index) {
    HICON icon = nullptr;
    ExtractIconExW(L"shell32.dll", index, nullptr, &icon, 1);
    ImageList_AddIcon(images, icon ? icon : LoadIconW(nullptr, IDI_APPLICATION));
    if (icon) DestroyIcon(icon);
}

// In the order of Image.
HIMAGELIST CreateImages() {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 0);
    AddShellIcon(images, 0);  // a document
    ImageList_AddIcon(images, LoadIconW(nullptr, IDI_ERROR));
    ImageList_AddIcon(images, LoadIconW(nullptr, IDI_WARNING));
    AddShellIcon(images, 3);  // a closed folder
    return images;
}

class Walker {
public:
    explicit Walker(IFileRefCmd* command) : command_(command) {}
    ~Walker() {
        for (const Walked& w : walked_) w.item->Release();
    }

    // Every item of a position, depth first; returns their indexes.
    std::vector<size_t> WalkList(IUnknown* position) {
        std::vector<size_t> indexes;
        IFileRefItem* item = nullptr;
        while (command_->GetNext(0, position, &item) == S_OK && item) indexes.push_back(WalkItem(item));
        return indexes;
    }

    const std::vector<Walked>& Items() const { return walked_; }

private:
    size_t WalkItem(IFileRefItem* item) {
        LONG code = 0, type = 0;
        BSTR status = nullptr;
        item->GetStatus(0, &code, &type, &status);
        const std::wstring statusText = Take(status);
        BSTR text = nullptr;
        item->GetDisplayName(0, &text);
        const std::wstring display = Take(text);
        item->GetName(0, &text);
        const std::wstring name = Take(text);
        item->GetItemKey(&text);
        const std::wstring key = Take(text);
        Variant icon;
        if (IFileRefItemIcon* icons = Query<IFileRefItemIcon>(item, IID_IFileRefItemIcon)) {
            icons->GetIcon(&icon);
            icons->Release();
        }
        const size_t index = walked_.size();
        walked_.push_back({item, display, ImageOf(icon.Get()), {}});
        if (type == kItemTypeGroup) {
            standin::Journal(kComponent, {L"Group", display, name, icon.Text(), std::to_wstring(code),
                                          std::to_wstring(type), statusText, key});
            IUnknown* children = nullptr;
            if (item->GetChildList(0, 0, &children) == S_OK && children) {
                const std::vector<size_t> indexes = WalkList(children);
                walked_[index].children = indexes;
                children->Release();
            }
            return index;
        }
        item->GetFolder(0, &text);
        const std::wstring folder = Take(text);
        std::wstring target, problemCode, problemType, problemText;
        if (IEditableFileRefItem* editable = Query<IEditableFileRefItem>(item, IID_IEditableFileRefItem)) {
            editable->GetTargetFolder(0, &text);
            target = Take(text);
            LONG pcode = -1, ptype = -1;
            BSTR problem = nullptr;
            editable->GetMoveProblem(0, &pcode, &ptype, &problem);
            problemCode = std::to_wstring(pcode);
            problemType = std::to_wstring(ptype);
            problemText = Take(problem);
            editable->Release();
        }
        Variant commandState;
        if (IFileRefItem3* commands = Query<IFileRefItem3>(item, IID_IFileRefItem3)) {
            commands->GetCommandState(kCommandNonUniqueFiles, 0, &commandState);
            commands->Release();
        }
        standin::Journal(kComponent, {L"Item", name, display, folder, target, icon.Text(), std::to_wstring(code),
                                      std::to_wstring(type), statusText, problemCode, problemType, problemText,
                                      commandState.Text(), key});
        walked_[index].offersNonUniqueView = commandState.Get().vt == VT_BOOL && commandState.Get().boolVal;
        walked_[index].label = name + L": " + statusText + L"  (" + folder + L" \u2192 " + target + L")";
        // What the item says is missing, as the dialog shows it beside the item.
        if (problemText != L"(null)" && problemText != statusText) walked_[index].label += L"  \u2014 " + problemText;
        return index;
    }

    IFileRefCmd* command_;
    std::vector<Walked> walked_;
};

class ReportWindow : public standin::ModalWindow {
public:
    ReportWindow(const std::wstring& caption, const std::wstring& description, HWND owner)
        : ModalWindow(g_module, kReportDialogClass, caption, owner, 640, 400) {
        const INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        AddControl(L"STATIC", description, SS_LEFT, kStandinTextControl, 12, 10, 600, 36);
        tree_ = AddControl(WC_TREEVIEWW, L"", WS_BORDER | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS |
                                                  TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                           kTreeControl, 12, 50, 600, 270);
        images_ = CreateImages();
        SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
        AddControl(L"BUTTON", L"Close", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 532, 330, 80, 26);
    }

    ~ReportWindow() override { ImageList_Destroy(images_); }

    void Fill(const std::vector<Walked>& items, const std::vector<size_t>& top) {
        for (size_t index : top) Insert(items, index, TVI_ROOT);
    }

private:
    void Insert(const std::vector<Walked>& items, size_t index, HTREEITEM parent) {
        TVINSERTSTRUCTW insert = {};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.iImage = insert.item.iSelectedImage = items[index].image;
        std::wstring label = items[index].label;
        insert.item.pszText = &label[0];
        const auto node = reinterpret_cast<HTREEITEM>(
            SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        for (size_t child : items[index].children) Insert(items, child, node);
        SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
    }

    void OnShown() override {
        const std::wstring snapshot = standin::Config(kComponent, L"snapshot");
        if (snapshot.empty()) return;
        const HRESULT hr = SaveWindowImage(Handle(), snapshot);
        standin::Journal(kComponent, {L"Snapshot", snapshot, standin::Hex(static_cast<unsigned long>(hr))});
        if (standin::Config(kComponent, L"snapshot-close") == L"1") End(IDOK);
    }

    HWND tree_ = nullptr;
    HIMAGELIST images_ = nullptr;
};

class ReportDialog : public standin::ComObject<IFileRefDlg> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IFileRefDlg && standin::Config(kComponent, L"no-interface") == L"1") {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return QueryFor(iid, IID_IFileRefDlg, out);
    }

    HRESULT STDMETHODCALLTYPE ShowReport(HWND parent, IFileRefCmd* command, LONG zero1, LONG zero2,
                                         BSTR dialogName) override {
        standin::Journal(kComponent, {L"Show", dialogName ? dialogName : L"(null)", standin::Hex(parent),
                                      std::to_wstring(zero1) + L"," + std::to_wstring(zero2)});
        if (!command) return E_POINTER;
        SAFEARRAY* columns = nullptr;
        SAFEARRAY* shown = nullptr;
        LONG flags = 0;
        command->GetColumns(&columns, &shown, &flags);
        standin::Journal(kComponent, {L"Columns", Numbers(columns), Numbers(shown),
                                      standin::Hex(static_cast<unsigned long>(flags))});
        const std::wstring caption = TextOf(command, kTextCaption);
        TextOf(command, 1);
        const std::wstring description = TextOf(command, kTextDescription);

        Walker walker(command);
        std::vector<size_t> top;
        IUnknown* position = nullptr;
        if (command->GetTopLevel(0, &position) == S_OK && position) {
            top = walker.WalkList(position);
            position->Release();
        }
        ReportWindow window(caption, description, parent);
        window.Fill(walker.Items(), top);
        if (standin::ConfigCode(kComponent, L"invoke", 0) == kCommandNonUniqueFiles) InvokeNonUniqueViews(walker);
        window.Run();
        const auto result = static_cast<HRESULT>(standin::ConfigCode(kComponent, L"show-result", S_OK));
        standin::Journal(kComponent, {L"Closed", standin::Hex(static_cast<unsigned long>(result))});
        return result;
    }

private:
    static void InvokeNonUniqueViews(const Walker& walker) {
        for (const Walked& walked : walker.Items()) {
            if (!walked.offersNonUniqueView) continue;
            const auto commands = ComPtr<IFileRefItem3>::Query(walked.item, IID_IFileRefItem3);
            if (!commands) continue;
            const HRESULT hr = commands->InvokeCommand(kCommandNonUniqueFiles, 0, 0);
            standin::Journal(kComponent, {L"Invoked", walked.label, standin::Hex(static_cast<unsigned long>(hr))});
        }
    }

    static std::wstring TextOf(IFileRefCmd* command, LONG number) {
        BSTR text = nullptr;
        command->GetText(number, &text);
        std::wstring value = Take(text);
        standin::Journal(kComponent, {L"Text", std::to_wstring(number), value});
        return value;
    }
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return standin::GetClassObject<ReportDialog>(clsid, CLSID_FileRefDlg, iid, out);
}
extern "C" __declspec(dllexport) HRESULT __stdcall DllCanUnloadNow() { return standin::LiveObjects() == 0 ? S_OK : S_FALSE; }
extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    return standin::RegisterInprocServer(CLSID_FileRefDlg, g_module, L"File reference report dialog");
}
extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() { return standin::UnregisterServer(CLSID_FileRefDlg); }
