// FileRefErrPos: a list of report items with a read cursor. The dialog gets it
// as an opaque IUnknown whenever it asks for a list of items (the top level
// or a group's children) and hands it back to read from it.
#pragma once

#include "GhMove.h"
#include "common/ComPtr.h"
#include "common/RefObj.h"
#include "interfaces/FileRefReport.h"

// {9A3B3ECE-AC21-4057-A7A1-02651DBBEA32}: answered with the FileRefErrPos
// object itself, so that a position handed back can be told from a foreign one.
inline constexpr IID IID_FileRefErrPos = {0x9A3B3ECE, 0xAC21, 0x4057, {0xA7, 0xA1, 0x02, 0x65, 0x1D, 0xBB, 0xEA, 0x32}};

class FileRefErrPos : public RefObj, public IUnknown {
public:
    FileRefErrPos() = default;
    ~FileRefErrPos() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(AddRefObj()); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(ReleaseObj()); }

    // Holds a reference to `item` at the tail, then reads from the start again,
    // so that a list being filled always reads from its first item.
    void Append(IFileRefItem* item);
    void Rewind() { cursor = items.head; }
    // The item at the cursor, or empty when every item has been read.
    ComPtr<IFileRefItem> Next();
    int32_t Count() const { return items.count; }

    Lst<IFileRefItem*> items;  // one reference per element
    Lst<IFileRefItem*>::Node* cursor = nullptr;
};
