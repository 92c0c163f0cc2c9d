// Notifying add-ins through the vault object: which blocks call, what the add-in receives, what comes back.
#include "filerefs/AddInNotification.h"
#include "interfaces/AddInHooks.h"

#include "ComThread.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "VaultObject.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::vector<std::wstring>>;
using Words = std::vector<std::wstring>;

constexpr HRESULT kAddInFailure = static_cast<HRESULT>(0x80040155);

// How the vault and the add-in are configured, what the notification answers and which commands reach the add-in.
struct RuleCase {
    Words vault, addIn;
    HRESULT result;
    Words sent;
};

class AddInNotificationTest : public ::testing::Test {
protected:
    // Folder 4 moves into folder 9, and file 70 with it.
    AddInNotificationTest() {
        request.AddFolder(4, 9);
        request.AddFile(70, 4, 9);
    }
    void Configure(const Words& vaultLines, const Words& addInLines) {
        folder.Configure(kVaultComponent, vaultLines);
        folder.Configure(L"AddIn", addInLines);
    }
    void Install(const Words& vaultLines, const Words& addInLines = {}) {
        Configure(vaultLines, addInLines);
        vault = CreateVaultObject();
        hook = ComPtr<IAddInHooks>::Query(vault.Get(), IID_IAddInHooks);
        ASSERT_TRUE(hook);
    }
    HRESULT Before(int32_t files, int32_t folders) {
        return NotifyAddIns(Audience(), files, folders, kAddInFolderMoveBefore, kAddInFileMoveBefore, true);
    }
    HRESULT After(int32_t files, int32_t folders) {
        return NotifyAddIns(Audience(), files, folders, kAddInFolderMoveAfter, kAddInFileMoveAfter, false);
    }
    AddInAudience Audience() { return {hook.Get(), parent, *request.get(), folderPaths, fileNames}; }
    // The vault's hook and dispatch calls, without the value reads.
    Lines VaultCalls() const {
        Lines calls;
        for (const auto& line : folder.Journal(kVaultComponent)) {
            if (line[0] == L"GetDispatcher" || line[0] == L"Dispatch") calls.push_back(line);
        }
        return calls;
    }
    // One folder and one file notification per case, to one vault object, each with fresh journals.
    void ExpectRules(bool before, const std::vector<RuleCase>& cases) {
        Install({});
        for (size_t i = 0; i < cases.size(); ++i) {
            Configure(cases[i].vault, cases[i].addIn);
            folder.ForgetJournals();
            EXPECT_EQ(before ? Before(1, 1) : After(1, 1), cases[i].result) << "case " << i;
            EXPECT_EQ(AddInCommands(), cases[i].sent) << "case " << i;
        }
    }
    // The command codes the add-in was sent, in order.
    Words AddInCommands() const { return folder.JournalField(L"AddIn", L"Command"); }

    TestFolder folder;
    ComThread com;
    HWND parent = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    OwnedRequest request{L"C:\\Vault"};
    FolderPathMap folderPaths = {{4, L"\\Projects\\Old\\"}, {9, L"\\Archive\\"}};
    FileNameMap fileNames = {{70, L"bracket.prt"}};
    ComPtr<IUnknown> vault;
    ComPtr<IAddInHooks> hook;
};

TEST_F(AddInNotificationTest, TheArrayHoldsEveryItemOfItsKindWhateverTheCount) {
    Install({});
    request.AddFile(71, 4, 4);  // stays in its folder: the driver does not count it
    request.AddFile(72, 4, 9);
    EXPECT_EQ(Before(1, 0), S_OK);
    EXPECT_EQ(Before(7, 0), S_OK);
    EXPECT_EQ(folder.JournalField(L"AddIn", L"Records"), (Words{L"3", L"3"}));
}

TEST_F(AddInNotificationTest, CountsOfZeroOrANullDispatcherSkipTheirBlock) {
    Install({L"null-dispatcher=0x21"});
    EXPECT_EQ(Before(0, 0), S_OK);
    EXPECT_EQ(folder.Journal(kVaultComponent), (Lines{{L"Create"}}));  // not even the value was read
    EXPECT_EQ(Before(0, 1), S_OK);
    EXPECT_EQ(After(1, 1), S_OK);
    EXPECT_EQ(VaultCalls(), (Lines{{L"GetDispatcher", L"0x21"}, {L"GetDispatcher", L"0x22"},
                                   {L"Dispatch", L"0x22", L"0x22"}, {L"GetDispatcher", L"0x16"},
                                   {L"Dispatch", L"0x16", L"0x16"}}));
}

TEST_F(AddInNotificationTest, AVaultWithoutItsDispatchOrValueInterface) {
    Install({L"without=value"});
    EXPECT_EQ(Before(1, 0), S_OK);
    ASSERT_EQ(AddInCommands(), (Words{L"0x15"}));
    EXPECT_EQ(folder.Journal(L"AddIn")[0][4], L"0");  // the value could not be read

    vault.Reset();
    hook.Reset();
    Install({L"without=dispatch"});
    EXPECT_EQ(Before(1, 0), E_NOINTERFACE);
    EXPECT_EQ(After(1, 0), E_NOINTERFACE);
    EXPECT_EQ(AddInCommands(), (Words{L"0x15"}));  // nothing dispatched since
}

TEST_F(AddInNotificationTest, BeforeTheChangeAFailureOrARefusalEndsTheNotificationAtOnce) {
    ExpectRules(true, {
        {{L"fail:GetDispatcher=0x80040155"}, {}, kAddInFailure, {}},
        {{}, {L"answer:0x21=0x80040155"}, kAddInFailure, {L"0x21"}},
        {{}, {L"veto=0x21"}, E_QOR_OPERATION_REFUSED_BY_PLUGIN, {L"0x21"}},
        {{}, {L"answer:0x15=0x80040155"}, kAddInFailure, {L"0x21", L"0x15"}},
        // Otherwise the folder block's answer stands, success codes included.
        {{}, {L"answer:0x21=1"}, S_FALSE, {L"0x21", L"0x15"}},
        {{}, {L"answer:0x15=1"}, S_OK, {L"0x21", L"0x15"}},
    });
}

TEST_F(AddInNotificationTest, AfterTheChangeCancelIsIgnoredAndTheFirstFailureIsTheAnswer) {
    const Words both = {L"0x22", L"0x16"};
    ExpectRules(false, {
        {{}, {L"veto=0x22", L"veto=0x16"}, S_OK, both},
        {{}, {L"answer:0x22=0x80040155"}, kAddInFailure, both},
        {{}, {L"answer:0x16=0x80040155"}, kAddInFailure, both},
        {{}, {L"answer:0x22=0x80040155", L"answer:0x16=0x80040156"}, kAddInFailure, both},
        // The file block's answer replaces the folder block's success code.
        {{}, {L"answer:0x22=1"}, S_OK, both},
        {{}, {L"answer:0x16=1"}, S_FALSE, both},
        {{L"null-dispatcher=0x16"}, {L"answer:0x22=1"}, S_FALSE, {L"0x22"}},
        {{L"fail:GetDispatcher=0x80040155"}, {}, kAddInFailure, {}},
    });
}

TEST_F(AddInNotificationTest, EveryInterfaceAndDispatcherIsReleasedOnEveryPath) {
    Install({});
    const ULONG start = ReferenceCount(vault.Get());
    for (const wchar_t* addIn : {L"", L"veto=0x21", L"answer:0x21=0x80040155", L"answer:0x15=0x80040155"}) {
        folder.Configure(L"AddIn", {addIn});
        Before(1, 1);
        After(1, 1);
        EXPECT_EQ(ReferenceCount(vault.Get()), start) << addIn;
    }
    folder.Configure(kVaultComponent, {L"without=dispatch"});
    Before(1, 1);
    EXPECT_EQ(ReferenceCount(vault.Get()), start);

    hook.Reset();
    vault.Reset();
    EXPECT_EQ(folder.JournalCalls(kVaultComponent).back(), L"Destroy");
}

}  // namespace
