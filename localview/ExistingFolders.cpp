#include "localview/ExistingFolders.h"

#include "localview/EnsureDirectory.h"

HRESULT ExistingFolders::EnsureOnDisk(const std::wstring& folder) {
    const HRESULT hr = EnsureDirectory(folder);
    if (SUCCEEDED(hr)) {
        known_.insert(folder);
    } else {
        known_.erase(folder);
    }
    return hr;
}

HRESULT ExistingFolders::Ensure(const std::wstring& folder) {
    return known_.count(folder) ? S_FALSE : EnsureOnDisk(folder);
}
