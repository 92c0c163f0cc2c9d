// The documents the vault knows, with the folders that hold them and the paths
// that each one references, as the test configured them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vault {

struct Document {
    std::wstring path;
    int32_t id = 0;
    int32_t folderId = 0;
    std::vector<std::wstring> references;
};

class ReferenceGraph {
public:
    // Read from the configuration ("document=" lines).
    static ReferenceGraph Configured();

    // Paths are found without regard to case, as on the local disk.
    const Document* Find(const std::wstring& path) const;
    const Document* FindById(int32_t id) const;

private:
    std::vector<Document> documents_;
};

}  // namespace vault
