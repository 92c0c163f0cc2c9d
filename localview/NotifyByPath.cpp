#include "localview/NotifyByPath.h"

#include "localview/ShellIdLists.h"

using NotifyByPathNs::PidlPtr;

namespace {

constexpr UINT kIdListsFlushed = SHCNF_IDLIST | SHCNF_FLUSH;

}  // namespace

bool NotifyByPath(const std::wstring& root, const std::wstring& relative, long event) {
    PidlPtr list;
    if (FAILED(ParseFolderIdList(root, list))) return false;
    if (!relative.empty()) list = BuildRelativeIdList(list.get(), relative);
    if (!list) return false;
    SHChangeNotify(event, kIdListsFlushed, list.get(), nullptr);
    return true;
}

// A list that could not be built goes as null; without the root, nothing goes.
void NotifyFolderRenamed(const std::wstring& root, const std::wstring& oldRelative, const std::wstring& newRelative) {
    PidlPtr rootList;
    if (FAILED(ParseFolderIdList(root, rootList))) return;
    const PidlPtr newList = BuildRelativeIdList(rootList.get(), newRelative);
    const PidlPtr oldList = BuildRelativeIdList(rootList.get(), oldRelative);
    SHChangeNotify(SHCNE_RENAMEFOLDER, kIdListsFlushed, oldList.get(), newList.get());
}
