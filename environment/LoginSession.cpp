#include "environment/LoginSession.h"

#include "common/MutexLock.h"
#include "environment/LoginTable.h"
#include "interfaces/LoginManager.h"

namespace {

// Every account may use the events, as every process of the client does.
UniqueHandle CreateOpenEvent(const wchar_t* name) {
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), &descriptor, FALSE};
    return UniqueHandle(CreateEventW(&attributes, TRUE, FALSE, name));
}

bool NamesEqualIgnoringCase(const std::u16string& a, const std::u16string& b) {
    return lstrcmpiW(reinterpret_cast<const wchar_t*>(a.c_str()), reinterpret_cast<const wchar_t*>(b.c_str())) == 0;
}

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

// How much of the view may be read: the whole region, which the system
// rounds up to its page size past the end of a smaller section.
size_t ViewBytes(const void* view) {
    MEMORY_BASIC_INFORMATION region = {};
    return VirtualQuery(view, &region, sizeof(region)) ? region.RegionSize : 0;
}

}  // namespace

LoginSession::LoginSession()
    : mutex_(CreateMutexW(nullptr, FALSE, kLoginMutexName)),
      addEvent_(CreateOpenEvent(kLoginAddEventName)),
      removeEvent_(CreateOpenEvent(kLoginRemoveEventName)) {}

bool LoginSession::OpenSection() {
    mapping_.Reset(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, kLoginSectionName));
    return static_cast<bool>(mapping_);
}

bool LoginSession::Lookup(const std::wstring& vault, LoginFields& out) const {
    const UniqueMappedView view(MapViewOfFile(mapping_.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return false;
    const size_t bytes = ViewBytes(view.Get());
    const MutexLock locked(mutex_.Get());
    const std::optional<LoginRecord> record =
        LoginTable(static_cast<const uint8_t*>(view.Get()), bytes)
            .Find(std::u16string(vault.begin(), vault.end()), NamesEqualIgnoringCase);
    if (!record) return false;
    out.text3 = Wide(record->text3);
    out.text4 = Wide(record->text4);
    out.text5 = Wide(record->text5);
    out.text6 = Wide(record->text6);
    out.number1 = record->number1;
    out.number2 = record->number2;
    out.number5 = record->number5;
    return true;
}
