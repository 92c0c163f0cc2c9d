#include "TestFolder.h"

#include "common/Handles.h"
#include "installation/standin/Journal.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

void MakeFolders(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    }
    CreateDirectoryW(path.c_str(), nullptr);
}

void Collect(const std::wstring& folder, size_t rootLength, std::vector<std::wstring>& out) {
    ForEachEntry(folder, [&](const std::wstring& path, bool isFolder) {
        out.push_back(path.substr(rootLength) + (isFolder ? L"\\" : L""));
        if (isFolder) Collect(path, rootLength, out);
    });
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

void ForEachEntry(const std::wstring& folder, const std::function<void(const std::wstring&, bool)>& visit,
                  const wchar_t* pattern) {
    WIN32_FIND_DATAW data;
    const UniqueFindHandle find(FindFirstFileW((folder + L"\\" + pattern).c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name != L"." && name != L"..") visit(folder + L"\\" + name, isFolder);
    } while (FindNextFileW(find.Get(), &data));
}

void RemoveEntry(const std::wstring& path, bool isFolder) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    isFolder ? RemoveTree(path) : static_cast<void>(DeleteFileW(path.c_str()));
}

void RemoveTree(const std::wstring& path) {
    ForEachEntry(path, RemoveEntry);
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
    Collect(LocalRoot(), LocalRoot().size() + 1, out);
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
    ForEachEntry(StandinDir(), [](const std::wstring& path, bool) { DeleteFileW(path.c_str()); }, L"*.journal");
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
