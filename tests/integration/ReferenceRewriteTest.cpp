// The files whose stored references change with a move: none may be held by
// another process before the vault database changes; afterwards the
// file-format manager rewrites each, which keeps its attributes and ends two
// seconds after its earlier time, rounded down to even seconds.
#include "HeldFile.h"
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "VaultObject.h"
#include "common/Handles.h"
#include "installation/standin/Journal.h"
#include "installation/standin/StandinWindows.h"
#include "interfaces/Plinth.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using Calls = std::vector<std::string>;
using Texts = std::vector<std::wstring>;
using Moves = std::vector<std::pair<std::wstring, std::wstring>>;  // old and new place of referenced files

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = towlower(c);
    return text;
}

// The write time as a local time on 1 June 2021.
void SetLocalWriteTime(const std::wstring& path, WORD hour, WORD minute, WORD second, WORD milliseconds) {
    const SYSTEMTIME local = {2021, 6, 0, 1, hour, minute, second, milliseconds};
    SYSTEMTIME utc = {};
    FILETIME time = {};
    ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) && SystemTimeToFileTime(&utc, &time));
    const UniqueFileHandle file(
        CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file && SetFileTime(file.get(), nullptr, nullptr, &time));
}

std::string LocalWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    SYSTEMTIME utc = {}, t = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToSystemTime(&data.ftLastWriteTime, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &t)) {
        return "none";
    }
    char text[48];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond, t.wMilliseconds);
    return text;
}

class ReferenceRewriteTest : public ::testing::Test {
protected:
    ReferenceRewriteTest() {
        CoInitialize(nullptr);
        host.onListReferenceUpdates = [this](MoveRequest* r) {
            for (RefFile* file : listed) r->refFiles.Append(file);
        };
    }
    ~ReferenceRewriteTest() override {
        request->vault = nullptr;
        vault.Reset();
        CoUninitialize();
    }

    // What the host lists: a file, where it moves itself, and the referenced files that move.
    void List(const std::wstring& relative, const std::wstring& newRelative = L"", const Moves& moves = kParts) {
        auto* file = new RefFile;
        file->oldPath = folder.Path(relative);
        if (!newRelative.empty()) file->newPath = folder.Path(newRelative);
        for (const auto& [from, to] : moves) file->refs.Append(new MoveRef{folder.Path(from), folder.Path(to)});
        listed.push_back(file);
    }
    void WriteAndList(const std::wstring& relative) {
        folder.WriteFile(relative, oldDocument);
        List(relative);
    }
    std::string Document(const Texts& paths) const {
        std::string content = "FWTEXT 1\r\n";
        for (const std::wstring& path : paths) content += "REF " + standin::ToUtf8(folder.Path(path)) + "\r\n";
        return content;
    }
    HRESULT Move(bool silent = true) { return module.Move(parent.get(), &host, request.get(), silent); }
    // The manager fails to rewrite these files with STG_E_LOCKVIOLATION.
    void FailRewriting(const Texts& relatives) {
        Texts lines;
        for (const std::wstring& relative : relatives) {
            lines.push_back(L"update-result:" + Lower(folder.Path(relative)) + L"=0x80030021");
        }
        folder.Configure(L"Formwright", lines);
    }
    // The listed files in `errors` or `refErrors`, below the local view; every entry names only its file and code.
    Texts Recorded(const Lst<MoveErrorEntry*>& entries, HRESULT code) {
        Texts files;
        for (const MoveErrorEntry* e : entries) {
            EXPECT_EQ(e->code, code);
            EXPECT_TRUE(e->path.empty() && e->newPath.empty() && e->detail.empty());
            files.push_back(e->refFile ? e->refFile->oldPath.substr(folder.Path(L"").size()) : L"(none)");
        }
        return files;
    }
    std::wstring Path(const std::wstring& relative) const { return folder.Path(relative); }

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
    ComPtr<IUnknown> vault;
};

// An assembly's folder moves to another vault folder; every document that
// referenced something inside it, moved or not, stores the new places.
TEST_F(ReferenceRewriteTest, MovingAnAssemblysFolderLeavesEveryReferenceAtTheNewPlace) {
    constexpr int32_t kGearbox = 3, kArchive = 4;
    host.folderPaths = {{kGearbox, L"\\Projects\\Gearbox\\"}, {kArchive, L"\\Archive\\"}};
    folder.WriteFile(L"Projects\\Gearbox\\gearbox.asm",
                     Document({L"Projects\\Gearbox\\shaft.prt", L"Projects\\Gearbox\\Parts\\bolt.prt"}));
    folder.WriteFile(L"Projects\\Gearbox\\shaft.prt", Document({L"Projects\\Gearbox\\Parts\\bolt.prt"}));
    folder.WriteFile(L"Projects\\Gearbox\\Parts\\bolt.prt", Document({}));
    folder.WriteFile(L"Drawings\\gearbox.drw",
                     Document({L"Projects\\Gearbox\\gearbox.asm", L"Projects\\Gearbox\\shaft.prt"}));
    folder.WriteFile(L"Docs\\notes.txt", "see " + standin::ToUtf8(Path(L"Projects\\Gearbox\\shaft.prt")));
    folder.MakeFolder(L"Archive");
    const auto moved = [](const Texts& names) {
        Moves moves;
        for (const std::wstring& name : names) moves.emplace_back(L"Projects\\" + name, L"Archive\\" + name);
        return moves;
    };
    // The assembly is listed with its new place, the shaft without; the drawing stays.
    List(L"Projects\\Gearbox\\gearbox.asm", L"Archive\\Gearbox\\gearbox.asm",
         moved({L"Gearbox\\shaft.prt", L"Gearbox\\Parts\\bolt.prt"}));
    List(L"Projects\\Gearbox\\shaft.prt", L"", moved({L"Gearbox\\Parts\\bolt.prt"}));
    List(L"Drawings\\gearbox.drw", L"", moved({L"Gearbox\\gearbox.asm", L"Gearbox\\shaft.prt"}));
    List(L"Drawings\\gone.drw");  // no longer exists: skipped
    List(L"Docs\\notes.txt", L"", moved({L"Gearbox\\shaft.prt"}));  // no plug-in handles it: nothing recorded
    request.AddFolder(kGearbox, kArchive);
    ASSERT_EQ(Move(), S_OK);

    EXPECT_EQ(request->errors.count, 0);
    EXPECT_EQ(request->refErrors.count, 0);
    EXPECT_EQ(folder.Tree(), (Texts{L"Archive\\", L"Archive\\Gearbox\\", L"Archive\\Gearbox\\Parts\\",
                                    L"Archive\\Gearbox\\Parts\\bolt.prt", L"Archive\\Gearbox\\gearbox.asm",
                                    L"Archive\\Gearbox\\shaft.prt", L"Docs\\", L"Docs\\notes.txt", L"Drawings\\",
                                    L"Drawings\\gearbox.drw", L"Projects\\"}));
    EXPECT_EQ(folder.ReadFile(L"Archive\\Gearbox\\gearbox.asm"),
              Document({L"Archive\\Gearbox\\shaft.prt", L"Archive\\Gearbox\\Parts\\bolt.prt"}));
    EXPECT_EQ(folder.ReadFile(L"Archive\\Gearbox\\shaft.prt"), Document({L"Archive\\Gearbox\\Parts\\bolt.prt"}));
    EXPECT_EQ(folder.ReadFile(L"Drawings\\gearbox.drw"),
              Document({L"Archive\\Gearbox\\gearbox.asm", L"Archive\\Gearbox\\shaft.prt"}));
    // A file that moved itself is named as "old">"new in lower case"; one the local moves
    // put elsewhere by where it lies now; any other by its own path in lower case.
    Texts targets;
    for (const auto& entry : folder.Journal(L"Formwright")) {
        if (entry[0] == L"UpdateReferencePaths") targets.push_back(entry[1] + L"|" + entry[3]);
    }
    EXPECT_EQ(targets, (Texts{L"\"" + Path(L"Projects\\Gearbox\\gearbox.asm") + L"\">\"" +
                                  Lower(Path(L"Archive\\Gearbox\\gearbox.asm")) + L"\"|0,0,0,0",
                              Path(L"Archive\\Gearbox\\shaft.prt") + L"|0,0,0,0",
                              Lower(Path(L"Drawings\\gearbox.drw")) + L"|0,0,0,0",
                              Lower(Path(L"Docs\\notes.txt")) + L"|0,0,0,0"}));
}

TEST_F(ReferenceRewriteTest, FilesKeepTheirAttributesAndEndTwoSecondsAfterTheirEarlierTime) {
    const DWORD readOnly = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;  // Wine shows every file as archive
    WriteAndList(L"Assy\\Failing.asm");
    folder.WriteFile(L"Assy\\Top.asm", oldDocument);
    // Listed twice: both rewrites happen, and the time before the first one counts.
    List(L"Assy\\Top.asm", L"", {kParts[0]});
    List(L"Assy\\TOP.asm", L"", {kParts[1]});
    for (const wchar_t* name : {L"Assy\\Failing.asm", L"Assy\\Top.asm"}) {
        ASSERT_TRUE(SetFileAttributesW(Path(name).c_str(), readOnly));
    }
    SetLocalWriteTime(Path(L"Assy\\Failing.asm"), 8, 0, 1, 0);
    SetLocalWriteTime(Path(L"Assy\\Top.asm"), 10, 15, 33, 750);
    FailRewriting({L"Assy\\Failing.asm"});
    EXPECT_EQ(Move(), S_OK);

    // The failure is recorded once, and the pass goes on.
    EXPECT_EQ(Recorded(request->refErrors, STG_E_LOCKVIOLATION), Texts{L"Assy\\Failing.asm"});
    EXPECT_EQ(folder.ReadFile(L"Assy\\Top.asm"), newDocument);
    for (const wchar_t* name : {L"Assy\\Failing.asm", L"Assy\\Top.asm"}) {
        EXPECT_EQ(GetFileAttributesW(Path(name).c_str()), readOnly) << name;
    }
    EXPECT_EQ(LocalWriteTime(Path(L"Assy\\Failing.asm")), "2021-06-01 08:00:02.000");
    EXPECT_EQ(LocalWriteTime(Path(L"Assy\\Top.asm")), "2021-06-01 10:15:34.000");
}

// Missing files pass, and so do holders that let others read; a file that
// moves itself is tested at its new place, which it has not reached yet.
TEST_F(ReferenceRewriteTest, AHeldFileStopsTheOperationBeforeTheDatabaseInSilentMode) {
    MessageBoxWatcher boxes;
    for (const wchar_t* name : {L"Assy\\free.asm", L"Assy\\held.asm", L"Assy\\shared.asm", L"Assy\\also held.drw"}) {
        WriteAndList(name);
    }
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

// Before the database: the user closes the program holding a and tries
// again, gives b up, and stops asking at c.
TEST_F(ReferenceRewriteTest, TheQuestionAboutAHeldFileTriesAgainGivesUpOrStopsAsking) {
    for (const wchar_t* name : {L"Assy\\a.asm", L"Assy\\b.asm", L"Assy\\c.asm", L"Assy\\d.drw"}) WriteAndList(name);
    HeldFile a(Path(L"Assy\\a.asm"));
    const HeldFile b(Path(L"Assy\\b.asm")), c(Path(L"Assy\\c.asm")), d(Path(L"Assy\\d.drw"));
    MessageBoxWatcher questions(
        [&](const SeenBox&, size_t index) {
            if (index > 0) return index == 1 ? IDCANCEL : kPlinthStopAsking;
            a.LetGo();
            return kPlinthTryAgain;
        },
        kPlinthBoxClass);
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(false), E_QOR_FILE_SHARE_ERROR);

    const auto seen = questions.Boxes();
    ASSERT_EQ(seen.size(), 3u);  // none after "stop asking"
    EXPECT_EQ(seen[0].caption, L"Move Items");
    EXPECT_EQ(seen[0].owner, parent.get());
    EXPECT_EQ(seen[0].text, L"Failed to update file reference include paths in '" + Path(L"Assy\\a.asm") +
                                L"'.\nCause: An attempt was made to access a file that is exclusively opened by another "
                                L"application.\n\nDo you want to try again?");
    EXPECT_NE(seen[2].text.find(Path(L"Assy\\c.asm")), std::wstring::npos);  // b was given up, not asked again
    EXPECT_EQ(Recorded(request->errors, E_QOR_FILE_SHARE_ERROR),
              (Texts{L"Assy\\b.asm", L"Assy\\c.asm", L"Assy\\d.drw"}));
    EXPECT_EQ(reports.Boxes().size(), 1u);
    EXPECT_EQ(host.calls, (Calls{"ResolveNames", "ListReferenceUpdates"}));
}

// After the database: the user tries A again once the manager can rewrite it,
// gives B up, and stops asking at C.
TEST_F(ReferenceRewriteTest, TheQuestionAboutAFailedRewriteTriesAgainGivesUpOrStopsAsking) {
    const Texts files = {L"Assy\\A.asm", L"Assy\\B.asm", L"Assy\\C.asm", L"Assy\\D.asm"};
    for (const std::wstring& name : files) WriteAndList(name);
    FailRewriting(files);
    MessageBoxWatcher questions(
        [&](const SeenBox&, size_t index) {
            if (index > 0) return index == 1 ? IDCANCEL : kPlinthStopAsking;
            FailRewriting(Texts(files.begin() + 1, files.end()));
            return kPlinthTryAgain;
        },
        kPlinthBoxClass);
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(false), S_OK);  // a move reports its local failures and succeeds

    const auto seen = questions.Boxes();
    ASSERT_EQ(seen.size(), 3u);  // none after "stop asking"
    const std::wstring lead =
        L"Failed to update file reference include paths in '" + Lower(Path(L"Assy\\A.asm")) + L"'.\nCause: ";
    EXPECT_EQ(seen[0].text.substr(0, lead.size()), lead);
    EXPECT_NE(seen[2].text.find(Lower(Path(L"Assy\\C.asm"))), std::wstring::npos);  // B was given up, not asked again
    EXPECT_EQ(folder.ReadFile(L"Assy\\A.asm"), newDocument);
    EXPECT_EQ(Recorded(request->refErrors, STG_E_LOCKVIOLATION),
              (Texts{L"Assy\\B.asm", L"Assy\\C.asm", L"Assy\\D.asm"}));
    EXPECT_EQ(reports.Boxes().size(), 1u);
}

// Only a plain CAD document's references go to the vault the host lent; a
// failure the vault raises leaves ghMove once the run was torn down.
TEST_F(ReferenceRewriteTest, AFailureTheVaultRaisesForAPlainCadDocumentLeavesGhMove) {
    WriteAndList(L"Docs\\notes.txt");
    folder.WriteFile(L"Moved\\Side.asm", oldDocument);
    List(L"Assy\\Side.asm", L"Moved\\Side.asm");  // named in the pair form
    WriteAndList(L"Assy\\Top.asm");
    folder.Configure(L"Vault", {VaultDocument(Path(L"Assy\\Top.asm"), {Path(L"Library\\bolt.prt")}),
                                VaultDocument(Path(L"Library\\bolt.prt")), L"fail:HandleReferencedFile=0x80040111"});
    vault = CreateVaultObject();
    request->vault = vault.Get();
    HRESULT raised = S_OK;
    try {
        Move();
    } catch (const ComError& error) {
        raised = error.Code();
    }
    EXPECT_EQ(raised, static_cast<HRESULT>(0x80040111));
    EXPECT_EQ(host.calls.back(), "MoveInDatabase");
    EXPECT_EQ(folder.JournalCalls(L"Formwright").back(), L"Unload");
    EXPECT_EQ(folder.ReadFile(L"Assy\\Top.asm"), oldDocument);  // raised before the manager was asked
    Texts asked;
    for (const auto& entry : folder.Journal(L"Vault")) {
        if (entry[0] == L"GetObjectsByPath") asked.push_back(entry[1]);
    }
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked[0], Lower(Path(L"Assy\\Top.asm")));
    request->vault = nullptr;
    vault.Reset();
    EXPECT_EQ(folder.JournalCalls(L"Vault").back(), L"Destroy");
}

}  // namespace
