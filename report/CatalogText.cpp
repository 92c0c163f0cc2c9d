#include "report/CatalogText.h"

#include "common/ComPtr.h"
#include "interfaces/TextCatalog.h"
#include "report/ReportText.h"

SharedBstr CatalogText(uint32_t id, const std::wstring& english, const wchar_t* catalogue, const wchar_t* section) {
    ComPtr<ITextCatalog> service;
    CoCreateInstance(CLSID_TextCatalog, nullptr, CLSCTX_INPROC_SERVER, IID_ITextCatalog, service.PutVoid());
    if (!service) return SharedText(english);
    if (service->Init(MakeBstr(kProductCaption).Get(), MakeBstr(catalogue).Get()) != S_OK) return SharedText(english);
    Bstr text;
    service->GetSectionText(id, MakeBstr(section).Get(), text.Put());  // a null text says enough
    service.Reset();
    return text.IsNull() ? SharedText(english) : SharedBstr(std::move(text));
}
