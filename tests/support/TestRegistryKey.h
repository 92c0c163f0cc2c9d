// A registry key that a test creates and fills, removed with everything below
// it when the test ends, however it ends.
#pragma once

#include "common/Handles.h"

#include <cstdint>
#include <string>

class TestRegistryKey {
public:
    // Creates `path` below `root`, and any missing key above it.
    TestRegistryKey(HKEY root, std::wstring path);
    ~TestRegistryKey();
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;

    HKEY Get() const { return key_.Get(); }

    void SetBytes(const wchar_t* name, DWORD type, const void* data, DWORD bytes) const;
    // With its terminator.
    void SetString(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) const;
    void SetNumber(const wchar_t* name, uint32_t value) const;

private:
    HKEY root_;
    std::wstring path_;
    UniqueRegKey key_;
};

// A key name that no other test process uses at the same time.
std::wstring UniqueKeyName(const wchar_t* purpose);

// What the system itself makes of `text` with its environment variables, for
// comparison with an expanded registry value.
std::wstring ExpandedBySystem(const wchar_t* text);
