#include "environment/Registry.h"

#include <utility>
#include <vector>

namespace {

uint32_t FromBigEndian(uint32_t value) {
    return (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

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

// Asks for no more than the size first reported, so that bytes beyond it stay as the caller set them.
bool Registry::QueryData(const wchar_t* name, void* data, DWORD bytes) {
    status_ = RegQueryValueExW(key_, name, nullptr, nullptr, static_cast<BYTE*>(data), &bytes);
    return status_ == ERROR_SUCCESS;
}

bool Registry::HasValue(const wchar_t* name) {
    status_ = RegQueryValueExW(key_, name, nullptr, nullptr, nullptr, nullptr);
    return status_ == ERROR_SUCCESS;
}

bool Registry::ReadNumber(const wchar_t* name, uint32_t& value) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (!QueryTypeAndSize(name, type, bytes) || bytes != sizeof(uint32_t)) return false;
    if (type != REG_DWORD && type != REG_DWORD_BIG_ENDIAN) return false;
    uint32_t number = 0;
    if (!QueryData(name, &number, bytes)) return false;
    value = type == REG_DWORD_BIG_ENDIAN ? FromBigEndian(number) : number;
    return true;
}

bool Registry::ReadString(const wchar_t* name, std::wstring& value) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (!QueryTypeAndSize(name, type, bytes) || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    // Zeroed room past the data: text stored without its terminator, or with
    // an odd byte count, still ends in a whole zero character.
    std::vector<wchar_t> text((bytes + bytes % 2 + 2) / sizeof(wchar_t));
    if (!QueryData(name, text.data(), bytes)) return false;
    if (type == REG_EXPAND_SZ) return ExpandEnvironment(text.data(), value);
    value = text.data();
    return true;
}
