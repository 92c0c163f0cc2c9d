// The vault files that share a name, for a report item that offers them.
#include "move/Mover.h"

#include "filerefs/NonUniqueFiles.h"
#include "report/ErrorText.h"

#include <new>

namespace {

constexpr const wchar_t* kCannotShowCaption = L"Can't show Non Unique Files dialog box";

void ShowCannotShow(HRESULT code) {
    MessageBoxW(nullptr, ErrorText(code).Text().c_str(), kCannotShowCaption, MB_ICONERROR);
}

}  // namespace

// A host that finds nothing still gets the dialog; a failing host shows nothing.
HRESULT Mover::ShowNonUniqueFiles(const std::vector<std::wstring>* paths, const std::vector<std::wstring>* otherPaths) {
    if (!paths || !otherPaths) return E_INVALIDARG;
    FoundFiles found;
    if (FAILED(host->FindFilesByName(request->hostContext, paths, &found, request->localRoot.c_str()))) return S_OK;
    try {
        return ShowNonUniqueFilesDialog(*paths, *otherPaths, found, request->localRoot);
    } catch (const ComError& error) {
        ShowCannotShow(error.Code());
    } catch (const std::bad_alloc&) {
        ShowCannotShow(E_OUTOFMEMORY);
    }
    return S_OK;
}
