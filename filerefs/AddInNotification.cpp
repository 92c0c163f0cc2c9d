#include "filerefs/AddInNotification.h"

#include "common/Bstr.h"
#include "common/ComPtr.h"
#include "filerefs/AddInRecords.h"
#include "filerefs/RecordArray.h"
#include "interfaces/AddInHooks.h"
#include "interfaces/ComRecords.h"

namespace {

struct BlockOutcome {
    bool dispatched = false;
    bool stops = false;  // the notification ends with `result` at once
    HRESULT result = S_OK;
};

BlockOutcome Stop(HRESULT result) { return {false, true, result}; }

int32_t ReadVaultValue(IAddInHooks* hook) {
    int32_t value = 0;
    if (const auto source = ComPtr<IVaultValue>::Query(hook, IID_IVaultValue)) source->GetVaultValue(&value);
    return value;
}

bool OfKind(const MoveItem& item, bool folders) { return (item.fileId == 0) == folders; }

RecordArray ItemRecords(const AddInAudience& audience, int32_t cmd, bool folders) {
    ULONG count = 0;
    for (const MoveItem* item : audience.request.items) count += OfKind(*item, folders) ? 1 : 0;
    RecordArray records = CreateAddInCmdDataArray(count);
    AddInCmdData* next = records.Data<AddInCmdData>();
    for (const MoveItem* item : audience.request.items) {
        if (!OfKind(*item, folders)) continue;
        const AddInItemRecord described =
            DescribeAddInItem(cmd, *item, audience.request.localRoot, audience.folderPaths, audience.fileNames);
        next->id1 = described.id1;
        next->id2 = described.id2;
        next->id3 = described.id3;
        if (described.text1) next->text1 = NewBstr(*described.text1);
        if (described.text2) next->text2 = NewBstr(*described.text2);
        ++next;
    }
    return records;
}

BlockOutcome NotifyBlock(const AddInAudience& audience, int32_t cmd, int32_t vaultValue, bool folders, bool before) {
    ComPtr<IAddInDispatcher> dispatcher;
    const HRESULT got = audience.hook->GetDispatcher(cmd, dispatcher.Put());
    if (FAILED(got)) return Stop(got);
    if (!dispatcher) return {};

    const auto vaultDispatch = ComPtr<IDispatch>::Query(audience.hook, IID_IDispatch);
    if (!vaultDispatch) return Stop(E_NOINTERFACE);
    AddInCmd record = {};
    record.cmdType = cmd;
    record.parentWindow = static_cast<int32_t>(reinterpret_cast<INT_PTR>(audience.parent));
    record.vaultValue = vaultValue;
    record.vaultDispatch = vaultDispatch.Get();

    RecordArray records = ItemRecords(audience, cmd, folders);
    // The dispatcher may replace the array; whatever it leaves is destroyed.
    const HRESULT result = dispatcher->Dispatch(&record, records.HandOff());
    if (before && FAILED(result)) return Stop(result);
    if (before && record.cancel != 0) return Stop(E_QOR_OPERATION_REFUSED_BY_PLUGIN);
    return {true, false, result};
}

}  // namespace

HRESULT NotifyAddIns(const AddInAudience& audience, int32_t fileCount, int32_t folderCount, int32_t folderCmd,
                     int32_t fileCmd, bool before) {
    if (folderCount <= 0 && fileCount <= 0) return S_OK;
    const int32_t vaultValue = ReadVaultValue(audience.hook);
    BlockOutcome folders, files;
    if (folderCount > 0) {
        folders = NotifyBlock(audience, folderCmd, vaultValue, true, before);
        if (folders.stops) return folders.result;
    }
    if (fileCount > 0) {
        files = NotifyBlock(audience, fileCmd, vaultValue, false, before);
        if (files.stops) return files.result;
    }
    // Before the change only refusals count; after it the first failure does.
    if (before || FAILED(folders.result) || !files.dispatched) return folders.result;
    return files.result;
}
