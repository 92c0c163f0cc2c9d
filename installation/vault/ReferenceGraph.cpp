#include "installation/vault/ReferenceGraph.h"

#include "installation/standin/Journal.h"
#include "installation/vault/VaultClass.h"

#include <cwchar>
#include <map>

namespace vault {

namespace {

// Folders count from 1, documents from 101, so that the two never meet.
constexpr int32_t kFirstDocumentId = 101;

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

ReferenceGraph ReferenceGraph::Configured() {
    ReferenceGraph graph;
    std::map<std::wstring, int32_t> folderIds;
    for (const std::wstring& line : standin::ConfigValues(kVaultComponent, L"document")) {
        std::vector<std::wstring> fields = standin::SplitFields(line);
        if (fields.empty()) continue;
        Document document;
        document.path = fields.front();
        document.id = kFirstDocumentId + static_cast<int32_t>(graph.documents_.size());
        std::wstring folder = FolderOf(document.path);
        for (wchar_t& c : folder) c = towlower(c);
        document.folderId = folderIds.emplace(folder, static_cast<int32_t>(folderIds.size()) + 1).first->second;
        document.references.assign(fields.begin() + 1, fields.end());
        graph.documents_.push_back(document);
    }
    return graph;
}

const Document* ReferenceGraph::Find(const std::wstring& path) const {
    for (const Document& document : documents_) {
        if (_wcsicmp(document.path.c_str(), path.c_str()) == 0) return &document;
    }
    return nullptr;
}

const Document* ReferenceGraph::FindById(int32_t id) const {
    for (const Document& document : documents_) {
        if (document.id == id) return &document;
    }
    return nullptr;
}

}  // namespace vault
