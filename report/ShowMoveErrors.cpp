// The error report of a move or rename, shown in the vault client's report
// dialog. When the dialog cannot be shown, a plain message box says why.
#include "report/ShowMoveErrors.h"

#include "common/ComApartment.h"
#include "common/ComCreate.h"
#include "common/ComErrors.h"
#include "common/TextFormat.h"
#include "module/Translate.h"
#include "report/ErrorText.h"
#include "report/FileRefCmdDbErrors.h"
#include "report/ReportText.h"

namespace {

constexpr const wchar_t* kDialogName = L"MoveError";

// Returns when the user has closed the dialog. The dialog calls back into the
// command object and the report tree on this thread meanwhile.
void ShowReport(HWND parent, MoveRequest* request, ReportedMove& move, const std::wstring& description,
                bool cannotMode) {
    ComPtr<IFileRefDlg> dialog;
    ThrowIfFailed(CreateRunningObject(CLSID_FileRefDlg, IID_IFileRefDlg, dialog));
    const RefPtr<FileRefCmdDbErrors> command(new FileRefCmdDbErrors(request, &move, description, cannotMode));
    if (!dialog) throw ComError(E_POINTER);
    const Bstr name(kDialogName);
    ThrowIfFailed(dialog->ShowReport(parent, command.Get(), 0, 0, name.Get()));
}

}  // namespace

void ShowMoveErrors(HWND parent, MoveRequest* request, ReportedMove& move, const std::wstring& description,
                    bool cannotMode) {
    const ComApartment com;
    // Memory that runs out on the way is told like any COM error.
    const HRESULT hr = GuardedCall([&] {
        ShowReport(parent, request, move, description, cannotMode);
        return S_OK;
    });
    if (FAILED(hr)) {
        const std::wstring text = FormatText(Translate(Msg::ReportNotShown), {hr}) + L"\n" + ErrorText(hr).Text();
        MessageBoxW(parent, text.c_str(), move.Caption().c_str(), MB_ICONERROR);
    }
}
