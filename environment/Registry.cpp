#include "environment/Registry.h"

#include "environment/RegistryValue.h"

#include <utility>
#include <vector>

namespace {

bool ExpandEnvironment(const wchar_t* text, std::wstring& value) {
    const DWORD needed = ExpandEnvironmentStringsW(text, nullptr, 0);
    if (needed == 0) return false;
    std::vector<wchar_t> expanded(needed);
    const DWORD written = ExpandEnvironmentStringsW(text, expanded.data(), needed);
    // More than asked for: the environment changed between the calls and the buffer was left alone.
    if (written == 0 || written > needed) return false;
    value = expanded.data();
    return true;
}

}  // namespace

Registry::~Registry() { Close(); }

void Registry::Close() {
    if (key_) status_ = RegCloseKey(std::exchange(key_, nullptr));
}

bool Registry::Open(HKEY parent, const wchar_t* subkey, REGSAM access, bool create) {
    Close();
    HKEY opened = nullptr;
    if (create && subkey && *subkey) {
        status_ = RegCreateKeyExW(parent, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &opened,
                                  nullptr);
    } else {
        status_ = RegOpenKeyExW(parent, subkey, 0, access, &opened);
    }
    if (status_ != ERROR_SUCCESS) return false;
    key_ = opened;
    return true;
}

bool Registry::QueryTypeAndSize(const wchar_t* name, DWORD& type, DWORD& bytes) {
    status_ = RegQueryValueExW(key_, name, nullptr, &type, nullptr, &bytes);
    return status_ == ERROR_SUCCESS;
}

// Asks for no more than the size first reported; `bytes` becomes what was read.
bool Registry::QueryData(const wchar_t* name, void* data, DWORD& bytes) {
    status_ = RegQueryValueExW(key_, name, nullptr, nullptr, static_cast<BYTE*>(data), &bytes);
    return status_ == ERROR_SUCCESS;
}

bool Registry::HasValue(const wchar_t* name) {
    status_ = RegQueryValueExW(key_, name, nullptr, nullptr, nullptr, nullptr);
    return status_ == ERROR_SUCCESS;
}

// What the bytes mean is RegistryValue's; this reads them.
bool Registry::ReadNumber(const wchar_t* name, uint32_t& value) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (!QueryTypeAndSize(name, type, bytes) || bytes != sizeof(uint32_t)) return false;
    if (type != REG_DWORD && type != REG_DWORD_BIG_ENDIAN) return false;
    uint8_t data[sizeof(uint32_t)] = {};
    if (!QueryData(name, data, bytes)) return false;
    const std::optional<uint32_t> number = ReadRegistryNumber(type, data, bytes);
    if (!number) return false;
    value = *number;
    return true;
}

bool Registry::ReadString(const wchar_t* name, std::wstring& value) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (!QueryTypeAndSize(name, type, bytes) || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    if (bytes > kMaxRegistryValueBytes) return false;
    std::vector<uint8_t> data(bytes);
    if (!QueryData(name, data.data(), bytes)) return false;
    const std::optional<RegistryText> stored = ReadRegistryText(type, data.data(), bytes);
    if (!stored) return false;
    std::wstring text(stored->text.begin(), stored->text.end());
    if (stored->expand) return ExpandEnvironment(text.c_str(), value);
    value = std::move(text);
    return true;
}
