// FileRefCmdDbErrors: the command object that drives the report dialog. It
// hands the dialog its columns and texts, and builds the report tree from the
// request's three failure lists whenever the dialog asks for the top level.
#pragma once

#include "GhMove.h"
#include "common/Bstr.h"
#include "common/RefObj.h"
#include "common/RefPtr.h"
#include "environment/PermissionConnection.h"
#include "interfaces/FileRefReport.h"
#include "module/Messages.h"

#include <string>

class FileRefErr;
class FileRefErrPos;
class ReportedMove;

class FileRefCmdDbErrors : public IFileRefCmd, public RefObj {
public:
    // Opens the permission connection; a failure leaves it empty, unreported.
    FileRefCmdDbErrors(MoveRequest* request, ReportedMove* mover, const std::wstring& description, bool cannotMode);
    ~FileRefCmdDbErrors() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(AddRefObj()); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(ReleaseObj()); }

    HRESULT STDMETHODCALLTYPE GetColumns(SAFEARRAY** columns, SAFEARRAY** shownColumns, LONG* flags) override;
    HRESULT STDMETHODCALLTYPE CmdSlot4(ULONG_PTR, ULONG_PTR, ULONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTopLevel(ULONG, IUnknown** position) override;
    HRESULT STDMETHODCALLTYPE GetNext(ULONG, IUnknown* position, IFileRefItem** item) override;
    HRESULT STDMETHODCALLTYPE CmdSlot7(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CmdSlot8(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetText(LONG number, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE CmdSlot10(ULONG_PTR) override { return S_OK; }

    // Which permission the user lacks to move `item`, through `permissions`.
    Msg MovePermissionProblem(const FileRefErr& item) const;

    MoveRequest* request;   // not owned
    bool cannotMode;        // refused before any local change: "can not" wording
    SharedBstr description;
    ReportedMove* mover;    // not owned
    SpConnection permissions;  // empty without a connection

private:
    // 0 with a connection in `permissions`, 1 without.
    int OpenPermissionConnection();
    // A new tree from the failure lists as they stand: one group per database
    // failure kind in first-seen order, then the local group, then the
    // reference group.
    RefPtr<FileRefErrPos> BuildTree();
    void AddDatabaseFailures(FileRefErrPos& top);
    void AddModuleFailures(FileRefErrPos& top, const Lst<MoveErrorEntry*>& entries, bool withOwner, Msg counted,
                           Msg single);
};
