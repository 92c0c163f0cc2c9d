#include "TestRegistryKey.h"

#include <gtest/gtest.h>

TestRegistryKey::TestRegistryKey(HKEY root, std::wstring path) : root_(root), path_(std::move(path)) {
    EXPECT_EQ(RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              key_.Put(), nullptr),
              ERROR_SUCCESS)
        << path_;
}

TestRegistryKey::~TestRegistryKey() {
    key_.Reset();
    RegDeleteTreeW(root_, path_.c_str());
}

void TestRegistryKey::SetBytes(const wchar_t* name, DWORD type, const void* data, DWORD bytes) const {
    EXPECT_EQ(RegSetValueExW(key_.Get(), name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS)
        << name;
}

void TestRegistryKey::SetString(const wchar_t* name, const std::wstring& text, DWORD type) const {
    SetBytes(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void TestRegistryKey::SetNumber(const wchar_t* name, uint32_t value) const {
    SetBytes(name, REG_DWORD, &value, sizeof(value));
}

std::wstring UniqueKeyName(const wchar_t* purpose) {
    return L"GhMove test " + std::to_wstring(GetCurrentProcessId()) + L" " + purpose;
}

std::wstring ExpandedBySystem(const wchar_t* text) {
    std::wstring expanded(ExpandEnvironmentStringsW(text, nullptr, 0), L'\0');
    expanded.resize(ExpandEnvironmentStringsW(text, expanded.data(), static_cast<DWORD>(expanded.size())) - 1);
    return expanded;
}
