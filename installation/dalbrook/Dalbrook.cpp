// Stand-in for the vault client's stored-procedure library, built to
// interfaces/Dalbrook.h and exporting the names of interfaces/Dalbrook.def.
// A connection is made for a configured vault only; rights come from the
// vault database's folder_rights table when one is configured, otherwise
// from the installation's permission store, one line per user and folder.
//
// Journal (Dalbrook.journal):
//   Construct;  Destroy
//   mhCreate <type> <db server> <db name> <login 5> <login 6> <vault> <login 3> <value> <result>
//   mpoGetProc <id>;  Release
//   mhGetUserRights <host context> <folder id> <user> <result> <rights>
// Configuration (Dalbrook.ini):
//   vault=<db server>|<db name>|<login 5>|<login 6>|<vault>|<login 3>
//                        connection information that mhCreate accepts; the
//                        connection's user is <login 3>
//   database=<path>      the vault's SQLite file, read for every question;
//                        one that cannot be read has nothing stored
//   rights=<user>|<folder id>|<rights>   the user's rights on a folder,
//                        read when no database is configured
//   fail:mhCreate=<code>, fail:mhGetUserRights=<code>   answered instead
// Numbers are written as in the configuration (0x... for rights and codes).
#include "interfaces/Dalbrook.h"

#include "installation/standin/Journal.h"
#include "installation/standin/SqliteHandles.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <new>
#include <optional>
#include <vector>

namespace {

constexpr const wchar_t* kComponent = L"Dalbrook";
constexpr int32_t kNoSuchVault = static_cast<int32_t>(0x80040214);  // the vault is unknown
constexpr int32_t kNoRights = static_cast<int32_t>(0x80040213);     // nothing stored for the folder

// The stored procedure that answers rights, for the connection's user.
class ProjectProcedure : public SpProject {
public:
    std::wstring user;
};

// What the library keeps inside the caller's SpMgr.
struct ManagerState {
    ProjectProcedure* project;
    bool connected;
};
static_assert(sizeof(ManagerState) <= 64, "the caller allocates 64 bytes of state");

bool KnownVault(const SpConnectInfo& info) {
    const std::vector<std::wstring> wanted = {info.dbServer, info.dbName,    info.login5,
                                              info.login6,   info.vaultName, info.login3};
    for (const std::wstring& line : standin::ConfigValues(kComponent, L"vault")) {
        if (standin::SplitFields(line) == wanted) return true;
    }
    return false;
}

std::optional<uint32_t> DatabaseRights(const std::wstring& database, const std::wstring& user, int32_t folderId) {
    const standin::SqliteDatabase db = standin::OpenForReading(database);
    if (!db) return std::nullopt;
    const standin::SqliteStatement query =
        standin::Prepare(db.get(), "SELECT rights FROM folder_rights WHERE user = ? AND folder_id = ?");
    const std::optional<int64_t> rights = standin::FirstInteger(query.get(), user, int64_t{folderId});
    if (!rights) return std::nullopt;
    return static_cast<uint32_t>(*rights);
}

std::optional<uint32_t> ConfiguredRights(const std::wstring& user, int32_t folderId) {
    for (const std::wstring& line : standin::ConfigValues(kComponent, L"rights")) {
        const std::vector<std::wstring> fields = standin::SplitFields(line);
        if (fields.size() != 3 || _wcsicmp(fields[0].c_str(), user.c_str()) != 0) continue;
        if (static_cast<int32_t>(wcstol(fields[1].c_str(), nullptr, 0)) != folderId) continue;
        return static_cast<uint32_t>(wcstoul(fields[2].c_str(), nullptr, 0));
    }
    return std::nullopt;
}

std::optional<uint32_t> StoredRights(const std::wstring& user, int32_t folderId) {
    const std::wstring database = standin::Config(kComponent, L"database");
    return database.empty() ? ConfiguredRights(user, folderId) : DatabaseRights(database, user, folderId);
}

int32_t Configured(const wchar_t* call, int32_t otherwise) {
    return static_cast<int32_t>(standin::ConfigCode(kComponent, std::wstring(L"fail:") + call, otherwise));
}

}  // namespace

Sp::~Sp() = default;

SpMgr::SpMgr() {
    new (state_) ManagerState{new ProjectProcedure, false};
    standin::Journal(kComponent, {L"Construct"});
}

SpMgr::~SpMgr() {
    auto* state = std::launder(reinterpret_cast<ManagerState*>(state_));
    delete state->project;
    state->~ManagerState();
    standin::Journal(kComponent, {L"Destroy"});
}

int32_t SpMgr::mhCreate(SpDbType type, SpConnectInfo info) {
    auto* state = std::launder(reinterpret_cast<ManagerState*>(state_));
    int32_t result = type != SpDbTypeVault ? E_INVALIDARG : KnownVault(info) ? S_OK : kNoSuchVault;
    if (result == S_OK) result = Configured(L"mhCreate", S_OK);
    state->connected = result >= 0;
    if (state->connected) state->project->user = info.login3;
    standin::Journal(kComponent, {L"mhCreate", std::to_wstring(type), info.dbServer, info.dbName, info.login5,
                                  info.login6, info.vaultName, info.login3, std::to_wstring(info.value),
                                  standin::Hex(static_cast<unsigned long>(result))});
    return result;
}

Sp* SpMgr::mpoGetProc(SPID id) const {
    const auto* state = std::launder(reinterpret_cast<const ManagerState*>(state_));
    standin::Journal(kComponent, {L"mpoGetProc", standin::Hex(static_cast<unsigned long>(id))});
    return id == SpidProject && state->connected ? state->project : nullptr;
}

void SpMgr::Release() {
    std::launder(reinterpret_cast<ManagerState*>(state_))->connected = false;
    standin::Journal(kComponent, {L"Release"});
}

int32_t SpProject::mhGetUserRights(int32_t hostContext, int32_t folderId, uint32_t* rights) {
    // Every SpProject this library hands out is one of its procedures.
    const std::wstring& user = static_cast<ProjectProcedure*>(this)->user;
    const std::optional<uint32_t> stored = StoredRights(user, folderId);
    int32_t result = stored ? S_OK : kNoRights;
    if (result == S_OK) result = Configured(L"mhGetUserRights", S_OK);
    const uint32_t granted = result == S_OK ? *stored : 0;
    if (result == S_OK && rights) *rights = granted;
    standin::Journal(kComponent, {L"mhGetUserRights", std::to_wstring(hostContext), std::to_wstring(folderId), user,
                                  standin::Hex(static_cast<unsigned long>(result)), standin::Hex(granted)});
    return result;
}
