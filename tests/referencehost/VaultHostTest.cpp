// The reference host as a user drives it: vaulthost.exe runs as a program of
// its own over a sample vault in the test's folder, with the installation's
// stand-ins. A kill at each crash point is followed by recover and a clean
// check; databases that cannot be used give exit code 2 and stay as they
// were; the vault refuses items by kind and changes nothing.
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
        std::wstring command = L"\"" + LoadedModule::BesideProgram(L"vaulthost.exe") + L"\" " + arguments +
                               L" --vault \"" + Vault() + L"\"";
        SetEnvironmentVariableW(L"VAULTHOST_CRASH_AT", crashAt);
        PROCESS_INFORMATION started = {};
        const BOOL ok = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started);
        SetEnvironmentVariableW(L"VAULTHOST_CRASH_AT", nullptr);
        if (!ok) return {~0u, "vaulthost.exe did not start"};
        const UniqueHandle process(started.hProcess), thread(started.hThread);
        writer.Reset();
        Outcome outcome;
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(reader.Get(), buffer, sizeof buffer, &read, nullptr) && read) outcome.output.append(buffer, read);
        WaitForSingleObject(process.Get(), INFINITE);
        GetExitCodeProcess(process.Get(), &outcome.exitCode);
        return outcome;
    }

    void InitSample() const { ASSERT_EQ(Run(L"init --sample").exitCode, 0u); }

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
    const Outcome killed = Run(L"mv Projects\\Gearbox Archive --silent", GetParam());
    EXPECT_EQ(killed.exitCode, 70u) << killed.output;
    const Outcome apart = Run(L"check");
    EXPECT_EQ(apart.exitCode, 1u);
    EXPECT_NE(apart.output.find("an interrupted move is not finished"), std::string::npos) << apart.output;

    const Outcome recovered = Run(L"recover");
    EXPECT_EQ(recovered.exitCode, 0u) << recovered.output;
    const Outcome clean = Run(L"check");
    EXPECT_EQ(clean.exitCode, 0u) << clean.output;
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
        const std::string bytes = ReadBytes(Database());
        const Outcome locked = Run(L"mv Projects\\Cover.prt Archive --silent");
        EXPECT_EQ(locked.exitCode, 2u);
        EXPECT_NE(locked.output.find("is locked by another program"), std::string::npos) << locked.output;
        EXPECT_EQ(ReadBytes(Database()), bytes);
        Execute(other.get(), "ROLLBACK");
    }
    {
        const standin::SqliteDatabase other = Open(Database());
        Execute(other.get(), "PRAGMA user_version = 7");
    }
    std::string bytes = ReadBytes(Database());
    Outcome refused = Run(L"mv Projects\\Cover.prt Archive --silent");
    EXPECT_EQ(refused.exitCode, 2u);
    EXPECT_NE(refused.output.find("has schema version 7; this host reads version 1"), std::string::npos)
        << refused.output;
    EXPECT_EQ(ReadBytes(Database()), bytes);

    // A header that is not SQLite's: the file is damaged.
    bytes[0] = 'X';
    std::ofstream(Database().c_str(), std::ios::binary) << bytes;
    refused = Run(L"ls");
    EXPECT_EQ(refused.exitCode, 2u);
    EXPECT_NE(refused.output.find("is damaged"), std::string::npos) << refused.output;
    EXPECT_EQ(ReadBytes(Database()), bytes);

}

// A file found at both its old and its new path with different bytes is
// kept at both: recovery reports it and leaves the move unfinished.
TEST_F(VaultHostTest, RecoveryNeverDeletesAFileWhoseBytesAreNowhereElse) {
    InitSample();
    EXPECT_EQ(Run(L"mv Projects\\Cover.prt Archive --silent", L"after-database").exitCode, 70u);
    folder.WriteFile(L"..\\vault\\Engineering\\Archive\\Cover.prt", "another drawing's bytes");
    const Outcome recovered = Run(L"recover");
    EXPECT_EQ(recovered.exitCode, 1u);
    EXPECT_NE(recovered.output.find("kept both copies of"), std::string::npos) << recovered.output;
    EXPECT_TRUE(folder.Exists(L"..\\vault\\Engineering\\Projects\\Cover.prt"));
    EXPECT_EQ(folder.ReadFile(L"..\\vault\\Engineering\\Archive\\Cover.prt"), "another drawing's bytes");
    EXPECT_NE(Run(L"check").output.find("an interrupted move is not finished"), std::string::npos);
}

TEST_F(VaultHostTest, AnUnknownOptionIsMisuse) {
    const Outcome misuse = Run(L"ls --vault-typo");
    EXPECT_EQ(misuse.exitCode, 2u);
    EXPECT_NE(misuse.output.find("unknown option --vault-typo"), std::string::npos) << misuse.output;
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
        {L"mv Released\\bracket.prt Projects", "\"kind\": 3"},                          // may not move files out
        {L"rename Projects\\Gearbox\\shaft.prt HOUSING.prt", "\"code\": \"0x8004020F\""},  // taken on disk first
        {L"mv Projects Projects\\Pump", "\"kind\": 5"},                                 // into its own sub-folder
        {L"rename Projects\\Cover.prt shaft.prt", "\"itemName\": \"shaft.prt\", \"conflictName\": \"shaft.prt\""},
    };
    for (const auto& c : cases) {
        const Outcome refused = Run(std::wstring(c.command) + L" --silent --json");
        EXPECT_EQ(refused.exitCode, 1u) << standin::ToUtf8(c.command);
        EXPECT_NE(refused.output.find("\"result\": \"0x00000001\""), std::string::npos) << refused.output;
        EXPECT_NE(refused.output.find(c.kind), std::string::npos) << refused.output;
    }
    EXPECT_EQ(Run(L"ls").output, before);
    EXPECT_EQ(Run(L"check").exitCode, 0u);
    const Outcome unknown = Run(L"mv Projects\\nothing.prt Archive");
    EXPECT_EQ(unknown.exitCode, 2u);
    EXPECT_NE(unknown.output.find("no item Projects\\nothing.prt in the vault"), std::string::npos) << unknown.output;
}

// A rename rewrites what the documents store, as JSON tells.
TEST_F(VaultHostTest, ARenameRewritesTheReferencesItLists) {
    InitSample();
    const Outcome renamed = Run(L"rename Projects\\Gearbox\\shaft.prt main-shaft.prt --silent --json");
    EXPECT_EQ(renamed.exitCode, 0u) << renamed.output;
    const std::string old = standin::ToUtf8(Vault()) + "\\Engineering\\Projects\\Gearbox\\shaft.prt";
    std::string escaped;
    for (char c : old) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    EXPECT_NE(renamed.output.find("\"oldRef\": \"" + escaped + "\""), std::string::npos) << renamed.output;
    EXPECT_NE(renamed.output.find("mount.asm"), std::string::npos);
    EXPECT_NE(Run(L"ls").output.find("references Projects\\Gearbox\\main-shaft.prt"), std::string::npos);
    EXPECT_EQ(Run(L"check").exitCode, 0u);
}

}  // namespace
