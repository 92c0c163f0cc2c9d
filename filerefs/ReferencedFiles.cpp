// The documents that a plain CAD document references are handed to the vault,
// each one that the vault knows, except the document itself.
#include "filerefs/ReferencedFiles.h"

#include "common/Bstr.h"
#include "common/ComErrors.h"
#include "common/ComPtr.h"
#include "filerefs/RecordArray.h"
#include "interfaces/ComRecords.h"
#include "interfaces/ReferencedFileHandler.h"
#include "interfaces/VaultObjectModel.h"

#include <cwchar>

namespace {

// What the reference utility is told; the meanings are the vault's.
constexpr int32_t kConfigureFirst = 0, kConfigureSecond = 13;
constexpr int32_t kResultKind = 1;

// The vault's two objects for a path. Only S_OK with both counts as found.
struct VaultObjects {
    ComPtr<IVaultObject> first;
    ComPtr<IVaultObject> second;
    HRESULT result = S_OK;

    VaultObjects(IVaultObjectModel* model, BSTR path)
        : result(model->GetObjectsByPath(path, first.Put(), second.Put())) {}
    bool Found() const { return result == S_OK && first && second; }
};

int32_t IdOf(IVaultObject* object) {
    int32_t id = 0;
    object->GetId(&id);
    return id;
}

// The utility reads the pair as (id of the second object, id of the first).
void AddItem(IReferenceUtility* utility, IVaultObjectModel* model, const VaultObjects& objects) {
    RecordArray items = CreateObjectIdPairArray(1);
    ObjectIdPair& pair = items.Data<ObjectIdPair>()[0];
    pair.firstId = IdOf(objects.second.Get());
    pair.secondId = IdOf(objects.first.Get());
    utility->AddItems(model, items.HandOff());
    items.TakeBack();
}

// The list's contract: IsNull answers S_OK to end the walk at once, and a
// non-zero code with the flag clear while entries remain.
bool EntriesRemain(IListPosition* position) {
    if (!position) throw ComError(E_POINTER);
    int16_t isNull = 0;
    return position->IsNull(&isNull) != S_OK && isNull == 0;
}

// The position is in and out: the list replaces it with the next place.
Bstr TakeNext(IReferenceList* list, ComPtr<IListPosition>& position) {
    Bstr path;
    int32_t value1 = 0, value2 = 0;
    IListPosition* place = position.Detach();
    list->GetNext(&place, path.Put(), &value1, &value2);
    position = ComPtr<IListPosition>::Attach(place);
    return path;
}

}  // namespace

HRESULT ProcessReferencedFiles(IUnknown* vault, const std::wstring& target) {
    const auto model = ComPtr<IVaultObjectModel>::Query(vault, IID_IVaultObjectModel);
    if (!model) return S_FALSE;
    ComPtr<IUnknown> created;
    HRESULT hr = model->CreateUtility(kReferenceUtilityKind, created.Put());
    ThrowIfFailed(hr);
    const auto utility = ComPtr<IReferenceUtility>::Query(created.Get(), IID_IReferenceUtility);
    if (!utility) return hr;

    const Bstr targetPath(target);
    const VaultObjects document(model.Get(), targetPath.Get());
    if (!document.Found()) return S_FALSE;
    AddItem(utility.Get(), model.Get(), document);

    ThrowIfFailed(utility->Configure(kConfigureFirst, kConfigureSecond));
    int32_t ran = 0;
    ThrowIfFailed(utility->Run(&ran));
    ComPtr<IReferenceList> list;
    hr = utility->GetResults(kResultKind, list.Put());
    ThrowIfFailed(hr);
    if (!list) return hr;

    ComPtr<IListPosition> position;
    hr = list->GetFirstPosition(position.Put());
    ThrowIfFailed(hr);
    const auto handler = ComPtr<IReferencedFileHandler>::Query(vault, IID_IReferencedFileHandler);

    while (EntriesRemain(position.Get())) {
        const Bstr path = TakeNext(list.Get(), position);
        const VaultObjects referenced(model.Get(), path.Get());
        hr = referenced.result;
        if (!referenced.Found()) continue;
        if (path.IsNull()) throw ComError(E_FAIL);
        if (_wcsicmp(path.Get(), target.c_str()) == 0 || !handler) continue;
        hr = handler->HandleReferencedFile(path.Get());
        ThrowIfFailed(hr);
    }
    return hr;
}
