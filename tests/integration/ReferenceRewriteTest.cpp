// The files whose stored references change with a move: none may be held before the vault database changes;
// afterwards the file-format manager rewrites each.
#include "ComThread.h"
#include "FileTimes.h"
#include "HeldFile.h"
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "VaultObject.h"
#include "installation/standin/Journal.h"
#include "installation/standin/StandinWindows.h"
#include "interfaces/Plinth.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;
using Texts = std::vector<std::wstring>;
using Moves = std::vector<std::pair<std::wstring, std::wstring>>;  // old and new place of referenced files

std::wstring Lower(std::wstring text) {
    CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

class ReferenceRewriteTest : public ::testing::Test {
protected:
    ReferenceRewriteTest() {
        host.onListReferenceUpdates = [this](MoveRequest* r) {
            for (RefFile* file : listed) r->refFiles.Append(file);
        };
    }

    // What the host lists: a file, where it moves itself, and the referenced files that move.
    void List(const std::wstring& relative, const std::wstring& newRelative = L"", const Moves& moves = kParts) {
        auto* file = new RefFile;
        file->oldPath = Path(relative);
        if (!newRelative.empty()) file->newPath = Path(newRelative);
        for (const auto& [from, to] : moves) file->refs.Append(new MoveRef{Path(from), Path(to)});
        listed.push_back(file);
    }
    void WriteAndList(const Texts& relatives) {
        for (const std::wstring& relative : relatives) {
            folder.WriteFile(relative, oldDocument);
            List(relative);
        }
    }
    std::string Document(const Texts& paths) const {
        std::string content = "FWTEXT 1\r\n";
        for (const std::wstring& path : paths) content += "REF " + standin::ToUtf8(Path(path)) + "\r\n";
        return content;
    }
    HRESULT Move(bool silent = true) { return module.Move(parent.Get(), &host, request.get(), silent); }
    // The manager fails to rewrite these files with STG_E_LOCKVIOLATION.
    void FailRewriting(const Texts& relatives) {
        Texts lines;
        for (const std::wstring& relative : relatives) {
            lines.push_back(L"update-result:" + Lower(Path(relative)) + L"=0x80030021");
        }
        folder.Configure(L"Formwright", lines);
    }
    // The listed files in `errors` or `refErrors`, below the local view; every entry names only its file and code.
    Texts Recorded(const Lst<MoveErrorEntry*>& entries, HRESULT code) {
        Texts files;
        for (const MoveErrorEntry* e : entries) {
            EXPECT_EQ(e->code, code);
            EXPECT_TRUE(e->path.empty() && e->newPath.empty() && e->detail.empty());
            files.push_back(e->refFile ? Relative(e->refFile->oldPath) : L"(none)");
        }
        return files;
    }
    // The user does `first` and tries again, gives the next file up, then stops asking. Answers the files named.
    Texts AskingMove(HRESULT expected, const std::function<void()>& first) {
        MessageBoxWatcher questions(
            [&](const SeenBox&, size_t index) {
                if (index == 0) first();
                return index == 0 ? kPlinthTryAgain : index == 1 ? IDCANCEL : kPlinthStopAsking;
            },
            kPlinthBoxClass);
        MessageBoxWatcher reports(IDOK, kReportDialogClass);
        request.AddFile(7, 2, 3);
        EXPECT_EQ(Move(false), expected);
        EXPECT_EQ(reports.Boxes().size(), 1u);
        Texts named;
        for (const SeenBox& box : questions.Boxes()) {
            const size_t start = box.text.find(L'\'') + 1;  // the file is named in quotes
            named.push_back(Relative(box.text.substr(start, box.text.find(L'\'', start) - start)));
        }
        return named;
    }
    std::wstring Path(const std::wstring& relative) const { return folder.Path(relative); }
    std::wstring Relative(const std::wstring& path) const { return path.substr(Path(L"").size()); }

    static inline const Moves kParts = {{L"Parts\\bolt.prt", L"Library\\bolt.prt"},
                                        {L"Parts\\nut.prt", L"Library\\nut.prt"}};
    TestFolder folder;
    const std::string oldDocument = Document({L"Parts\\bolt.prt", L"Parts\\nut.prt"});
    const std::string newDocument = Document({L"Library\\bolt.prt", L"Library\\nut.prt"});
    LoadedModule module;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    std::vector<RefFile*> listed;
    ComThread com;
};

// Every document that referenced something inside a moved folder, moved or not, stores the new places.
TEST_F(ReferenceRewriteTest, MovingAnAssemblysFolderLeavesEveryReferenceAtTheNewPlace) {
    host.folderPaths = {{3, L"\\Projects\\Gearbox\\"}, {4, L"\\Archive\\"}};
    folder.WriteFile(L"Projects\\Gearbox\\gearbox.asm",
                     Document({L"Projects\\Gearbox\\shaft.prt", L"Projects\\Gearbox\\bolt.prt"}));
    folder.WriteFile(L"Projects\\Gearbox\\shaft.prt", Document({L"Projects\\Gearbox\\bolt.prt"}));
    folder.WriteFile(L"Drawings\\gearbox.drw", Document({L"Projects\\Gearbox\\gearbox.asm"}));
    folder.WriteFile(L"Docs\\notes.txt", "see the shaft");
    folder.MakeFolder(L"Archive");
    const auto moved = [](const Texts& names) {
        Moves moves;
        for (const std::wstring& name : names) {
            moves.emplace_back(L"Projects\\Gearbox\\" + name, L"Archive\\Gearbox\\" + name);
        }
        return moves;
    };
    // The assembly is listed with its new place, the shaft without; the drawing stays.
    List(L"Projects\\Gearbox\\gearbox.asm", L"Archive\\Gearbox\\gearbox.asm", moved({L"shaft.prt", L"bolt.prt"}));
    List(L"Projects\\Gearbox\\shaft.prt", L"", moved({L"bolt.prt"}));
    List(L"Drawings\\gearbox.drw", L"", moved({L"gearbox.asm"}));
    List(L"Drawings\\gone.drw");  // no longer exists: skipped
    List(L"Docs\\notes.txt");     // no plug-in handles it: nothing recorded
    request.AddFolder(3, 4);
    ASSERT_EQ(Move(), S_OK);

    EXPECT_EQ(request->errors.count, 0);
    EXPECT_EQ(request->refErrors.count, 0);
    EXPECT_EQ(folder.ReadFile(L"Archive\\Gearbox\\gearbox.asm"),
              Document({L"Archive\\Gearbox\\shaft.prt", L"Archive\\Gearbox\\bolt.prt"}));
    EXPECT_EQ(folder.ReadFile(L"Archive\\Gearbox\\shaft.prt"), Document({L"Archive\\Gearbox\\bolt.prt"}));
    EXPECT_EQ(folder.ReadFile(L"Drawings\\gearbox.drw"), Document({L"Archive\\Gearbox\\gearbox.asm"}));
    // A file that moved itself is named "old">"new in lower case"; one the local moves put elsewhere by where it
    // lies now; any other by its own path in lower case.
    EXPECT_EQ(folder.JournalField(L"Formwright", L"UpdateReferencePaths"),
              (Texts{L"\"" + Path(L"Projects\\Gearbox\\gearbox.asm") + L"\">\"" +
                         Lower(Path(L"Archive\\Gearbox\\gearbox.asm")) + L"\"",
                     Path(L"Archive\\Gearbox\\shaft.prt"), Lower(Path(L"Drawings\\gearbox.drw")),
                     Lower(Path(L"Docs\\notes.txt"))}));
}

// The time after a rewrite is rounded down to even seconds.
TEST_F(ReferenceRewriteTest, FilesKeepTheirAttributesAndEndTwoSecondsAfterTheirEarlierTime) {
    const DWORD readOnly = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;  // Wine shows every file as archive
    const Texts files = {L"Assy\\Failing.asm", L"Assy\\Top.asm"};
    WriteAndList({files[0]});
    folder.WriteFile(files[1], oldDocument);
    // Listed twice: both rewrites happen, and the time before the first one counts.
    List(L"Assy\\Top.asm", L"", {kParts[0]});
    List(L"Assy\\TOP.asm", L"", {kParts[1]});
    for (const std::wstring& name : files) ASSERT_TRUE(SetFileAttributesW(Path(name).c_str(), readOnly));
    ASSERT_TRUE(SetUtcWriteTime(Path(files[0]), {2021, 6, 0, 1, 8, 0, 1, 0}));
    ASSERT_TRUE(SetUtcWriteTime(Path(files[1]), {2021, 6, 0, 1, 10, 15, 33, 750}));
    FailRewriting({files[0]});
    EXPECT_EQ(Move(), S_OK);

    // The failure is recorded once, and the pass goes on.
    EXPECT_EQ(Recorded(request->refErrors, STG_E_LOCKVIOLATION), Texts{files[0]});
    EXPECT_EQ(folder.ReadFile(files[1]), newDocument);
    for (const std::wstring& name : files) EXPECT_EQ(GetFileAttributesW(Path(name).c_str()), readOnly) << name;
    EXPECT_EQ(UtcWriteTime(Path(files[0])), "2021-06-01 08:00:02.000");
    EXPECT_EQ(UtcWriteTime(Path(files[1])), "2021-06-01 10:15:34.000");
}

// Missing files pass, and so do holders that let others read; a file that moves itself is tested at its new
// place, which it has not reached yet.
TEST_F(ReferenceRewriteTest, AHeldFileStopsTheOperationBeforeTheDatabaseInSilentMode) {
    MessageBoxWatcher boxes;
    WriteAndList({L"Assy\\held.asm", L"Assy\\shared.asm", L"Assy\\also held.drw"});
    List(L"Assy\\gone.asm");
    folder.WriteFile(L"Assy\\moving.asm", oldDocument);
    List(L"Assy\\moving.asm", L"Moved\\moving.asm");
    const HeldFile held(Path(L"Assy\\held.asm")), moving(Path(L"Assy\\moving.asm"));
    const HeldFile alsoHeld(Path(L"Assy\\also held.drw"), FILE_SHARE_READ, GENERIC_READ);
    const HeldFile shared(Path(L"Assy\\shared.asm"), FILE_SHARE_READ | FILE_SHARE_WRITE, GENERIC_WRITE);
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(true), E_QOR_FILE_SHARE_ERROR);
    EXPECT_EQ(host.calls, (Calls{"ResolveNames", "ListReferenceUpdates"}));
    EXPECT_EQ(Recorded(request->errors, E_QOR_FILE_SHARE_ERROR), (Texts{L"Assy\\held.asm", L"Assy\\also held.drw"}));
    EXPECT_TRUE(boxes.Boxes().empty());
    // Nothing was rewritten, and the manager was unloaded.
    EXPECT_EQ(folder.JournalCalls(L"Formwright"), (Texts{L"Load", L"GetManager", L"Unload"}));
}

// Before the database: the user lets a go and tries again, gives b up, and stops asking at c.
TEST_F(ReferenceRewriteTest, TheQuestionAboutAHeldFileTriesAgainGivesUpOrStopsAsking) {
    WriteAndList({L"Assy\\a.asm", L"Assy\\b.asm", L"Assy\\c.asm", L"Assy\\d.drw"});
    HeldFile a(Path(L"Assy\\a.asm"));
    const HeldFile b(Path(L"Assy\\b.asm")), c(Path(L"Assy\\c.asm")), d(Path(L"Assy\\d.drw"));
    EXPECT_EQ(AskingMove(E_QOR_FILE_SHARE_ERROR, [&] { a.LetGo(); }),
              (Texts{L"Assy\\a.asm", L"Assy\\b.asm", L"Assy\\c.asm"}));
    EXPECT_EQ(Recorded(request->errors, E_QOR_FILE_SHARE_ERROR),
              (Texts{L"Assy\\b.asm", L"Assy\\c.asm", L"Assy\\d.drw"}));
    EXPECT_EQ(host.calls, (Calls{"ResolveNames", "ListReferenceUpdates"}));
}

// After the database: A is tried again once it can be rewritten, B given up, C stops the asking; the move succeeds.
TEST_F(ReferenceRewriteTest, TheQuestionAboutAFailedRewriteTriesAgainGivesUpOrStopsAsking) {
    const Texts files = {L"Assy\\A.asm", L"Assy\\B.asm", L"Assy\\C.asm", L"Assy\\D.asm"};
    WriteAndList(files);
    FailRewriting(files);
    EXPECT_EQ(AskingMove(S_OK, [&] { FailRewriting(Texts(files.begin() + 1, files.end())); }),
              (Texts{L"assy\\a.asm", L"assy\\b.asm", L"assy\\c.asm"}));  // named where they are, in lower case
    EXPECT_EQ(folder.ReadFile(files[0]), newDocument);
    EXPECT_EQ(Recorded(request->refErrors, STG_E_LOCKVIOLATION), Texts(files.begin() + 1, files.end()));
}

// Only a plain CAD document's references go to the vault; its failure leaves ghMove once the run is torn down.
TEST_F(ReferenceRewriteTest, AFailureTheVaultRaisesForAPlainCadDocumentLeavesGhMove) {
    WriteAndList({L"Docs\\notes.txt"});
    folder.WriteFile(L"Moved\\Side.asm", oldDocument);
    List(L"Assy\\Side.asm", L"Moved\\Side.asm");  // named in the pair form
    WriteAndList({L"Assy\\Top.asm"});
    folder.Configure(L"Vault", {VaultDocument(Path(L"Assy\\Top.asm"), {Path(L"Library\\bolt.prt")}),
                                VaultDocument(Path(L"Library\\bolt.prt")), L"fail:HandleReferencedFile=0x80040111"});
    ComPtr<IUnknown> vault = CreateVaultObject();
    request->vault = vault.Get();
    std::pair<HRESULT, std::wstring> raised;  // the code and the vault's error information
    try {
        Move();
    } catch (const ComError& error) {
        raised = {error.Code(), error.Description()};
    }
    request->vault = nullptr;
    vault.Reset();
    EXPECT_EQ(raised, std::make_pair(static_cast<HRESULT>(0x80040111),
                                     std::wstring(L"HandleReferencedFile failed in the vault")));
    EXPECT_EQ(host.calls.back(), "MoveInDatabase");
    EXPECT_EQ(folder.JournalCalls(L"Formwright").back(), L"Unload");
    EXPECT_EQ(folder.JournalCalls(L"Vault").back(), L"Destroy");
    EXPECT_EQ(folder.ReadFile(L"Assy\\Top.asm"), oldDocument);  // raised before the manager was asked
    const Texts asked = folder.JournalField(L"Vault", L"GetObjectsByPath");
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked[0], Lower(Path(L"Assy\\Top.asm")));
}

}  // namespace
