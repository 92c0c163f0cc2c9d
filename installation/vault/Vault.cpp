// Stand-in for the host's vault object (see VaultClass.h): one COM object
// whose interfaces are facets sharing its reference count. Every object it
// hands out keeps it alive, so "Destroy" in the journal means that all of
// them were released.
#include "installation/standin/ComServer.h"
#include "installation/standin/Journal.h"
#include "installation/vault/AddInHooks.h"
#include "installation/vault/FolderLookup.h"
#include "installation/vault/ObjectModel.h"
#include "installation/vault/ReferenceGraph.h"
#include "installation/vault/ReferencedFileHandler.h"
#include "installation/vault/VaultCalls.h"
#include "installation/vault/VaultClass.h"

namespace {

class Vault : public standin::ComObject<IUnknown> {
public:
    Vault() { standin::Journal(kVaultComponent, {L"Create"}); }
    ~Vault() override { standin::Journal(kVaultComponent, {L"Destroy"}); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        // Each interface, and the name that switches it off in the configuration.
        const struct {
            const IID& iid;
            const wchar_t* name;
            IUnknown* facet;
        } served[] = {
            {IID_IVaultObjectModel, L"model", &model_},
            {IID_IReferencedFileHandler, L"handler", &handler_},
            {IID_IAddInHooks, L"hooks", &hooks_},
            {IID_IVaultValue, L"value", &value_},
            {IID_IDispatch, L"dispatch", &automation_},
            {IID_IVaultFolderLookup, L"folders", &folders_},
        };
        IUnknown* found = iid == IID_IUnknown ? this : nullptr;
        for (const auto& facet : served) {
            if (iid == facet.iid && !vault::Without(facet.name)) found = facet.facet;
        }
        if (!found) return E_NOINTERFACE;
        found->AddRef();
        *out = found;
        return S_OK;
    }

private:
    const vault::ReferenceGraph graph_ = vault::ReferenceGraph::Configured();
    vault::ObjectModel model_{*this, graph_};
    vault::ReferencedFileHandler handler_{*this};
    vault::Hooks hooks_{*this};
    vault::ValueSource value_{*this};
    vault::Automation automation_{*this};
    vault::FolderLookup folders_{*this};
};

}  // namespace

STANDIN_SERVER_EXPORTS(Vault, CLSID_StandinVault, L"Vault object")
