// The vault object model: files and folders by path, and the utilities.
#pragma once

#include "common/ComPtr.h"
#include "installation/standin/ComServer.h"
#include "installation/vault/Facet.h"
#include "installation/vault/ReferenceGraph.h"
#include "interfaces/VaultObjectModel.h"

namespace vault {

// A file or a folder; it keeps its vault alive, as all the vault's objects do.
class VaultObject : public standin::ComObject<IVaultObject> {
public:
    VaultObject(IUnknown& vault, int32_t id) : vault_(ComPtr<IUnknown>::Borrow(&vault)), id_(id) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return QueryFor(iid, IID_IUnknown, out);
    }
    HRESULT STDMETHODCALLTYPE GetId(int32_t* id) override;

private:
    ComPtr<IUnknown> vault_;
    int32_t id_;
};

class ObjectModel : public Facet<IVaultObjectModel> {
public:
    ObjectModel(IUnknown& vault, const ReferenceGraph& graph) : Facet(vault), graph_(graph) {}

    // A known document gives itself and its folder.
    HRESULT STDMETHODCALLTYPE GetObjectsByPath(BSTR path, IVaultObject** first, IVaultObject** second) override;
    HRESULT STDMETHODCALLTYPE CreateUtility(int32_t kind, IUnknown** utility) override;

private:
    const ReferenceGraph& graph_;
};

}  // namespace vault
