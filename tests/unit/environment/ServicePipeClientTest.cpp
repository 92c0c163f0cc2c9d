// The pipe notices as a running service receives them; a missing or locked-out service never stops the caller.
#include "common/Handles.h"
#include "environment/ServicePipeClient.h"

#include "LocalViewServiceProcess.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Whether another thread could take the service mutex at once.
bool MutexIsFree() {
    bool free = false;
    std::thread other([&] {
        UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kServiceMutexName));
        const DWORD wait = mutex ? WaitForSingleObject(mutex.Get(), 0) : WAIT_FAILED;
        free = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        if (free) ReleaseMutex(mutex.Get());
    });
    other.join();
    return free;
}

// At most 260 characters and a terminator go, after the notice type. A mutex that exists but may not be opened delays a
// notice but does not stop it, and the next notice is serialised again.
TEST(ServicePipeClient, TheServiceReceivesEachNoticeAsOneMessageInOrder) {
    TestFolder folder;
    NotifyClientService(L"C:\\view\\nobody");  // no service: dropped
    EXPECT_TRUE(MutexIsFree());
    folder.Configure(L"LocalViewService", {L"lock-out-until=1"});
    LocalViewServiceProcess service;
    const std::wstring longPath = L"C:\\" + std::wstring(297, L'p');
    for (const std::wstring& path : {std::wstring(L"C:\\view\\unserialised"), longPath, std::wstring()}) {
        NotifyClientService(path);
    }
    EXPECT_TRUE(MutexIsFree());
    service.Stop();
    EXPECT_EQ(folder.Journal(L"LocalViewService"),
              (std::vector<std::vector<std::wstring>>{{L"Notice", L"46", L"1", L"C:\\view\\unserialised", L"0", L"free"},
                                                      {L"Notice", L"526", L"1", longPath.substr(0, 260), L"0", L"held"},
                                                      {L"Notice", L"6", L"1", L"", L"0", L"held"}}));
}

// At the edge of the notice's path: 260 characters go whole with their
// terminator after the four-byte type, the 261st is cut.
TEST(ServicePipeClient, ANoticeCarriesTwoHundredSixtyCharactersAndItsTerminator) {
    const struct {
        size_t length, carried, bytes;
    } cases[] = {{259, 259, 524}, {260, 260, 526}, {261, 260, 526}};
    for (const auto& c : cases) {
        const std::wstring path(c.length, L'p');
        const ServiceMessage message = BuildServiceMessage(path);
        EXPECT_EQ(std::wstring(message.notice.path), path.substr(0, c.carried)) << c.length;
        EXPECT_EQ(message.bytes, c.bytes) << c.length;
    }
}

}  // namespace
