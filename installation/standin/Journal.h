// The journal a stand-in keeps of what it was told, and the configuration
// through which a test tells it how to behave.
//
// Both live in the folder named by the environment variable STANDIN_DIR:
// "<Component>.journal" (UTF-8, one call per line, fields separated by tabs)
// and "<Component>.ini" (key=value lines). Without STANDIN_DIR a stand-in
// behaves normally and keeps no journal.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace standin {

std::wstring Folder();

void Journal(const wchar_t* component, const std::vector<std::wstring>& fields);
inline void Journal(const wchar_t* component, std::initializer_list<std::wstring> fields) {
    Journal(component, std::vector<std::wstring>(fields));
}
std::vector<std::vector<std::wstring>> ReadJournal(const std::wstring& folder, const wchar_t* component);

// The configured value, or `fallback` when the key is not set.
std::wstring Config(const wchar_t* component, const std::wstring& key, const std::wstring& fallback = L"");
// Every value configured under the key, in file order.
std::vector<std::wstring> ConfigValues(const wchar_t* component, const std::wstring& key);
// A configured HRESULT ("0x8004020B" or decimal), or `fallback`.
long ConfigCode(const wchar_t* component, const std::wstring& key, long fallback);

// The '|'-separated fields of a configured value, as records are configured.
std::vector<std::wstring> SplitFields(const std::wstring& value);

// Tab, line feed, carriage return and backslash are escaped inside a field.
std::wstring EscapeField(const std::wstring& field);
std::wstring UnescapeField(const std::wstring& field);

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
std::wstring Hex(unsigned long value);
// A window handle as the journals write it.
std::wstring Hex(HWND window);

}  // namespace standin
