#include "installation/standin/Journal.h"

#include "common/Handles.h"

#include <windows.h>

#include <cwchar>
#include <fstream>
#include <sstream>

namespace standin {

std::wstring Folder() {
    wchar_t buffer[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"STANDIN_DIR", buffer, 1024);
    return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

std::wstring Hex(unsigned long value) {
    wchar_t buffer[16];
    swprintf(buffer, 16, L"0x%08lX", value);
    return buffer;
}

std::wstring Hex(HWND window) { return Hex(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window))); }

std::wstring EscapeField(const std::wstring& field) {
    std::wstring out;
    for (wchar_t c : field) {
        switch (c) {
            case L'\\': out += L"\\\\"; break;
            case L'\t': out += L"\\t"; break;
            case L'\n': out += L"\\n"; break;
            case L'\r': out += L"\\r"; break;
            default: out += c;
        }
    }
    return out;
}

std::wstring UnescapeField(const std::wstring& field) {
    std::wstring out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != L'\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        switch (field[++i]) {
            case L't': out += L'\t'; break;
            case L'n': out += L'\n'; break;
            case L'r': out += L'\r'; break;
            default: out += field[i];
        }
    }
    return out;
}

void Journal(const wchar_t* component, const std::vector<std::wstring>& fields) {
    const std::wstring folder = Folder();
    if (folder.empty()) return;
    std::wstring line;
    for (const std::wstring& field : fields) {
        if (!line.empty()) line += L'\t';
        line += EscapeField(field);
    }
    const std::string bytes = ToUtf8(line) + "\n";
    const std::wstring path = folder + L"\\" + component + L".journal";
    // One write per line with append access, so that processes can share a journal.
    UniqueFileHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

namespace {

std::vector<std::string> ReadLines(const std::wstring& path) {
    std::vector<std::string> lines;
    std::ifstream in(path.c_str(), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

std::vector<std::vector<std::wstring>> ReadJournal(const std::wstring& folder, const wchar_t* component) {
    std::vector<std::vector<std::wstring>> entries;
    for (const std::string& line : ReadLines(folder + L"\\" + component + L".journal")) {
        // Split by hand: a final empty field is a field too.
        const std::wstring text = FromUtf8(line);
        std::vector<std::wstring> fields;
        for (size_t start = 0;;) {
            const size_t tab = text.find(L'\t', start);
            fields.push_back(UnescapeField(text.substr(start, tab - start)));
            if (tab == std::wstring::npos) break;
            start = tab + 1;
        }
        entries.push_back(fields);
    }
    return entries;
}

std::vector<std::wstring> ConfigValues(const wchar_t* component, const std::wstring& key) {
    std::vector<std::wstring> values;
    const std::wstring folder = Folder();
    if (folder.empty()) return values;
    for (const std::string& raw : ReadLines(folder + L"\\" + component + L".ini")) {
        const std::wstring line = FromUtf8(raw);
        const size_t equals = line.find(L'=');
        if (equals != std::wstring::npos && line.compare(0, equals, key) == 0) {
            values.push_back(UnescapeField(line.substr(equals + 1)));
        }
    }
    return values;
}

std::vector<std::wstring> SplitFields(const std::wstring& value) {
    std::vector<std::wstring> fields;
    std::wstringstream stream(value);
    std::wstring field;
    while (std::getline(stream, field, L'|')) fields.push_back(field);
    return fields;
}

std::wstring Config(const wchar_t* component, const std::wstring& key, const std::wstring& fallback) {
    const std::vector<std::wstring> values = ConfigValues(component, key);
    return values.empty() ? fallback : values.front();
}

long ConfigCode(const wchar_t* component, const std::wstring& key, long fallback) {
    const std::wstring text = Config(component, key);
    if (text.empty()) return fallback;
    return static_cast<long>(wcstoul(text.c_str(), nullptr, 0));
}

}  // namespace standin
