#include "installation/standin/ErrorInfo.h"

#include "common/Bstr.h"
#include "common/ComPtr.h"

#include <oleauto.h>

namespace standin {

void LeaveErrorInfo(const std::wstring& description) {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.Put()))) return;
    const Bstr text(description);
    create->SetDescription(text.Get());
    const auto info = ComPtr<IErrorInfo>::Query(create.Get(), IID_IErrorInfo);
    SetErrorInfo(0, info.Get());
}

}  // namespace standin
