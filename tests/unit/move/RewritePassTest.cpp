// The rewrite pass on its own: the targets it names after the local moves,
// the times it saves, and the pending result the vault's handling leaves.
#include "move/Mover.h"

#include "LoadedModule.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "VaultObject.h"
#include "common/StringUtil.h"
#include "filerefs/FileFormatLoader.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::wstring>;

class RewritePassTest : public ::testing::Test {
protected:
    RewritePassTest() { CoInitialize(nullptr); }
    ~RewritePassTest() override {
        request->vault = nullptr;
        vault.Reset();
        CoUninitialize();
    }
    void SetUp() override {
        ASSERT_TRUE(loader.LocateLibrary(LoadedModule::BesideProgram(L"GhMove.dll").c_str()));
        manager = loader.GetManager();
        ASSERT_NE(manager, nullptr);
    }

    void List(const std::wstring& oldRelative, const std::wstring& newRelative = L"") {
        auto* file = new RefFile;
        file->oldPath = folder.Path(oldRelative);
        if (!newRelative.empty()) file->newPath = folder.Path(newRelative);
        request->refFiles.Append(file);
    }
    void Rewrite() { mover.RewriteReferences(movedPaths, savedTimes, pending, manager); }
    Texts Targets() const {
        Texts targets;
        for (const auto& entry : folder.Journal(L"Formwright")) {
            if (entry[0] == L"UpdateReferencePaths") targets.push_back(entry[1]);
        }
        return targets;
    }

    TestFolder folder;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    Mover mover{nullptr, &host, request.get(), true};
    FileFormatLoader loader;
    FileFormatMgr* manager = nullptr;
    MovedPaths movedPaths;
    SavedTimes savedTimes;
    HRESULT pending = E_UNEXPECTED;
    ComPtr<IUnknown> vault;
};

TEST_F(RewritePassTest, FilesTheLocalMovesPutElsewhereAreRewrittenWhereTheyLieNow) {
    folder.WriteFile(L"New\\Top.asm", "FWTEXT 1\r\n");
    folder.WriteFile(L"Final\\Side.asm", "FWTEXT 1\r\n");
    List(L"Old\\Top.asm");                    // moved with its folder
    List(L"Old\\Side.asm", L"Other\\Side.asm");  // moved itself, then with its new folder
    movedPaths[LowerCase(folder.Path(L"Old\\Top.asm"))] = folder.Path(L"New\\Top.asm");
    movedPaths[LowerCase(folder.Path(L"Other\\Side.asm"))] = folder.Path(L"Final\\Side.asm");
    Rewrite();
    EXPECT_EQ(Targets(), (Texts{folder.Path(L"New\\Top.asm"),
                                L"\"" + folder.Path(L"Old\\Side.asm") + L"\">\"" + folder.Path(L"Final\\Side.asm") + L"\""}));
    Texts saved;
    for (const auto& [path, time] : savedTimes) saved.push_back(path);
    EXPECT_EQ(saved, (Texts{LowerCase(folder.Path(L"Final\\Side.asm")), LowerCase(folder.Path(L"New\\Top.asm"))}));
    EXPECT_EQ(pending, S_FALSE);  // Top.asm is a plain CAD document, and there is no vault to ask
}

TEST_F(RewritePassTest, PendingTakesTheVaultsAnswerForEachPlainCadDocument) {
    folder.WriteFile(L"Assy\\Known.asm", "FWTEXT 1\r\n");
    folder.WriteFile(L"Assy\\Unknown.asm", "FWTEXT 1\r\n");
    folder.WriteFile(L"Assy\\notes.txt", "notes");
    folder.Configure(L"Vault", {VaultDocument(folder.Path(L"Assy\\Known.asm"))});
    vault = CreateVaultObject();
    request->vault = vault.Get();

    List(L"Assy\\Known.asm");
    Rewrite();
    EXPECT_EQ(pending, S_OK);
    List(L"Assy\\Unknown.asm");
    List(L"Assy\\notes.txt");  // not a CAD document: pending stays
    Rewrite();
    EXPECT_EQ(pending, S_FALSE);
}

}  // namespace
