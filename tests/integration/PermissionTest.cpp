// Why the vault refused a move, as the report dialog asks ghMove: the user's rights on the item's folders, read
// through the module's own connection (registry settings, login table, stored-procedure library).
#include "installation/standin/SqliteHandles.h"
#include "installation/standin/StandinWindows.h"
#include "installation/vault/VaultClass.h"
#include "ComThread.h"
#include "LoadedModule.h"
#include "LoginManagerProcess.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "TestRegistryKey.h"
#include "VaultObject.h"

#include "environment/FolderRights.h"
#include "environment/SettingsLight.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

using Fields = std::vector<std::wstring>;

constexpr const wchar_t* kLackOne = L"Lack one of permission to move this item";
constexpr int32_t kHostContext = 77;
constexpr int32_t kPartsId = 3, kArchiveId = 2, kGearboxId = 4;
constexpr uint32_t kAllSource = kRightMoveFiles | kRightReadContents | kRightMoveFolders;
constexpr uint32_t kAddBoth = kRightAddFile | kRightAddFolder;

// The login record of a vault: texts 3, 5 and 6 are what the connection takes.
std::wstring LoginOf(const std::wstring& vault) {
    return LoginRecordLine({L"session", vault, L"alice", L"unused", L"alice@vaultdb", L"secret", L"", L"1", L"2", L"3",
                            L"4", L"5", L"1"});
}

class PermissionTest : public ::testing::Test {
protected:
    PermissionTest() {
        request->hostContext = kHostContext;
        folder.Configure(L"LoginManager", {LoginOf(L"Elsewhere"), LoginOf(L"localview")});
        folder.Configure(kVaultComponent, {Known(L"Parts", kPartsId), Known(L"Archive", kArchiveId)});
        vault = CreateVaultObject();
        request->vault = vault.Get();
        ConfigureRights(kAddBoth, kAllSource);
    }
    ~PermissionTest() override {
        request->vault = nullptr;
        vault.Reset();
        module.reset();
    }

    // The vault's line for a folder of the local view it knows.
    std::wstring Known(const wchar_t* name, int32_t id) const {
        return L"folder=" + standin::EscapeField(folder.Path(name)) + L"|" + std::to_wstring(id);
    }
    // The user's entry for the test's vault ("localview"), as the client's setup writes it.
    void Register() {
        registration.emplace(HKEY_CURRENT_USER, std::wstring(kProductKeyPath) + L"\\Vaults\\localview");
        registration->SetString(L"DbServer", L"tcp:vaultdb");
        registration->SetString(L"DbName", L"Engineering");
        registration->SetString(L"ShellRoot", folder.LocalRoot());
        registration->SetString(L"ServerLoc", L"archive.local");
        registration->SetNumber(L"ServerPort", 3030);
    }
    // With the vault's settings and a running login manager.
    void Connectable() {
        Register();
        manager.emplace();
    }

    void ConfigureRights(uint32_t target, uint32_t source, const Fields& more = {}) const {
        Fields lines = {L"vault=tcp:vaultdb|Engineering|alice@vaultdb|secret|localview|alice",
                        L"rights=alice|" + std::to_wstring(kArchiveId) + L"|" + std::to_wstring(target),
                        L"rights=alice|" + std::to_wstring(kPartsId) + L"|" + std::to_wstring(source)};
        lines.insert(lines.end(), more.begin(), more.end());
        folder.Configure(L"Dalbrook", lines);
    }

    // The vault refuses moving gear.prt, or the folder Gearbox, from Parts to Archive; answers what the report
    // dialog was told of the refused item: its folders, the problem's code and text.
    Fields Refused(bool isFolder, int32_t kind = 3) {
        folder.ForgetJournals();
        request->items.DeleteAll();
        // A refused folder is named by its own path, a file by its folder's.
        const DbMoveError refused =
            isFolder ? DbMoveError{0, 0, 0, L"", kind, L"Gearbox", L"", L"\\Parts\\Gearbox\\", L"\\Archive\\"}
                     : DbMoveError{7, 0, 0, L"", kind, L"gear.prt", L"", L"\\Parts\\", L"\\Archive\\"};
        host.onMoveInDatabase = [refused](MoveRequest* r) { r->dbErrors.Append(new DbMoveError(refused)); };
        if (isFolder) {
            request.AddFolder(kGearboxId, kArchiveId);
        } else {
            request.AddFile(7, kPartsId, kArchiveId);
        }
        MessageBoxWatcher reports(IDOK, kReportDialogClass);
        if (!module) module = std::make_unique<LoadedModule>();
        EXPECT_EQ(module->Move(parent.Get(), &host, request.get(), false), S_FALSE);
        EXPECT_EQ(reports.Boxes().size(), 1u);
        Fields problems;
        for (const Fields& entry : folder.Journal(L"ReportDialog")) {
            if (entry[0] == L"Item") problems = {entry[3], entry[4], entry[9], entry[11], entry[8]};
        }
        return problems;
    }
    // Runs SQL on the database file, created when missing, as the host writes it.
    static void WriteDatabase(const std::wstring& path, const std::string& sql) {
        sqlite3* opened = nullptr;
        const int rc = sqlite3_open_v2(standin::ToUtf8(path).c_str(), &opened,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        const standin::SqliteDatabase db(opened);
        ASSERT_EQ(rc, SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db.get());
    }
    std::wstring Explained(bool isFolder) {
        const Fields seen = Refused(isFolder);
        return seen.size() == 5 ? seen[3] : L"(no item)";
    }

    TestFolder folder;
    std::optional<TestRegistryKey> registration;
    std::optional<LoginManagerProcess> manager;
    ComPtr<IUnknown> vault;
    std::unique_ptr<LoadedModule> module;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    ComThread com;
};

// One connection per report, from the registry's settings, the login's texts and the vault's name; each
// explanation reads both folders' rights afresh with the host's context.
TEST_F(PermissionTest, TheUsersRightsOnBothFoldersExplainTheRefusal) {
    Connectable();
    ConfigureRights(kAddBoth, kAllSource & ~kRightMoveFiles);

    const Fields seen = Refused(false);
    EXPECT_EQ(seen, (Fields{folder.Path(L"Parts"), folder.Path(L"Archive"), L"36",
                            L"You do not have Move file permissions", L"You lack permission to move this item"}));
    const std::wstring target = std::to_wstring(kArchiveId), source = std::to_wstring(kPartsId);
    const std::wstring granted = standin::Hex(kAllSource & ~kRightMoveFiles);
    EXPECT_EQ(folder.Journal(L"Dalbrook"),
              (std::vector<Fields>{
                  {L"Construct"},
                  {L"mhCreate", L"1", L"tcp:vaultdb", L"Engineering", L"alice@vaultdb", L"secret", L"localview",
                   L"alice", L"-1", L"0x00000000"},
                  {L"mpoGetProc", L"0x00000016"},
                  {L"mhGetUserRights", L"77", target, L"alice", L"0x00000000", standin::Hex(kAddBoth)},
                  {L"mhGetUserRights", L"77", source, L"alice", L"0x00000000", granted},
                  {L"Release"},
                  {L"Destroy"}}));
    Fields lookedUp;
    for (const Fields& entry : folder.Journal(kVaultComponent)) {
        if (entry[0] == L"FindFolderByPath" || entry[0] == L"GetFolderId") lookedUp.push_back(entry.back());
    }
    EXPECT_EQ(lookedUp, (Fields{folder.Path(L"Archive"), target, folder.Path(L"Parts"), source}));
}

// What only the whole path shows: a refused folder needs only the target's folder add right, and its source is its
// parent folder.
TEST_F(PermissionTest, AFolderIsJudgedByItsParentFoldersRights) {
    Connectable();
    ConfigureRights(kRightAddFolder, kAllSource & ~kRightMoveFolders);
    EXPECT_EQ(Explained(true), L"You do not have Move folder permissions");
}

// A folder the vault does not know, or rights the library cannot read, explain nothing in particular.
TEST_F(PermissionTest, RightsThatCannotBeReadKeepTheGeneralExplanation) {
    Connectable();
    ConfigureRights(kAddBoth, 0, {L"fail:mhGetUserRights=0x80004005"});
    EXPECT_EQ(Explained(false), kLackOne);

    ConfigureRights(kAddBoth, 0);
    folder.Configure(kVaultComponent, {Known(L"Archive", kArchiveId)});
    EXPECT_EQ(Explained(false), kLackOne);  // the source folder is unknown
    folder.Configure(kVaultComponent, {L"without=folders"});
    EXPECT_EQ(Explained(false), kLackOne);
    EXPECT_EQ(folder.JournalCalls(L"Dalbrook"), (Fields{L"Construct", L"mhCreate", L"Release", L"Destroy"}));
}

// Without every piece of the connection no rights are read; a manager that was made is released and deleted.
TEST_F(PermissionTest, WithoutAConnectionEveryExplanationIsTheGeneralOne) {
    ConfigureRights(kAddBoth, 0);
    const Fields nothingMade;
    Register();
    EXPECT_EQ(Explained(false), kLackOne);  // no login manager runs
    EXPECT_EQ(folder.JournalCalls(L"Dalbrook"), nothingMade);
    registration.reset();
    manager.emplace();
    EXPECT_EQ(Explained(true), kLackOne);  // the vault has no settings
    EXPECT_EQ(folder.JournalCalls(L"Dalbrook"), nothingMade);

    Register();
    ConfigureRights(kAddBoth, 0, {L"fail:mhCreate=0x80040214"});
    EXPECT_EQ(Explained(false), kLackOne);
    EXPECT_EQ(folder.JournalCalls(L"Dalbrook"), (Fields{L"Construct", L"mhCreate", L"Release", L"Destroy"}));

    // The connection's vault is the last name of the local view root: with a
    // trailing backslash it is empty, and no login carries that name.
    ConfigureRights(kAddBoth, 0);
    request->localRoot = folder.LocalRoot() + L"\\";
    EXPECT_EQ(Explained(false), kLackOne);
    EXPECT_EQ(folder.JournalCalls(L"Dalbrook"), nothingMade);

    request->localRoot = folder.LocalRoot();
    folder.Configure(L"LoginManager", {LoginOf(L"Elsewhere")});  // the vault has no login record
    manager.emplace();
    EXPECT_EQ(Explained(false), kLackOne);
    EXPECT_EQ(folder.JournalCalls(L"Dalbrook"), nothingMade);
}

// A name not unique in the vault explains itself with its own text, without asking for any rights.
TEST_F(PermissionTest, ANameNotUniqueIsExplainedByItsOwnText) {
    Connectable();
    const Fields seen = Refused(false, 6);
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[2], L"37");
    EXPECT_EQ(seen[3], seen[4]);
    EXPECT_EQ(folder.JournalCalls(L"Dalbrook"), (Fields{L"Construct", L"mhCreate", L"Release", L"Destroy"}));
}

// The host's vault database alone names the folders and holds the rights, names and users matched ignoring case.
TEST_F(PermissionTest, TheVaultDatabaseNamesTheFoldersAndHoldsTheRights) {
    Connectable();
    const std::wstring database = folder.Root() + L"\\vault.db";
    WriteDatabase(database,
                  "CREATE TABLE folders(id INTEGER PRIMARY KEY, parent_id INTEGER REFERENCES folders(id),"
                  " name TEXT NOT NULL);"
                  "CREATE UNIQUE INDEX folders_by_parent_and_name ON folders(parent_id, name COLLATE NOCASE);"
                  "CREATE TABLE folder_rights(user TEXT NOT NULL COLLATE NOCASE, folder_id INTEGER NOT NULL"
                  " REFERENCES folders(id), rights INTEGER NOT NULL, PRIMARY KEY(user, folder_id)) WITHOUT ROWID;"
                  "INSERT INTO folders VALUES(1, NULL, ''), (2, 1, 'ARCHIVE'), (3, 1, 'parts');"
                  "INSERT INTO folder_rights VALUES('Alice', 2, " + std::to_string(kAddBoth) + "), ('Alice', 3, " +
                      std::to_string(kAllSource & ~kRightMoveFiles) + ");");
    folder.Configure(kVaultComponent,
                     {L"database=" + standin::EscapeField(database + L"|" + folder.LocalRoot() + L"\\")});
    folder.Configure(L"Dalbrook", {L"vault=tcp:vaultdb|Engineering|alice@vaultdb|secret|localview|alice",
                                   L"database=" + standin::EscapeField(database)});
    EXPECT_EQ(Explained(false), L"You do not have Move file permissions");

    WriteDatabase(database, "DELETE FROM folder_rights WHERE folder_id = 3;");
    EXPECT_EQ(Explained(false), kLackOne);
}

}  // namespace
