#include "localview/LockingProcesses.h"

#include "common/Handles.h"

#include <restartmanager.h>

namespace {

constexpr UINT kMaxListed = 10;

}  // namespace

DWORD GetLockingProcessIds(const std::wstring& path, std::vector<DWORD>& processIds) {
    processIds.clear();

    WCHAR sessionKey[CCH_RM_SESSION_KEY + 1] = {};
    static_assert(sizeof(sessionKey) == 66, "the session key buffer is 33 characters");
    DWORD started = 0;  // every out argument is set before the call, as the Restart Manager requires
    DWORD rc = RmStartSession(&started, 0, sessionKey);
    if (rc != ERROR_SUCCESS) return rc;
    const UniqueRmSession session(started);

    LPCWSTR files[] = {path.c_str()};
    rc = RmRegisterResources(session.Get(), 1, files, 0, nullptr, 0, nullptr);
    if (rc != ERROR_SUCCESS) return rc;

    RM_PROCESS_INFO holders[kMaxListed] = {};
    UINT needed = 0;
    UINT listed = kMaxListed;
    DWORD rebootReasons = 0;
    rc = RmGetList(session.Get(), &needed, &listed, holders, &rebootReasons);
    if (rc != ERROR_SUCCESS) return rc;  // ERROR_MORE_DATA too

    for (UINT i = 0; i < listed && i < kMaxListed; ++i) processIds.push_back(holders[i].Process.dwProcessId);
    return processIds.empty() ? 1 : 0;
}
