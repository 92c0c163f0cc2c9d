#include "referencehost/Output.h"

#include "common/Handles.h"

#include <windows.h>

#include <cstdio>

namespace {

struct KnownResult {
    HRESULT code;
    const wchar_t* text;
};
constexpr KnownResult kKnownResults[] = {
    {S_OK, L"the operation ran"},
    {S_FALSE, L"refused before the local view changed"},
    {E_QOR_FILE_SHARE_ERROR, L"files are held by other programs"},
    {E_QOR_NAME_ALREADY_EXISTS, L"an item of that name already exists"},
    {E_QOR_OPERATION_REFUSED_BY_PLUGIN, L"an add-in refused the operation"},
    {E_QOR_INVALID_NAME, L"the name is not valid"},
    {E_QOR_IO_ERROR, L"the local view could not be changed"},
    {E_QOR_NO_MATCHING_PLUGIN, L"no plug-in reads the file"},
    {E_QOR_MISSING_ORAVANE_MODULE, L"the file-format manager could not be loaded"},
    {E_POINTER, L"the request holds a null element"},
    {E_INVALIDARG, L"a path of the request is not a full local path"},
    {HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), L"a new path is too long"},
    {E_FAIL, L"the vault database failed"},
};

std::wstring Field(const wchar_t* name, const std::wstring& value) {
    return L"\"" + std::wstring(name) + L"\": " + Json(value);
}

std::wstring Number(const wchar_t* name, long long value) {
    return L"\"" + std::wstring(name) + L"\": " + std::to_wstring(value);
}

template <class T, class Describe>
std::wstring JsonList(const Lst<T*>& list, Describe describe) {
    std::wstring out = L"[";
    for (const T* entry : list) out += (out.size() > 1 ? L", {" : L"{") + describe(*entry) + L"}";
    return out + L"]";
}

std::wstring ErrorEntryJson(const MoveErrorEntry& e) {
    return Field(L"code", HexCode(e.code)) + L", " + Field(L"text", ResultText(e.code)) + L", " +
           Field(L"path", e.refFile ? e.refFile->oldPath : e.path) + L", " + Field(L"newPath", e.newPath) + L", " +
           Field(L"detail", e.detail);
}

std::wstring RefFileJson(const RefFile& file) {
    return Field(L"oldPath", file.oldPath) + L", " + Field(L"newPath", file.newPath) + L", \"refs\": " +
           JsonList(file.refs, [](const MoveRef& ref) {
               return Field(L"oldRef", ref.oldRef) + L", " + Field(L"newRef", ref.newRef);
           });
}

std::wstring DbErrorJson(const DbMoveError& e) {
    return Number(L"fileId", e.fileId) + L", " + Number(L"kind", e.kind) + L", " + Field(L"itemName", e.itemName) +
           L", " + Field(L"conflictName", e.conflictName) + L", " + Field(L"oldFolder", e.oldFolder) + L", " +
           Field(L"newFolder", e.newFolder);
}

void PrintJson(const MoveRequest& request, HRESULT result, const std::wstring& failure) {
    std::wstring out = L"{" + Field(L"result", HexCode(result)) + L", " + Field(L"text", ResultText(result));
    if (!failure.empty()) out += L", " + Field(L"databaseFailure", failure);
    out += L", \"refFiles\": " + JsonList(request.refFiles, RefFileJson);
    out += L", \"dbErrors\": " + JsonList(request.dbErrors, DbErrorJson);
    out += L", \"errors\": " + JsonList(request.errors, ErrorEntryJson);
    out += L", \"refErrors\": " + JsonList(request.refErrors, ErrorEntryJson);
    Print(out + L"}\n");
}

void PrintErrors(const wchar_t* title, const Lst<MoveErrorEntry*>& list) {
    Print(std::wstring(title) + L": " + std::to_wstring(list.count) + L"\n");
    for (const MoveErrorEntry* e : list) {
        const std::wstring& path = e->refFile ? e->refFile->oldPath : e->path;
        Print(L"  " + HexCode(e->code) + L" " + ResultText(e->code) + L": " + path +
              (e->newPath.empty() ? L"" : L" -> " + e->newPath) + (e->detail.empty() ? L"" : L" (" + e->detail + L")") +
              L"\n");
    }
}

void PrintText(const MoveRequest& request, HRESULT result, const std::wstring& failure) {
    Print(L"result " + HexCode(result) + L": " + ResultText(result) + L"\n");
    if (!failure.empty()) Print(L"the vault database said: " + failure + L"\n");
    Print(L"documents whose references change: " + std::to_wstring(request.refFiles.count) + L"\n");
    for (const RefFile* file : request.refFiles) {
        Print(L"  " + file->oldPath + (file->newPath.empty() ? L"" : L" (moves to " + file->newPath + L")") + L"\n");
        for (const MoveRef* ref : file->refs) Print(L"    " + ref->oldRef + L" -> " + ref->newRef + L"\n");
    }
    Print(L"refused by the vault: " + std::to_wstring(request.dbErrors.count) + L"\n");
    for (const DbMoveError* e : request.dbErrors) {
        Print(L"  kind " + std::to_wstring(e->kind) + L": " + e->oldFolder + e->itemName + L" -> " + e->newFolder +
              (e->conflictName.empty() ? L"" : L" (as " + e->conflictName + L" is named)") + L"\n");
    }
    PrintErrors(L"local moves that failed", request.errors);
    PrintErrors(L"reference rewrites that failed", request.refErrors);
}

}  // namespace

void Print(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    fwrite(utf8.data(), 1, utf8.size(), stdout);
}

std::wstring Json(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            out += L'\\';
            out += c;
        } else if (c >= 0x20 && c < 0x7F) {
            out += c;
        } else {
            wchar_t escaped[8];
            swprintf(escaped, 8, L"\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out + L"\"";
}

std::wstring HexCode(HRESULT code) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(code));
    return text;
}

std::wstring ResultText(HRESULT code) {
    for (const KnownResult& known : kKnownResults) {
        if (known.code == code) return known.text;
    }
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&message), 0,
                                        nullptr);
    const UniqueLocalMem<wchar_t> owned(message);
    std::wstring text = length ? std::wstring(message, length) : L"unknown result";
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.')) text.pop_back();
    return text;
}

void PrintOutcome(const MoveRequest& request, HRESULT result, const std::string& databaseFailure, bool json) {
    const std::wstring failure(databaseFailure.begin(), databaseFailure.end());
    if (json) {
        PrintJson(request, result, failure);
    } else {
        PrintText(request, result, failure);
    }
}
