// The vault lent in the request handles the documents a plain CAD document references.
#include "move/Mover.h"

#include "ComThread.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "VaultObject.h"
#include "common/ComErrors.h"
#include "common/StringUtil.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::wstring>;

class ReferencedFilesTest : public ::testing::Test {
protected:
    ~ReferencedFilesTest() override { EXPECT_TRUE(VaultReleased()); }

    // The vault knows Assy\Top.asm, which references two parts it knows and, last, one it does not. Every vault lent
    // before must have been destroyed.
    void LendVault(const Texts& extraConfiguration = {}) {
        if (vault) {
            EXPECT_TRUE(VaultReleased());
        }
        Texts configuration = {VaultDocument(folder.Path(L"Assy\\Top.asm"),
                                             {Part(L"Bolt.prt"), Part(L"Nut.prt"), Part(L"Unknown.prt")}),
                               VaultDocument(Part(L"Bolt.prt")), VaultDocument(Part(L"Nut.prt"))};
        configuration.insert(configuration.end(), extraConfiguration.begin(), extraConfiguration.end());
        folder.Configure(L"Vault", configuration);
        vault = CreateVaultObject();
        request->vault = vault.Get();
    }
    // True once the test's own reference is gone and the vault was destroyed.
    bool VaultReleased() {
        request->vault = nullptr;
        vault.Reset();
        const Texts calls = folder.JournalCalls(L"Vault");
        return !calls.empty() && calls.back() == L"Destroy";
    }
    std::wstring Part(const wchar_t* name) const { return folder.Path(L"Parts\\") + name; }
    // The rewrite pass names a document that stays in place in lower case.
    HRESULT Process() { return mover.ProcessReferencedFiles(LowerCase(folder.Path(L"Assy\\Top.asm"))); }
    ComError Raised() {
        try {
            Process();
        } catch (const ComError& error) {
            return error;
        }
        return ComError(S_OK);
    }
    Texts Handled() const { return folder.JournalField(L"Vault", L"HandleReferencedFile"); }

    ComThread com;
    TestFolder folder;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    Mover mover{nullptr, &host, request.get(), true};
    ComPtr<IUnknown> vault;
};

TEST_F(ReferencedFilesTest, EveryKnownReferencedDocumentButItselfIsHandedToTheVault) {
    LendVault();
    EXPECT_EQ(Process(), S_FALSE);  // the result of the last vault call: the unknown part's lookup
    EXPECT_EQ(Handled(), (Texts{Part(L"Bolt.prt"), Part(L"Nut.prt")}));
}

TEST_F(ReferencedFilesTest, WhatTheVaultDoesNotServeEndsTheWalkQuietly) {
    const struct {
        Texts configuration;
        HRESULT result;
    } cases[] = {
        {{L"without=model"}, S_FALSE},                                     // nothing is asked
        {{L"without=utility"}, S_OK},                                      // the creation's result
        {{L"null-results=1"}, S_OK},                                       // the result of asking for them
        {{L"fail:AddItems=0x80004005", L"fail:GetId=0x80004005"}, S_OK},  // not raised
        {{L"without=handler"}, S_FALSE},                                   // the whole list is walked
    };
    for (const auto& c : cases) {
        LendVault(c.configuration);
        EXPECT_EQ(Process(), c.result) << c.configuration[0];
    }
    LendVault();
    EXPECT_EQ(mover.ProcessReferencedFiles(folder.Path(L"Assy\\Other.asm")), S_FALSE);  // a document it does not know
    EXPECT_TRUE(Handled().empty());
}

TEST_F(ReferencedFilesTest, FailuresOfTheWalkRaiseWithTheVaultsErrorInformation) {
    for (const std::wstring call :
         {L"CreateUtility", L"Configure", L"Run", L"GetResults", L"GetFirstPosition", L"HandleReferencedFile"}) {
        LendVault({L"fail:" + call + L"=0x80040123"});
        const ComError error = Raised();
        EXPECT_EQ(error.Code(), static_cast<HRESULT>(0x80040123)) << call;
        EXPECT_EQ(error.Description(), call + L" failed in the vault");
    }
    for (const std::wstring when : {L"first", L"next"}) {
        LendVault({L"null-position=" + when});
        EXPECT_EQ(Raised().Code(), E_POINTER) << when;
    }
}

}  // namespace
