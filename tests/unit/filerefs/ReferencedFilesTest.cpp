// The vault lent in the request handles the documents that a plain CAD
// document references: the calls on it, their results and their failures.
#include "move/Mover.h"

#include "RecordingHost.h"
#include "TestFolder.h"
#include "VaultObject.h"
#include "common/ComErrors.h"
#include "common/StringUtil.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Texts = std::vector<std::wstring>;

ComError Raised(const std::function<void()>& run) {
    try {
        run();
    } catch (const ComError& error) {
        return error;
    }
    ADD_FAILURE() << "nothing was raised";
    return ComError(S_OK);
}

class ReferencedFilesTest : public ::testing::Test {
protected:
    ReferencedFilesTest() { CoInitialize(nullptr); }
    ~ReferencedFilesTest() override {
        request->vault = nullptr;
        vault.Reset();
        CoUninitialize();
    }

    // The vault knows Assy\Top.asm, which references two parts it knows and, last, one it does not.
    void LendVault(const Texts& extraConfiguration = {}) {
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
    // The arguments of every journaled call of that name, joined by commas.
    Texts Arguments(const wchar_t* call) const {
        Texts arguments;
        for (const auto& entry : folder.Journal(L"Vault")) {
            if (entry[0] != call) continue;
            std::wstring joined;
            for (size_t i = 1; i < entry.size(); ++i) joined += (i > 1 ? L"," : L"") + entry[i];
            arguments.push_back(joined);
        }
        return arguments;
    }

    TestFolder folder;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    Mover mover{nullptr, &host, request.get(), true};
    ComPtr<IUnknown> vault;
};

TEST_F(ReferencedFilesTest, EveryKnownReferencedDocumentButItselfIsHandedToTheVault) {
    LendVault();
    EXPECT_EQ(Process(), S_FALSE);  // the result of the last vault call: the unknown part's lookup
    EXPECT_EQ(Arguments(L"HandleReferencedFile"), (Texts{Part(L"Bolt.prt"), Part(L"Nut.prt")}));
    // The utility is asked for kind 12 and given (folder id, document id) of the document.
    EXPECT_EQ(Arguments(L"CreateUtility"), Texts{L"12"});
    EXPECT_EQ(Arguments(L"AddItems"), Texts{L"1,101"});
    EXPECT_EQ(Arguments(L"Configure"), Texts{L"0,13"});
    EXPECT_EQ(Arguments(L"GetResults"), Texts{L"1"});
    // The list holds the document itself, as the vault spells it, then its references.
    EXPECT_EQ(Arguments(L"GetNext"),
              (Texts{folder.Path(L"Assy\\Top.asm"), Part(L"Bolt.prt"), Part(L"Nut.prt"), Part(L"Unknown.prt")}));
    EXPECT_EQ(Arguments(L"IsNull").size(), 5u);
    EXPECT_TRUE(VaultReleased());
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
        EXPECT_TRUE(VaultReleased()) << c.configuration[0];
    }
    LendVault();
    EXPECT_EQ(mover.ProcessReferencedFiles(folder.Path(L"Assy\\Other.asm")), S_FALSE);  // a document it does not know
    EXPECT_TRUE(VaultReleased());
    // Nothing was added for it; the identifiers the failing objects did not give are zero.
    EXPECT_EQ(Arguments(L"AddItems"), (Texts{L"1,101", L"0,0", L"1,101"}));
    EXPECT_TRUE(Arguments(L"HandleReferencedFile").empty());
}

TEST_F(ReferencedFilesTest, FailuresOfTheWalkRaiseWithTheVaultsErrorInformation) {
    for (const std::wstring call :
         {L"CreateUtility", L"Configure", L"Run", L"GetResults", L"GetFirstPosition", L"HandleReferencedFile"}) {
        LendVault({L"fail:" + call + L"=0x80040123"});
        const ComError error = Raised([this] { Process(); });
        EXPECT_EQ(error.Code(), static_cast<HRESULT>(0x80040123)) << call;
        EXPECT_EQ(error.Description(), call + L" failed in the vault");
        EXPECT_TRUE(VaultReleased()) << call;
    }
    for (const std::wstring when : {L"first", L"next"}) {
        LendVault({L"null-position=" + when});
        EXPECT_EQ(Raised([this] { Process(); }).Code(), E_POINTER) << when;
        EXPECT_TRUE(VaultReleased()) << when;
    }
}

}  // namespace
