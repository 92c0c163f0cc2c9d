// The vault handles the documents that a plain CAD document references: the
// calls on the installation's vault object, their results and their failures.
#include "move/Mover.h"

#include "RecordingHost.h"
#include "TestFolder.h"
#include "VaultObject.h"
#include "common/StringUtil.h"
#include "interfaces/ReferencedFileHandler.h"
#include "interfaces/VaultObjectModel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

using Texts = std::vector<std::wstring>;

// GCC's member pointer to a virtual function holds 1 + its offset in the table.
template <class Member>
size_t SlotOf(Member member) {
    struct {
        uintptr_t pointer;
        ptrdiff_t adjustment;
    } raw;
    static_assert(sizeof raw == sizeof member, "a member function pointer of the Itanium ABI");
    std::memcpy(&raw, &member, sizeof raw);
    return (raw.pointer - 1) / sizeof(void*);
}

TEST(VaultInterfaces, SlotsAreTheVaultsCountingTheThreeOfIUnknown) {
    EXPECT_EQ(SlotOf(&IVaultObjectModel::GetObjectsByPath), 22u);
    EXPECT_EQ(SlotOf(&IVaultObjectModel::CreateUtility), 34u);
    EXPECT_EQ(SlotOf(&IReferenceUtility::AddItems), 7u);
    EXPECT_EQ(SlotOf(&IReferenceUtility::Configure), 9u);
    EXPECT_EQ(SlotOf(&IReferenceUtility::Run), 12u);
    EXPECT_EQ(SlotOf(&IReferenceUtility::GetResults), 13u);
    EXPECT_EQ(SlotOf(&IReferenceList::GetFirstPosition), 11u);
    EXPECT_EQ(SlotOf(&IReferenceList::GetNext), 12u);
    EXPECT_EQ(SlotOf(&IListPosition::IsNull), 7u);
    EXPECT_EQ(SlotOf(&IVaultObject::GetId), 7u);
    EXPECT_EQ(SlotOf(&IReferencedFileHandler::HandleReferencedFile), 8u);
}

class ReferencedFilesTest : public ::testing::Test {
protected:
    ReferencedFilesTest() { CoInitialize(nullptr); }
    ~ReferencedFilesTest() override {
        request->vault = nullptr;
        vault.Reset();
        CoUninitialize();
    }

    // The assembly references an unknown part and two known ones.
    void LendVault(const Texts& extraConfiguration = {},
                   const Texts& references = {L"Unknown.prt", L"Bolt.prt", L"Nut.prt"}) {
        Texts configuration = {VaultDocument(Path(L"Assy\\Top.asm"), Paths(references)),
                               VaultDocument(Path(L"Parts\\Bolt.prt")), VaultDocument(Path(L"Parts\\Nut.prt"))};
        configuration.insert(configuration.end(), extraConfiguration.begin(), extraConfiguration.end());
        folder.Configure(L"Vault", configuration);
        vault = CreateVaultObject();
        request->vault = vault.Get();
    }

    std::wstring Path(const std::wstring& relative) const { return folder.Path(relative); }
    Texts Paths(const Texts& parts) const {
        Texts paths;
        for (const std::wstring& part : parts) paths.push_back(Path(L"Parts\\" + part));
        return paths;
    }
    // The rewrite pass names a document that stays in place in lower case.
    HRESULT Process() { return mover.ProcessReferencedFiles(LowerCase(Path(L"Assy\\Top.asm"))); }

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
    // True once the test's own reference is gone and the vault was destroyed.
    bool EveryObjectReleased() {
        request->vault = nullptr;
        vault.Reset();
        const Texts calls = folder.JournalCalls(L"Vault");
        return !calls.empty() && calls.back() == L"Destroy";
    }

    TestFolder folder;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    Mover mover{nullptr, &host, request.get(), true};
    ComPtr<IUnknown> vault;
};

TEST_F(ReferencedFilesTest, EveryKnownReferencedDocumentButItselfIsHandedToTheVault) {
    LendVault();
    EXPECT_EQ(Process(), S_OK);
    EXPECT_EQ(Arguments(L"HandleReferencedFile"), Paths({L"Bolt.prt", L"Nut.prt"}));
    // The utility is asked for kind 12 and given (folder id, document id) of the document.
    EXPECT_EQ(Arguments(L"CreateUtility"), Texts{L"12"});
    EXPECT_EQ(Arguments(L"AddItems"), Texts{L"1,101"});
    EXPECT_EQ(Arguments(L"Configure"), Texts{L"0,13"});
    EXPECT_EQ(Arguments(L"GetResults"), Texts{L"1"});
    // The list holds the document itself, as the vault spells it, then its references.
    EXPECT_EQ(Arguments(L"GetNext"), (Texts{Path(L"Assy\\Top.asm"), Path(L"Parts\\Unknown.prt"),
                                            Path(L"Parts\\Bolt.prt"), Path(L"Parts\\Nut.prt")}));
    EXPECT_EQ(Arguments(L"IsNull").size(), 5u);
    EXPECT_TRUE(EveryObjectReleased());
}

TEST_F(ReferencedFilesTest, TheResultIsThatOfTheLastVaultCall) {
    LendVault({}, {L"Bolt.prt", L"Unknown.prt"});
    EXPECT_EQ(Process(), S_FALSE);  // the vault does not know the last reference
    EXPECT_EQ(Arguments(L"HandleReferencedFile"), Paths({L"Bolt.prt"}));
}

TEST_F(ReferencedFilesTest, WithoutAVaultOrItsObjectModelNothingIsAsked) {
    EXPECT_EQ(Process(), S_FALSE);
    LendVault({L"without=model"});
    EXPECT_EQ(Process(), S_FALSE);
    EXPECT_EQ(folder.JournalCalls(L"Vault"), Texts{L"Create"});
    EXPECT_TRUE(EveryObjectReleased());
}

TEST_F(ReferencedFilesTest, ADocumentTheVaultDoesNotKnowEndsTheWalkBeforeItStarts) {
    LendVault();
    EXPECT_EQ(mover.ProcessReferencedFiles(Path(L"Assy\\Other.asm")), S_FALSE);
    EXPECT_EQ(folder.JournalCalls(L"Vault"), (Texts{L"Create", L"CreateUtility", L"GetObjectsByPath"}));
    EXPECT_TRUE(EveryObjectReleased());
}

TEST_F(ReferencedFilesTest, AnObjectThatIsNoReferenceUtilityGivesTheCreationResult) {
    LendVault({L"without=utility"});
    EXPECT_EQ(Process(), S_OK);
    EXPECT_TRUE(Arguments(L"GetObjectsByPath").empty());
    EXPECT_TRUE(EveryObjectReleased());
}

TEST_F(ReferencedFilesTest, WithoutAHandlerTheWholeListIsWalkedAndNothingHandled) {
    LendVault({L"without=handler"});
    EXPECT_EQ(Process(), S_OK);
    EXPECT_EQ(Arguments(L"GetNext").size(), 4u);
    EXPECT_EQ(Arguments(L"GetObjectsByPath").size(), 5u);
    EXPECT_TRUE(Arguments(L"HandleReferencedFile").empty());
}

TEST_F(ReferencedFilesTest, FailuresOfGetIdAndAddItemsAreNotRaised) {
    LendVault({L"fail:AddItems=0x80004005", L"fail:GetId=0x80004005"});
    EXPECT_EQ(Process(), S_OK);
    EXPECT_EQ(Arguments(L"AddItems"), Texts{L"0,0"});  // the identifiers the objects did not give
    EXPECT_TRUE(Arguments(L"HandleReferencedFile").empty());
    EXPECT_TRUE(EveryObjectReleased());
}

TEST_F(ReferencedFilesTest, NoResultListEndsWithTheResultOfAskingForIt) {
    LendVault({L"null-results=1"});
    EXPECT_EQ(Process(), S_OK);
    EXPECT_TRUE(Arguments(L"GetFirstPosition").empty());
    EXPECT_TRUE(EveryObjectReleased());
}

HRESULT RaisedCode(const std::function<void()>& run, std::wstring* description = nullptr) {
    try {
        run();
    } catch (const ComError& error) {
        if (description) *description = error.Description();
        return error.Code();
    }
    return S_OK;
}

TEST_F(ReferencedFilesTest, FailuresOfTheWalkRaiseWithTheVaultsErrorInformation) {
    for (const wchar_t* call :
         {L"CreateUtility", L"Configure", L"Run", L"GetResults", L"GetFirstPosition", L"HandleReferencedFile"}) {
        LendVault({std::wstring(L"fail:") + call + L"=0x80040123"});
        std::wstring description;
        EXPECT_EQ(RaisedCode([this] { Process(); }, &description), static_cast<HRESULT>(0x80040123)) << call;
        EXPECT_EQ(description, std::wstring(call) + L" failed in the vault");
        EXPECT_TRUE(EveryObjectReleased()) << call;
    }
}

TEST_F(ReferencedFilesTest, ANullPositionRaisesEPointer) {
    for (const wchar_t* when : {L"first", L"next"}) {
        LendVault({std::wstring(L"null-position=") + when});
        EXPECT_EQ(RaisedCode([this] { Process(); }), E_POINTER) << when;
        EXPECT_TRUE(EveryObjectReleased()) << when;
    }
}

}  // namespace
