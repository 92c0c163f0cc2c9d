// The login session against a running login manager: the vault's record, read under the table's mutex.
#include "common/Handles.h"
#include "environment/LoginSession.h"
#include "interfaces/LoginManager.h"

#include "LoginManagerProcess.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <thread>
#include <tuple>

namespace {

// A record whose texts and numbers belong to its vault alone. The backslash and the tab cross the configuration
// escaped.
std::wstring Record(const std::wstring& vault, uint32_t first) {
    const auto number = [&](uint32_t k) { return std::to_wstring(first + k); };
    return LoginRecordLine({L"user", vault, L"tcp:" + vault + L"\\db", vault + L"-4", vault + L"-5", vault + L"\tpw",
                            L"7", number(0), number(1), number(2), number(3), number(4), L"1"});
}

void ExpectLogin(const LoginFields& f, const std::wstring& vault, uint32_t first) {
    EXPECT_EQ(std::tie(f.text3, f.text4, f.text5, f.text6, f.number1, f.number2, f.number5),
              std::make_tuple(L"tcp:" + vault + L"\\db", vault + L"-4", vault + L"-5", vault + L"\tpw", first,
                              first + 1, first + 4));
}

// Whether this thread takes the mutex at once, and it was not abandoned.
bool TakesMutexCleanly() {
    const UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kLoginMutexName));
    const DWORD wait = WaitForSingleObject(mutex.Get(), 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(mutex.Get());
    return wait == WAIT_OBJECT_0;
}

class LoginSessionTest : public ::testing::Test {
protected:
    // Starts a login manager configured with `lines` and opens the section it made.
    void Start(const std::vector<std::wstring>& lines) {
        folder.Configure(L"LoginManager", lines);
        manager.emplace();
        ASSERT_TRUE(session.OpenSection());
    }

    TestFolder folder;
    std::optional<LoginManagerProcess> manager;
    LoginSession session;
    LoginFields found;
};

TEST_F(LoginSessionTest, WithoutALoginManagerNothingIsFound) {
    EXPECT_FALSE(session.OpenSection());
    found.text3 = L"as it was";
    EXPECT_FALSE(session.Lookup(L"Vault", found));
    EXPECT_EQ(found.text3, L"as it was");
}

// The section stays readable through the session's own handle once the manager is gone.
TEST_F(LoginSessionTest, TheVaultsRecordIsFoundInTheSectionTheSessionKeeps) {
    Start({Record(L"Elsewhere", 10), Record(L"Vault", 0xFFFFFFF0)});
    ASSERT_TRUE(session.Lookup(L"vAULT", found));
    ExpectLogin(found, L"Vault", 0xFFFFFFF0);
    EXPECT_FALSE(session.Lookup(L"Vaul", found));
    EXPECT_EQ(found.text5, L"Vault-5");  // untouched by the failed lookup

    manager->Stop();
    ASSERT_TRUE(session.Lookup(L"Elsewhere", found));
    ExpectLogin(found, L"Elsewhere", 10);
}

// The lookup runs on a thread of its own: had it kept the mutex, the thread's end would abandon it again, and had it
// never waited, the abandonment would still be there for the test to find.
TEST_F(LoginSessionTest, AMutexAbandonedByTheManagerIsTakenAndReleased) {
    Start({Record(L"Vault", 1), L"abandon-mutex=1"});
    bool ok = false;
    std::thread([&] { ok = session.Lookup(L"Vault", found); }).join();
    ASSERT_TRUE(ok);
    ExpectLogin(found, L"Vault", 1);
    EXPECT_TRUE(TakesMutexCleanly());
}

// Whether the lookup waited is not timed: the manager writes the table only when let go, so a lookup that read without
// the mutex would find nothing. The lookup's thread has started before the test lets go.
TEST_F(LoginSessionTest, ALookupWaitsForTheManagerToReleaseTheMutex) {
    Start({Record(L"Vault", 1), L"hold-mutex=1"});
    bool ok = false;
    std::promise<void> started;
    std::thread lookup([&] {
        started.set_value();
        ok = session.Lookup(L"Vault", found);
    });
    started.get_future().wait();
    manager->LetGoOfMutex();
    lookup.join();
    ASSERT_TRUE(ok);
    ExpectLogin(found, L"Vault", 1);
}

// A page-sized section, so that the view ends where the table does.
TEST_F(LoginSessionTest, ATableFillingTheWholeSectionIsReadUpToItsEnd) {
    Start({Record(L"Elsewhere", 10), Record(L"Vault", 20), L"fill=1", L"section-size=4096"});
    const auto journal = folder.Journal(L"LoginManager");
    ASSERT_EQ(journal.size(), 2u);
    ASSERT_EQ(journal[1].size(), 5u);
    ASSERT_EQ(journal[1][3], L"unterminated");
    ASSERT_NE(journal[1][4], L"0") << "the last record must run off the section's end";
    ASSERT_TRUE(session.Lookup(L"Vault", found));
    ExpectLogin(found, L"Vault", 20);
    EXPECT_FALSE(session.Lookup(L"Nowhere", found));
}

}  // namespace
