// A file whose references change must not be held by another process: a held
// one stops the operation before the vault database changes.
#include "HeldFile.h"
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "installation/standin/StandinWindows.h"
#include "interfaces/Plinth.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

class HeldFilesTest : public ::testing::Test {
protected:
    HeldFilesTest() {
        CoInitialize(nullptr);
        host.onListReferenceUpdates = [this](MoveRequest* r) {
            for (const auto& [oldPath, newPath] : referencing) {
                auto* file = new RefFile;
                file->oldPath = oldPath;
                file->newPath = newPath;
                file->refs.Append(new MoveRef{folder.Path(L"Parts\\bolt.prt"), folder.Path(L"New\\bolt.prt")});
                r->refFiles.Append(file);
            }
        };
    }
    ~HeldFilesTest() override { CoUninitialize(); }

    void Refer(const std::wstring& relative, const std::wstring& newRelative = L"") {
        referencing.emplace_back(folder.Path(relative), newRelative.empty() ? L"" : folder.Path(newRelative));
    }
    HRESULT Move(bool silent) { return module.Move(parent.get(), &host, request.get(), silent); }
    // The refFiles entries that `errors` names, by their old path below the local view.
    std::vector<std::wstring> Refused() {
        std::vector<std::wstring> paths;
        for (const MoveErrorEntry* e : request->errors) {
            EXPECT_EQ(e->code, E_QOR_FILE_SHARE_ERROR);
            EXPECT_TRUE(e->path.empty() && e->newPath.empty() && e->detail.empty());
            paths.push_back(e->refFile ? e->refFile->oldPath.substr(folder.Path(L"").size()) : L"(none)");
        }
        return paths;
    }

    TestFolder folder;
    LoadedModule module;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    std::vector<std::pair<std::wstring, std::wstring>> referencing;  // old and new path of each RefFile
};

TEST_F(HeldFilesTest, AHeldFileStopsTheOperationBeforeTheDatabaseInSilentMode) {
    MessageBoxWatcher boxes;
    for (const wchar_t* name : {L"Assy\\free.asm", L"Assy\\held.asm", L"Assy\\also held.drw"}) {
        folder.WriteFile(name, "FWTEXT 1\r\n");
        Refer(name);
    }
    const HeldFile held(folder.Path(L"Assy\\held.asm"));
    const HeldFile alsoHeld(folder.Path(L"Assy\\also held.drw"), FILE_SHARE_READ, GENERIC_READ);
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(true), E_QOR_FILE_SHARE_ERROR);
    EXPECT_EQ(host.calls, (Calls{"ResolveNames", "ListReferenceUpdates"}));
    EXPECT_EQ(Refused(), (std::vector<std::wstring>{L"Assy\\held.asm", L"Assy\\also held.drw"}));
    EXPECT_TRUE(boxes.Boxes().empty());
    // Nothing was rewritten, and the manager was unloaded.
    EXPECT_EQ(folder.JournalCalls(L"Formwright"), (std::vector<std::wstring>{L"Load", L"GetManager", L"Unload"}));
}

TEST_F(HeldFilesTest, MissingFilesAndHoldersThatLetOthersReadPass) {
    folder.WriteFile(L"Assy\\shared.asm", "FWTEXT 1\r\n");
    folder.WriteFile(L"Assy\\held.asm", "FWTEXT 1\r\n");
    Refer(L"Assy\\gone.asm");
    Refer(L"Assy\\shared.asm");
    // A file that moves itself is tested at its new place, which it has not reached yet.
    Refer(L"Assy\\held.asm", L"Moved\\held.asm");
    const HeldFile shared(folder.Path(L"Assy\\shared.asm"), FILE_SHARE_READ | FILE_SHARE_WRITE, GENERIC_WRITE);
    const HeldFile held(folder.Path(L"Assy\\held.asm"));
    EXPECT_EQ(Move(true), S_OK);
    EXPECT_TRUE(Refused().empty());
    EXPECT_EQ(host.calls, (Calls{"ResolveNames", "ListReferenceUpdates", "MoveInDatabase"}));
}

// The question names the file and why it cannot be opened; the user closes the
// other program and tries again.
TEST_F(HeldFilesTest, TryingAgainAfterTheHolderLetGoLetsTheOperationThrough) {
    folder.WriteFile(L"Assy\\held.asm", "FWTEXT 1\r\n");
    Refer(L"Assy\\held.asm");
    HeldFile held(folder.Path(L"Assy\\held.asm"));
    MessageBoxWatcher questions(
        [&](const SeenBox&, size_t) {
            held.LetGo();
            return kPlinthTryAgain;
        },
        kPlinthBoxClass);
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(false), S_OK);

    const auto seen = questions.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Move Items");
    EXPECT_EQ(seen[0].owner, parent.get());
    EXPECT_EQ(seen[0].text, L"Failed to update file reference include paths in '" + folder.Path(L"Assy\\held.asm") +
                                L"'.\nCause: An attempt was made to access a file that is exclusively opened by another "
                                L"application.\n\nDo you want to try again?");
    EXPECT_TRUE(Refused().empty());
    EXPECT_EQ(host.calls.back(), "MoveInDatabase");
}

TEST_F(HeldFilesTest, StopAskingGivesUpThisAndEveryLaterHeldFileWithoutAQuestion) {
    for (const wchar_t* name : {L"Assy\\a.asm", L"Assy\\b.asm", L"Assy\\c.drw"}) {
        folder.WriteFile(name, "FWTEXT 1\r\n");
        Refer(name);
    }
    const HeldFile a(folder.Path(L"Assy\\a.asm")), b(folder.Path(L"Assy\\b.asm")), c(folder.Path(L"Assy\\c.drw"));
    MessageBoxWatcher questions(kPlinthStopAsking, kPlinthBoxClass);
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(false), E_QOR_FILE_SHARE_ERROR);
    EXPECT_EQ(questions.Boxes().size(), 1u);
    EXPECT_EQ(Refused(), (std::vector<std::wstring>{L"Assy\\a.asm", L"Assy\\b.asm", L"Assy\\c.drw"}));
    EXPECT_EQ(reports.Boxes().size(), 1u);
    EXPECT_EQ(host.calls, (Calls{"ResolveNames", "ListReferenceUpdates"}));
}

TEST_F(HeldFilesTest, CancelGivesUpOneFileAndTheNextIsAskedAgain) {
    for (const wchar_t* name : {L"Assy\\a.asm", L"Assy\\b.asm"}) {
        folder.WriteFile(name, "FWTEXT 1\r\n");
        Refer(name);
    }
    const HeldFile a(folder.Path(L"Assy\\a.asm")), b(folder.Path(L"Assy\\b.asm"));
    MessageBoxWatcher questions(IDCANCEL, kPlinthBoxClass);
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(false), E_QOR_FILE_SHARE_ERROR);
    const auto seen = questions.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[1].text.find(folder.Path(L"Assy\\b.asm")), std::wstring::npos);
    EXPECT_EQ(Refused(), (std::vector<std::wstring>{L"Assy\\a.asm", L"Assy\\b.asm"}));
}

}  // namespace
