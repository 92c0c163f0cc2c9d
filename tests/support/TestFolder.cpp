#include "TestFolder.h"

#include "common/Handles.h"
#include "installation/standin/Journal.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>

namespace {

void MakeFolders(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    }
    CreateDirectoryW(path.c_str(), nullptr);
}

void Collect(const std::wstring& base, const std::wstring& relative, std::vector<std::wstring>& out) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((base + relative + L"*").c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back(relative + name + L"\\");
            Collect(base, relative + name + L"\\", out);
        } else {
            out.push_back(relative + name);
        }
    } while (FindNextFileW(find.Get(), &data));
}

void WriteBytes(const std::wstring& path, const std::string& content) {
    std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << content;
}

}  // namespace

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    std::string content;
    for (const std::wstring& line : lines) content += standin::ToUtf8(line) + "\n";
    WriteBytes(path, content);
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child); else DeleteFileW(child.c_str());
        } while (FindNextFileW(find.Get(), &data));
        find.Reset();
    }
    RemoveDirectoryW(path.c_str());
}

TestFolder::TestFolder() {
    static std::atomic<int> serial{0};
    root_ = L"C:\\ghtests\\t" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++serial);
    RemoveTree(root_);
    MakeFolders(root_ + L"\\localview");
    MakeFolders(StandinDir());
    SetEnvironmentVariableW(L"STANDIN_DIR", StandinDir().c_str());
}

TestFolder::~TestFolder() {
    SetEnvironmentVariableW(L"STANDIN_DIR", nullptr);
    RemoveTree(root_);
}

void TestFolder::WriteFile(const std::wstring& relative, const std::string& content) const {
    const std::wstring path = Path(relative);
    MakeFolders(path.substr(0, path.rfind(L'\\')));
    WriteBytes(path, content);
}

void TestFolder::MakeFolder(const std::wstring& relative) const { MakeFolders(Path(relative)); }

bool TestFolder::Exists(const std::wstring& relative) const {
    return GetFileAttributesW(Path(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TestFolder::ReadFile(const std::wstring& relative) const { return ReadBytes(Path(relative)); }

std::vector<std::wstring> TestFolder::Tree() const {
    std::vector<std::wstring> out;
    Collect(LocalRoot() + L"\\", L"", out);
    std::sort(out.begin(), out.end());
    return out;
}

void TestFolder::Configure(const wchar_t* component, const std::vector<std::wstring>& lines) const {
    WriteLines(StandinDir() + L"\\" + component + L".ini", lines);
}

void TestFolder::WriteCatalog(const std::vector<std::wstring>& lines) const {
    WriteLines(StandinDir() + L"\\TextCatalog.txt", lines);
}

std::vector<std::vector<std::wstring>> TestFolder::Journal(const wchar_t* component) const {
    return standin::ReadJournal(StandinDir(), component);
}

void TestFolder::ForgetJournals() const {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((StandinDir() + L"\\*.journal").c_str(), &data));
    if (!find) return;
    do {
        DeleteFileW((StandinDir() + L"\\" + data.cFileName).c_str());
    } while (FindNextFileW(find.Get(), &data));
}

std::vector<std::wstring> TestFolder::JournalCalls(const wchar_t* component) const {
    std::vector<std::wstring> calls;
    for (const auto& entry : Journal(component)) calls.push_back(entry.empty() ? L"" : entry[0]);
    return calls;
}

std::vector<std::wstring> TestFolder::JournalField(const wchar_t* component, const wchar_t* call, size_t field) const {
    std::vector<std::wstring> fields;
    for (const auto& entry : Journal(component)) {
        if (!entry.empty() && entry[0] == call) fields.push_back(entry.at(field));
    }
    return fields;
}
