// A fresh folder per test holding the local view ("localview\") and the stand-ins' journals and configuration
// ("standin\", named to them through STANDIN_DIR), removed when the test ends.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::wstring& Root() const { return root_; }
    // The local view root, without a trailing backslash: folder paths bring their own.
    std::wstring LocalRoot() const { return root_ + L"\\localview"; }
    // The full path of a place below the local view.
    std::wstring Path(const std::wstring& relative) const { return LocalRoot() + L"\\" + relative; }
    std::wstring StandinDir() const { return root_ + L"\\standin"; }

    // Creates a file (and its folders) below the local view.
    void WriteFile(const std::wstring& relative, const std::string& content = "x") const;
    void MakeFolder(const std::wstring& relative) const;
    bool Exists(const std::wstring& relative) const;
    std::string ReadFile(const std::wstring& relative) const;
    // Every path below the local view, sorted; folders end with a backslash.
    std::vector<std::wstring> Tree() const;

    // Writes "<component>.ini" for a stand-in.
    void Configure(const wchar_t* component, const std::vector<std::wstring>& lines) const;
    // Writes the text catalogue the catalogue stand-in reads.
    void WriteCatalog(const std::vector<std::wstring>& lines) const;
    std::vector<std::vector<std::wstring>> Journal(const wchar_t* component) const;
    // Starts every stand-in's journal afresh.
    void ForgetJournals() const;
    // The first field of every journal line.
    std::vector<std::wstring> JournalCalls(const wchar_t* component) const;
    // One field of every journal line of `call`; the first after its name unless told.
    std::vector<std::wstring> JournalField(const wchar_t* component, const wchar_t* call, size_t field = 1) const;

private:
    std::wstring root_;
};

// Every entry directly in `folder` that matches `pattern`, by its full path.
void ForEachEntry(const std::wstring& folder, const std::function<void(const std::wstring& path, bool isFolder)>& visit,
                  const wchar_t* pattern = L"*");
// Read-only entries too.
void RemoveEntry(const std::wstring& path, bool isFolder);
void RemoveTree(const std::wstring& path);
std::string ReadBytes(const std::wstring& path);
// One UTF-8 line for each text.
void WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines);
