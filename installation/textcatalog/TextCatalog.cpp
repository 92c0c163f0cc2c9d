// Stand-in for the vault client's text-localisation service.
//
// Texts come from a catalogue file: "TextCatalog.txt" in STANDIN_DIR, else
// beside this DLL. Each line: module <TAB> section <TAB> identifier <TAB> text
// (identifier decimal or 0x-hex, text with \n escapes; "#" starts a comment).
// GetText reads the section "" of the module chosen by Init.
// Configuration (TextCatalog.ini): init-result, gettext-result, gettext-null=1.
#include "installation/standin/ComServer.h"
#include "installation/standin/Journal.h"
#include "interfaces/TextCatalog.h"

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

namespace {

constexpr const wchar_t* kComponent = L"TextCatalog";
HMODULE g_module = nullptr;

using CatalogKey = std::tuple<std::wstring, std::wstring, unsigned long>;  // module, section, id

std::wstring CatalogPath() {
    const std::wstring folder = standin::Folder();
    if (!folder.empty() && GetFileAttributesW((folder + L"\\TextCatalog.txt").c_str()) != INVALID_FILE_ATTRIBUTES) {
        return folder + L"\\TextCatalog.txt";
    }
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(g_module, path, MAX_PATH);
    std::wstring beside = path;
    return beside.substr(0, beside.rfind(L'\\') + 1) + L"TextCatalog.txt";
}

std::map<CatalogKey, std::wstring> LoadCatalog() {
    std::map<CatalogKey, std::wstring> texts;
    std::ifstream in(CatalogPath().c_str(), std::ios::binary);
    std::string raw;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (raw.empty() || raw[0] == '#') continue;
        std::wstringstream line(standin::FromUtf8(raw));
        std::wstring module, section, id, text;
        if (!std::getline(line, module, L'\t') || !std::getline(line, section, L'\t') ||
            !std::getline(line, id, L'\t')) {
            continue;
        }
        std::getline(line, text);
        texts[{module, section, wcstoul(id.c_str(), nullptr, 0)}] = standin::UnescapeField(text);
    }
    return texts;
}

std::wstring Text(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }

class TextCatalog : public standin::ComObject<ITextCatalog> {
public:
    TextCatalog() { standin::Journal(kComponent, {L"Create"}); }
    ~TextCatalog() override { standin::Journal(kComponent, {L"Destroy"}); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return QueryFor(iid, IID_ITextCatalog, out);
    }
    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetText(ULONG id, BSTR* text) override {
        standin::Journal(kComponent, {L"GetText", module_, std::to_wstring(id)});
        if (!text) return E_POINTER;
        *text = nullptr;
        const long forced = standin::ConfigCode(kComponent, L"gettext-result", S_OK);
        if (forced != S_OK) return forced;
        if (standin::Config(kComponent, L"gettext-null") == L"1") return S_OK;
        return Lookup(L"", id, text);
    }

    HRESULT STDMETHODCALLTYPE GetSectionText(ULONG id, BSTR section, BSTR* text) override {
        standin::Journal(kComponent, {L"GetSectionText", module_, Text(section), std::to_wstring(id)});
        if (!text) return E_POINTER;
        *text = nullptr;
        return Lookup(Text(section), id, text);
    }

    HRESULT STDMETHODCALLTYPE Init(BSTR productCaption, BSTR moduleName) override {
        standin::Journal(kComponent, {L"Init", Text(productCaption), Text(moduleName)});
        const long result = standin::ConfigCode(kComponent, L"init-result", S_OK);
        if (FAILED(result)) return result;
        module_ = Text(moduleName);
        texts_ = LoadCatalog();
        return result;
    }

private:
    HRESULT Lookup(const std::wstring& section, ULONG id, BSTR* text) const {
        const auto it = texts_.find({module_, section, id});
        if (it == texts_.end()) return S_FALSE;
        *text = SysAllocStringLen(it->second.data(), static_cast<UINT>(it->second.size()));
        return *text ? S_OK : E_OUTOFMEMORY;
    }

    std::wstring module_;
    std::map<CatalogKey, std::wstring> texts_;
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

STANDIN_SERVER_EXPORTS(TextCatalog, CLSID_TextCatalog, L"Text catalogue")
