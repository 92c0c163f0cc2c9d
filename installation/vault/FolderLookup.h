// The vault's folders by local path, from the vault database's folders table
// when the configuration names one, otherwise from its "folder=<path>|<id>"
// lines (paths and names compared ignoring case either way).
#pragma once

#include "common/ComPtr.h"
#include "installation/standin/ComServer.h"
#include "installation/vault/Facet.h"
#include "interfaces/VaultFolderLookup.h"

namespace vault {

// Keeps its vault alive, as all the vault's objects do.
class Folder : public standin::ComObject<IVaultFolder> {
public:
    Folder(IUnknown& vault, int32_t id) : vault_(ComPtr<IUnknown>::Borrow(&vault)), id_(id) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return QueryFor(iid, IID_IUnknown, out);
    }
    HRESULT STDMETHODCALLTYPE GetFolderId(int32_t* id) override;

private:
    ComPtr<IUnknown> vault_;
    int32_t id_;
};

class FolderLookup : public Facet<IVaultFolderLookup> {
public:
    using Facet::Facet;
    HRESULT STDMETHODCALLTYPE FindFolderByPath(BSTR path, IVaultFolder** folder) override;
};

}  // namespace vault
