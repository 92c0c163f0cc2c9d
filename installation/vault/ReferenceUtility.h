// The reference utility: given documents, lists each one followed by the paths
// it references; its result list is walked with positions.
#pragma once

#include "common/ComPtr.h"
#include "installation/standin/ComServer.h"
#include "installation/vault/ReferenceGraph.h"
#include "interfaces/VaultObjectModel.h"

#include <string>
#include <vector>

namespace vault {

class ReferenceUtility : public standin::ComObject<IReferenceUtility> {
public:
    ReferenceUtility(IUnknown& vault, const ReferenceGraph& graph)
        : vault_(ComPtr<IUnknown>::Borrow(&vault)), graph_(graph) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return QueryFor(iid, IID_IReferenceUtility, out);
    }
    // Takes the documents by the second identifier of each ObjectIdPair.
    HRESULT STDMETHODCALLTYPE AddItems(IVaultObjectModel* model, SAFEARRAY** items) override;
    HRESULT STDMETHODCALLTYPE Configure(int32_t value1, int32_t value2) override;
    HRESULT STDMETHODCALLTYPE Run(int32_t* count) override;
    HRESULT STDMETHODCALLTYPE GetResults(int32_t kind, IReferenceList** list) override;

private:
    ComPtr<IUnknown> vault_;
    const ReferenceGraph& graph_;
    std::vector<int32_t> documentIds_;
    std::vector<std::wstring> results_;
};

class ReferenceList : public standin::ComObject<IReferenceList> {
public:
    ReferenceList(IUnknown& vault, std::vector<std::wstring> entries)
        : vault_(ComPtr<IUnknown>::Borrow(&vault)), entries_(std::move(entries)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return QueryFor(iid, IID_IUnknown, out);
    }
    HRESULT STDMETHODCALLTYPE GetFirstPosition(IListPosition** position) override;
    HRESULT STDMETHODCALLTYPE GetNext(IListPosition** position, BSTR* path, int32_t* index,
                                      int32_t* unused) override;

private:
    ComPtr<IUnknown> vault_;
    std::vector<std::wstring> entries_;
};

// A place in a list; the list stays alive while a position refers to it.
class ListPosition : public standin::ComObject<IListPosition> {
public:
    ListPosition(IUnknown& list, size_t index, size_t size)
        : list_(ComPtr<IUnknown>::Borrow(&list)), index_(index), size_(size) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return QueryFor(iid, IID_IUnknown, out);
    }
    // S_FALSE while entries remain, S_OK with the flag set at the end.
    HRESULT STDMETHODCALLTYPE IsNull(int16_t* isNull) override;

    size_t Index() const { return index_; }

private:
    ComPtr<IUnknown> list_;
    size_t index_;
    size_t size_;
};

}  // namespace vault
