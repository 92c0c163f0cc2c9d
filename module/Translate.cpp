#include "module/Translate.h"

#include "common/Bstr.h"
#include "interfaces/TextCatalog.h"
#include "module/ModuleStartup.h"

std::wstring Translate(uint32_t id, const std::wstring& english) {
    ITextCatalog* service = TextCatalogService();
    if (!service) return english;
    Bstr text;
    if (service->GetText(id, text.Put()) != S_OK) return english;
    return text.Text();
}

std::wstring Translate(Msg id) { return Translate(static_cast<uint32_t>(id), EnglishText(id)); }
