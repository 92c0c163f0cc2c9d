#include "filerefs/PlainCadFile.h"

#include "common/ComPtr.h"

#include <objbase.h>
#include <shlwapi.h>

#include <algorithm>
#include <iterator>

namespace {

constexpr const wchar_t* kCadExtensions[] = {L".mfg", L".tph", L".frm", L".prt", L".asm", L".drw"};

bool HasCadExtension(const std::wstring& target) {
    const wchar_t* extension = PathFindExtensionW(target.c_str());
    return std::any_of(std::begin(kCadExtensions), std::end(kCadExtensions),
                       [extension](const wchar_t* cad) { return lstrcmpiW(extension, cad) == 0; });
}

}  // namespace

bool IsPlainCadFile(const std::wstring& target) {
    if (!HasCadExtension(target)) return false;
    ComPtr<IStorage> storage;
    if (SUCCEEDED(StgOpenStorage(target.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0,
                                 storage.Put()))) {
        return false;
    }
    // A writer may hold the file; single-writer mode opens a compound file all the same.
    const HRESULT hr = StgOpenStorage(target.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_NONE | STGM_DIRECT_SWMR,
                                      nullptr, 0, storage.Put());
    return hr == STG_E_FILEALREADYEXISTS;  // the file exists and is no storage
}
