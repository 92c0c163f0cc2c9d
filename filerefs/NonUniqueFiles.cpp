#include "filerefs/NonUniqueFiles.h"

#include "common/Bstr.h"
#include "common/ComCreate.h"
#include "common/ComErrors.h"
#include "filerefs/RecordArray.h"
#include "interfaces/ComRecords.h"
#include "interfaces/NonUniqueFilesDialog.h"

namespace {

// Null when there are no paths.
RecordArray PathArray(const std::vector<std::wstring>& paths) {
    if (paths.empty()) return {};
    RecordArray array = CreateBstrArray(static_cast<ULONG>(paths.size()));
    BSTR* next = array.Data<BSTR>();
    for (const std::wstring& path : paths) *next++ = NewBstr(path);
    return array;
}

RecordArray FoundFileRecords(const FoundFiles& found) {
    RecordArray records = CreateNonUniqueFileRecordArray(static_cast<ULONG>(found.size()));
    NonUniqueFileRecord* next = records.Data<NonUniqueFileRecord>();
    for (const auto& file : found) {
        if (file) {
            next->value1 = file->value1;
            next->value2 = file->value2;
            next->value3 = file->value3;
            next->text1 = NewBstr(file->text1);
            next->text2 = NewBstr(file->text2);
            next->text3 = NewBstr(file->text3);
            next->text4 = NewBstr(file->text4);
            next->flag = file->flag ? VARIANT_TRUE : VARIANT_FALSE;
        }
        ++next;
    }
    return records;
}

}  // namespace

std::wstring NonUniqueFilesCaption(const std::wstring& localRoot) {
    return localRoot.substr(localRoot.rfind(L'\\') + 1);  // npos + 1 is 0: the whole root
}

HRESULT ShowNonUniqueFilesDialog(const std::vector<std::wstring>& paths, const std::vector<std::wstring>& otherPaths,
                                 const FoundFiles& found, const std::wstring& localRoot) {
    ComPtr<INonUniqueFilesDialog> dialog;
    ThrowIfFailed(CoCreateInstance(CLSID_NonUniqueFilesDialog, nullptr, kAnyServerContext,
                                   IID_INonUniqueFilesDialog, dialog.PutVoid()));
    const RecordArray names = PathArray(paths);
    const RecordArray otherNames = PathArray(otherPaths);
    const RecordArray records = FoundFileRecords(found);
    dialog->SetData(names.Get(), otherNames.Get(), records.Get());
    const Bstr caption(NonUniqueFilesCaption(localRoot));
    return dialog->ShowDialog(kNonUniqueShowFirst, kNonUniqueShowSecond, kNonUniqueShowThird, caption.Get());
}
