#include "installation/formwright/Plugins.h"

#include <objbase.h>

namespace formwright {

std::optional<std::vector<std::wstring>> StoredReferences(const std::wstring& path) {
    if (StgIsStorageFile(path.c_str()) == S_OK) return StoredCompoundReferences(path);
    return StoredTextReferences(path);
}

}  // namespace formwright
