#include "installation/formwright/Plugins.h"

#include "GhMove.h"
#include "common/Handles.h"
#include "common/HResult.h"
#include "installation/standin/Journal.h"

namespace formwright {

namespace {

constexpr char kReferencePrefix[] = "REF ";

bool ReadAll(HANDLE file, std::string& content) {
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 64 * 1024 * 1024) return false;
    content.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    return content.empty() || (ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr) &&
                               read == content.size());
}

bool WriteAll(HANDLE file, const std::string& content) {
    DWORD written = 0;
    return SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
           WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
           written == content.size() && SetEndOfFile(file);
}

// Each line keeps its own end; only the path of a reference line changes.
std::string Rewritten(const std::string& content, const ReferenceMap& map) {
    std::string out;
    size_t start = 0;
    while (start < content.size()) {
        const size_t newline = content.find('\n', start);
        const size_t next = newline == std::string::npos ? content.size() : newline + 1;
        size_t end = newline == std::string::npos ? content.size() : newline;
        if (end > start && content[end - 1] == '\r') --end;
        const std::string body = content.substr(start, end - start);
        std::optional<std::wstring> replaced;
        if (body.compare(0, sizeof kReferencePrefix - 1, kReferencePrefix) == 0) {
            replaced = map(standin::FromUtf8(body.substr(sizeof kReferencePrefix - 1)));
        }
        out += replaced ? kReferencePrefix + standin::ToUtf8(*replaced) : body;
        out += content.substr(end, next - end);
        start = next;
    }
    return out;
}

bool IsTextDocument(const std::string& content) {
    return content.compare(0, sizeof kTextSignature - 1, kTextSignature) == 0;
}

}  // namespace

std::optional<std::vector<std::wstring>> StoredTextReferences(const std::wstring& path) {
    const UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string content;
    if (!file || !ReadAll(file.Get(), content) || !IsTextDocument(content)) return std::nullopt;
    std::vector<std::wstring> references;
    Rewritten(content, [&](const std::wstring& stored) {
        references.push_back(stored);
        return std::nullopt;
    });
    return references;
}

HRESULT WriteTextDocument(const std::wstring& path, const std::wstring& title,
                          const std::vector<std::wstring>& references) {
    std::string content = std::string(kTextSignature) + "\r\ntitle " + standin::ToUtf8(title) + "\r\n";
    for (const std::wstring& reference : references) content += kReferencePrefix + standin::ToUtf8(reference) + "\r\n";
    const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file || !WriteAll(file.Get(), content)) return HResultFromLastError();
    return S_OK;
}

HRESULT RewriteTextDocument(const std::wstring& path, const ReferenceMap& map) {
    const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    if (!file) return HResultFromLastError();
    std::string content;
    if (!ReadAll(file.Get(), content)) return HResultFromLastError();
    if (!IsTextDocument(content)) return E_QOR_NO_MATCHING_PLUGIN;
    const std::string rewritten = Rewritten(content, map);
    if (rewritten != content && !WriteAll(file.Get(), rewritten)) return HResultFromLastError();
    return S_OK;
}

}  // namespace formwright
