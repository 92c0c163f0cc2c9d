// The pipe notices: their bytes as a running service receives them, and that
// a missing or locked out service never stops the caller.
#include "common/Handles.h"
#include "environment/ServicePipeClient.h"

#include "LocalViewServiceProcess.h"
#include "TestFolder.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

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

// At most 260 characters and a terminator go, after the notice type. A mutex
// that exists but may not be opened delays a notice but does not stop it.
TEST(ServicePipeClient, TheServiceReceivesEachNoticeAsOneMessageInOrder) {
    TestFolder folder;
    NotifyClientService(L"C:\\view\\nobody");  // no service: dropped
    EXPECT_TRUE(MutexIsFree());
    LocalViewServiceProcess service;
    const std::wstring longPath = L"C:\\" + std::wstring(297, L'p');
    for (const std::wstring& path : {std::wstring(L"C:\\view\\first"), longPath, std::wstring()}) {
        NotifyClientService(path);
    }
    EXPECT_TRUE(MutexIsFree());

    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;GA;;;WD)", SDDL_REVISION_1, &descriptor,
                                                                     nullptr));
    const UniqueLocalMem<void> ownedDescriptor(descriptor);
    SECURITY_ATTRIBUTES denied = {sizeof(denied), descriptor, FALSE};
    const UniqueHandle lockedOut(CreateMutexW(&denied, FALSE, kServiceMutexName));
    ASSERT_FALSE(MutexIsFree());  // nobody owns it: it cannot be opened
    NotifyClientService(L"C:\\view\\unserialised");
    service.Stop();
    EXPECT_EQ(folder.Journal(L"LocalViewService"),
              (std::vector<std::vector<std::wstring>>{{L"Notice", L"32", L"1", L"C:\\view\\first", L"0"},
                                                      {L"Notice", L"526", L"1", longPath.substr(0, 260), L"0"},
                                                      {L"Notice", L"6", L"1", L"", L"0"},
                                                      {L"Notice", L"46", L"1", L"C:\\view\\unserialised", L"0"}}));
}

}  // namespace
