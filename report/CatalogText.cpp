#include "report/CatalogText.h"

#include "common/ComPtr.h"
#include "interfaces/TextCatalog.h"

SharedBstr CatalogText(uint32_t id, const std::wstring& english, const wchar_t* catalogue, const wchar_t* section) {
    ComPtr<ITextCatalog> service;
    CoCreateInstance(CLSID_TextCatalog, nullptr, CLSCTX_INPROC_SERVER, IID_ITextCatalog, service.PutVoid());
    if (!service) return SharedBstr(english);
    if (service->Init(Bstr(kProductCaption).Get(), Bstr(catalogue).Get()) != S_OK) return SharedBstr(english);
    Bstr text;
    service->GetSectionText(id, Bstr(section).Get(), text.Put());  // a null text says enough
    service.Reset();
    return text.IsNull() ? SharedBstr(english) : SharedBstr(std::move(text));
}
