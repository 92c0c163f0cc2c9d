// One registry key held open, and what the registry answered last.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Owns its key: closed when the object goes or opens another one. Every call
// keeps the registry's status, so that a false answer can be explained.
class Registry {
public:
    Registry() = default;
    virtual ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Creates the key when asked to and a subkey is named; opens it otherwise.
    bool Open(HKEY parent, const wchar_t* subkey, REGSAM access, bool create);
    // A REG_DWORD or REG_DWORD_BIG_ENDIAN of exactly four bytes.
    bool ReadNumber(const wchar_t* name, uint32_t& value);
    // A REG_SZ, or a REG_EXPAND_SZ with its environment variables expanded.
    bool ReadString(const wchar_t* name, std::wstring& value);
    bool HasValue(const wchar_t* name);

    LONG LastStatus() const { return status_; }
    HKEY Get() const { return key_; }

private:
    void Close();
    bool QueryTypeAndSize(const wchar_t* name, DWORD& type, DWORD& bytes);
    bool QueryData(const wchar_t* name, void* data, DWORD& bytes);

    HKEY key_ = nullptr;
    LONG status_ = ERROR_SUCCESS;
};
