// The file-format manager of "Formwright.dll", as the module calls it.
#pragma once

#include "GhMove.h"

// Not a COM interface and not reference counted; it lives as long as its
// library stays loaded. The module calls only the eighth operation.
class FileFormatMgr {
public:
    virtual HRESULT Reserved0() = 0;
    virtual HRESULT Reserved1() = 0;
    virtual HRESULT Reserved2() = 0;
    virtual HRESULT Reserved3() = 0;
    virtual HRESULT Reserved4() = 0;
    virtual HRESULT Reserved5() = 0;
    virtual HRESULT Reserved6() = 0;
    // Rewrites the references stored in `target` (a path, or "old">"new" for a
    // file that moved itself) by the pairs of `refs`. The last four are always 0.
    virtual HRESULT UpdateReferencePaths(const wchar_t* target, Lst<MoveRef*>* refs, int32_t reserved1,
                                         int32_t reserved2, int32_t reserved3, int32_t reserved4) = 0;

protected:
    ~FileFormatMgr() = default;
};

inline constexpr const wchar_t* kFileFormatLibraryName = L"Formwright.dll";
inline constexpr const char* kFileFormatExportName = "gpoGetFileFormatMgr";
using GetFileFormatMgrFunction = FileFormatMgr* (*)();
