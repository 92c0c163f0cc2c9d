// vaulthost.exe as a user drives it, over a sample vault in the test's folder with the installation's stand-ins.
#include "HelperProcess.h"
#include "LoadedModule.h"
#include "TestFolder.h"

#include "common/Handles.h"

#include "installation/standin/Journal.h"
#include "installation/standin/SqliteHandles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

struct Outcome {
    DWORD exitCode = 0;
    std::string output;  // standard output and error together
};

void ExpectOutcome(const Outcome& outcome, DWORD exitCode, const std::string& said = "") {
    EXPECT_EQ(outcome.exitCode, exitCode) << outcome.output;
    if (!said.empty()) {
        EXPECT_NE(outcome.output.find(said), std::string::npos) << outcome.output;
    }
}

class VaultHostTest : public ::testing::Test {
protected:
    std::wstring Vault() const { return folder.Root() + L"\\vault"; }
    std::wstring Database() const { return Vault() + L"\\vault.db"; }

    Outcome Run(const std::wstring& arguments, const wchar_t* crashAt = nullptr) const {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {~0u, "no pipe"};
        const UniqueHandle reader(readEnd);
        UniqueHandle writer(writeEnd);
        SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = writer.Get();
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        SetEnvironmentVariableW(L"VAULTHOST_CRASH_AT", crashAt);
        const UniqueHandle process = StartProgram(L"\"" + LoadedModule::BesideProgram(L"vaulthost.exe") + L"\" " +
                                                      arguments + L" --vault \"" + Vault() + L"\"",
                                                  &startup);
        SetEnvironmentVariableW(L"VAULTHOST_CRASH_AT", nullptr);
        if (!process) return {~0u, "vaulthost.exe did not start"};
        writer.Reset();
        Outcome outcome;
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(reader.Get(), buffer, sizeof buffer, &read, nullptr) && read) {
            outcome.output.append(buffer, read);
        }
        WaitForSingleObject(process.Get(), INFINITE);
        GetExitCodeProcess(process.Get(), &outcome.exitCode);
        return outcome;
    }

    void InitSample() const { ASSERT_EQ(Run(L"init --sample").exitCode, 0u); }
    // A database that cannot be used is refused with `message`, and left as it was.
    void ExpectRefusedUnchanged(const wchar_t* command, const char* message) const {
        const std::string bytes = ReadBytes(Database());
        ExpectOutcome(Run(command), 2, message);
        EXPECT_EQ(ReadBytes(Database()), bytes);
    }

    TestFolder folder;
};

// SQL on the test's own connection to the vault database.
void Execute(sqlite3* db, const char* sql) {
    char* message = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
}

standin::SqliteDatabase Open(const std::wstring& path) {
    sqlite3* db = nullptr;
    sqlite3_open(standin::ToUtf8(path).c_str(), &db);
    return standin::SqliteDatabase(db);
}

class CrashPointTest : public VaultHostTest, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(CrashPointTest, RecoverFinishesTheInterruptedMoveAndLosesNoFile) {
    InitSample();
    const std::string before = Run(L"ls").output;
    ExpectOutcome(Run(L"mv Projects\\Gearbox Archive --silent", GetParam()), 70);
    ExpectOutcome(Run(L"check"), 1, "an interrupted move is not finished");
    ExpectOutcome(Run(L"recover"), 0);
    ExpectOutcome(Run(L"check"), 0);
    // Every file of the vault, and no other, is on disk; the moved ones at their new place.
    const std::string after = Run(L"ls").output;
    EXPECT_NE(after.find("Archive\\Gearbox\\Drawings\\gearbox.drw"), std::string::npos) << after;
    EXPECT_TRUE(folder.Exists(L"..\\vault\\Engineering\\Archive\\Gearbox\\shaft.prt"));
    EXPECT_FALSE(folder.Exists(L"..\\vault\\Engineering\\Projects\\Gearbox"));
    EXPECT_EQ(std::count(before.begin(), before.end(), '\n'), std::count(after.begin(), after.end(), '\n'));
    // Nothing is left to recover, so a second recovery changes nothing.
    EXPECT_NE(Run(L"recover").output.find("nothing to recover"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EachPoint, CrashPointTest,
                         ::testing::Values(L"after-database", L"during-local-moves", L"during-rewrite"));

// Each database that cannot be used is told in one line, and left as it was.
TEST_F(VaultHostTest, UnusableDatabasesAreRefusedAndLeftAsTheyWere) {
    InitSample();
    {
        const standin::SqliteDatabase other = Open(Database());
        Execute(other.get(), "BEGIN EXCLUSIVE");
        ExpectRefusedUnchanged(L"mv Projects\\Cover.prt Archive --silent", "is locked by another program");
        Execute(other.get(), "ROLLBACK");
    }
    Execute(Open(Database()).get(), "PRAGMA user_version = 7");
    ExpectRefusedUnchanged(L"mv Projects\\Cover.prt Archive --silent",
                           "has schema version 7; this host reads version 1");
    // A header that is not SQLite's: the file is damaged.
    std::string bytes = ReadBytes(Database());
    bytes[0] = 'X';
    std::ofstream(Database().c_str(), std::ios::binary) << bytes;
    ExpectRefusedUnchanged(L"ls", "is damaged");
}

// A file found at both its old and its new path with different bytes is
// kept at both: recovery reports it and leaves the move unfinished.
TEST_F(VaultHostTest, RecoveryNeverDeletesAFileWhoseBytesAreNowhereElse) {
    InitSample();
    ExpectOutcome(Run(L"mv Projects\\Cover.prt Archive --silent", L"after-database"), 70);
    folder.WriteFile(L"..\\vault\\Engineering\\Archive\\Cover.prt", "another drawing's bytes");
    ExpectOutcome(Run(L"recover"), 1, "kept both copies of");
    EXPECT_TRUE(folder.Exists(L"..\\vault\\Engineering\\Projects\\Cover.prt"));
    EXPECT_EQ(folder.ReadFile(L"..\\vault\\Engineering\\Archive\\Cover.prt"), "another drawing's bytes");
    ExpectOutcome(Run(L"check"), 1, "an interrupted move is not finished");
}

TEST_F(VaultHostTest, AnUnknownOptionIsMisuse) {
    ExpectOutcome(Run(L"ls --vault-typo"), 2, "unknown option --vault-typo");
}

// The vault refuses items one by one for each reason it has (a name taken
// in the folder is found on disk before); nothing changes.
TEST_F(VaultHostTest, TheVaultRefusesItemsByKind) {
    InitSample();
    const std::string before = Run(L"ls").output;
    const struct {
        const wchar_t* command;
        const char* kind;
    } cases[] = {
        {L"rename Projects\\Pump\\impeller.prt rotor.prt", "\"kind\": 2"},            // checked out elsewhere
        {L"rename Projects\\Gearbox\\shaft.prt HOUSING.prt", "\"code\": \"0x8004020F\""},  // taken on disk first
        {L"mv Projects Projects\\Pump", "\"kind\": 5"},                                 // into its own sub-folder
        {L"rename Projects\\Cover.prt shaft.prt", "\"itemName\": \"shaft.prt\", \"conflictName\": \"shaft.prt\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(standin::ToUtf8(c.command));
        const Outcome refused = Run(std::wstring(c.command) + L" --silent --json");
        ExpectOutcome(refused, 1, "\"result\": \"0x00000001\"");
        EXPECT_NE(refused.output.find(c.kind), std::string::npos) << refused.output;
    }
    EXPECT_EQ(Run(L"ls").output, before);
    EXPECT_EQ(Run(L"check").exitCode, 0u);
    ExpectOutcome(Run(L"mv Projects\\nothing.prt Archive"), 2, "no item Projects\\nothing.prt in the vault");
}

// A rename rewrites what the documents store, as JSON tells.
TEST_F(VaultHostTest, ARenameRewritesTheReferencesItLists) {
    InitSample();
    const Outcome renamed = Run(L"rename Projects\\Gearbox\\shaft.prt main-shaft.prt --silent --json");
    const std::string old = standin::ToUtf8(Vault()) + "\\Engineering\\Projects\\Gearbox\\shaft.prt";
    std::string escaped;
    for (char c : old) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    ExpectOutcome(renamed, 0, "\"oldRef\": \"" + escaped + "\"");
    EXPECT_NE(renamed.output.find("mount.asm"), std::string::npos);
    EXPECT_NE(Run(L"ls").output.find("references Projects\\Gearbox\\main-shaft.prt"), std::string::npos);
    EXPECT_EQ(Run(L"check").exitCode, 0u);
}

}  // namespace
