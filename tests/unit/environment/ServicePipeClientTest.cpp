// The pipe notices: their bytes as a running service receives them, and that
// a missing, locked out or silent service never stops the caller for good.
#include "common/Handles.h"
#include "environment/ServicePipeClient.h"

#include "LocalViewServiceProcess.h"
#include "TestFolder.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

using Lines = std::vector<std::vector<std::wstring>>;

// Whether another thread could take the service mutex at once.
bool MutexIsFree() {
    bool free = false;
    std::thread other([&] {
        UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kServiceMutexName));
        const DWORD wait = mutex ? WaitForSingleObject(mutex.get(), 0) : WAIT_FAILED;
        free = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        if (free) ReleaseMutex(mutex.get());
    });
    other.join();
    return free;
}

class ServicePipeClientTest : public ::testing::Test {
protected:
    TestFolder folder;
};

// At most 260 characters and a terminator go, after the notice type.
TEST_F(ServicePipeClientTest, TheServiceReceivesEachNoticeAsOneMessageInOrder) {
    NotifyClientService(L"C:\\view\\nobody");  // no service: dropped
    EXPECT_TRUE(MutexIsFree());
    LocalViewServiceProcess service;
    const std::wstring longPath = L"C:\\" + std::wstring(297, L'p');
    NotifyClientService(L"C:\\view\\first");
    NotifyClientService(longPath);
    NotifyClientService(L"");
    service.Stop();
    EXPECT_EQ(folder.Journal(L"LocalViewService"),
              (Lines{{L"Notice", L"32", L"1", L"C:\\view\\first", L"0"},
                     {L"Notice", L"526", L"1", longPath.substr(0, 260), L"0"},
                     {L"Notice", L"6", L"1", L"", L"0"}}));
    EXPECT_TRUE(MutexIsFree());
}

TEST_F(ServicePipeClientTest, AMutexWeMayNotOpenDelaysTheNoticeButDoesNotStopIt) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;GA;;;WD)", SDDL_REVISION_1, &descriptor,
                                                                     nullptr));
    const UniqueLocalMem<void> ownedDescriptor(descriptor);
    SECURITY_ATTRIBUTES denied = {sizeof(denied), descriptor, FALSE};
    const UniqueHandle lockedOut(CreateMutexW(&denied, FALSE, kServiceMutexName));
    ASSERT_TRUE(lockedOut);
    SetLastError(0);
    ASSERT_FALSE(UniqueHandle(CreateMutexW(nullptr, FALSE, kServiceMutexName)));
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    LocalViewServiceProcess service;
    NotifyClientService(L"C:\\view\\unserialised");
    service.Stop();
    EXPECT_EQ(folder.Journal(L"LocalViewService"), (Lines{{L"Notice", L"46", L"1", L"C:\\view\\unserialised", L"0"}}));
}

// A service that takes a notice and never answers holds its sender, and with
// it every other sender through the mutex, until the service goes away.
TEST_F(ServicePipeClientTest, ASilentServiceHoldsEverySenderUntilItGoesAway) {
    folder.Configure(L"LocalViewService", {L"reply=never"});
    LocalViewServiceProcess service;
    std::thread sender([] { NotifyClientService(L"C:\\view\\waiting"); });
    while (folder.Journal(L"LocalViewService").empty()) Sleep(1);

    EXPECT_FALSE(MutexIsFree());
    service.Stop();
    sender.join();
    EXPECT_TRUE(MutexIsFree());
}

}  // namespace
