#include "localview/ShellNotices.h"

#include "localview/ShellIdLists.h"

using NotifyByPathNs::PidlPtr;

namespace {

constexpr UINT kIdListsFlushed = SHCNF_IDLIST | SHCNF_FLUSH;

}  // namespace

LPCITEMIDLIST ShellNotices::RootList() {
    if (!parsed_) {
        parsed_ = true;
        if (FAILED(ParseFolderIdList(root_, rootList_))) rootList_.Reset();
    }
    return rootList_.Get();
}

bool ShellNotices::NotifyByPath(const std::wstring& relative, long event) {
    const LPCITEMIDLIST root = RootList();
    if (!root) return false;
    if (relative.empty()) {
        SHChangeNotify(event, kIdListsFlushed, root, nullptr);
        return true;
    }
    const PidlPtr list = BuildRelativeIdList(root, relative);
    if (!list) return false;
    SHChangeNotify(event, kIdListsFlushed, list.Get(), nullptr);
    return true;
}

void ShellNotices::NotifyFolderRenamed(const std::wstring& oldRelative, const std::wstring& newRelative) {
    const LPCITEMIDLIST root = RootList();
    if (!root) return;
    const PidlPtr newList = BuildRelativeIdList(root, newRelative);
    const PidlPtr oldList = BuildRelativeIdList(root, oldRelative);
    SHChangeNotify(SHCNE_RENAMEFOLDER, kIdListsFlushed, oldList.Get(), newList.Get());
}
