// After the database move, the file-format manager rewrites the references
// stored in every file the host listed; each file keeps its attributes and
// ends two seconds after its earlier time, rounded down to even seconds.
#include "CompoundDocument.h"
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

using Texts = std::vector<std::wstring>;

std::string Utf8(const std::wstring& text) { return standin::ToUtf8(text); }

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = towlower(c);
    return text;
}

SYSTEMTIME LocalTime(WORD hour, WORD minute, WORD second, WORD milliseconds) {
    SYSTEMTIME time = {};
    time.wYear = 2021;
    time.wMonth = 6;
    time.wDay = 1;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = milliseconds;
    return time;
}

void SetLocalWriteTime(const std::wstring& path, const SYSTEMTIME& local) {
    SYSTEMTIME utc = {};
    FILETIME time = {};
    ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) && SystemTimeToFileTime(&utc, &time));
    const UniqueFileHandle file(
        CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file && SetFileTime(file.get(), nullptr, nullptr, &time));
}

std::string LocalWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    SYSTEMTIME utc = {}, local = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToSystemTime(&data.ftLastWriteTime, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        return "none";
    }
    char text[48];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", local.wYear, local.wMonth, local.wDay,
             local.wHour, local.wMinute, local.wSecond, local.wMilliseconds);
    return text;
}

class ReferenceRewriteTest : public ::testing::Test {
protected:
    struct Listed {
        std::wstring oldPath;
        std::wstring newPath;
        std::vector<std::wstring> parts;  // names of parts that move from Parts to Library\Parts
    };

    ReferenceRewriteTest() {
        CoInitialize(nullptr);
        host.onListReferenceUpdates = [this](MoveRequest* r) {
            for (const Listed& listed : listing) {
                auto* file = new RefFile;
                file->oldPath = listed.oldPath;
                file->newPath = listed.newPath;
                for (const std::wstring& part : listed.parts) file->refs.Append(new MoveRef{OldPart(part), NewPart(part)});
                r->refFiles.Append(file);
            }
        };
    }
    ~ReferenceRewriteTest() override {
        request->vault = nullptr;
        vault.Reset();
        CoUninitialize();
    }

    std::wstring OldPart(const std::wstring& name) const { return folder.Path(L"Parts\\" + name); }
    std::wstring NewPart(const std::wstring& name) const { return folder.Path(L"Library\\Parts\\" + name); }
    void List(const std::wstring& relative, const std::wstring& newRelative = L"",
              std::vector<std::wstring> parts = {L"bolt.prt", L"nut.prt"}) {
        listing.push_back({folder.Path(relative), newRelative.empty() ? L"" : folder.Path(newRelative), parts});
    }
    HRESULT Move(bool silent = true) { return module.Move(parent.get(), &host, request.get(), silent); }
    // Makes the manager fail to rewrite the file, or (with an empty code) succeed again.
    void FailRewriting(const std::wstring& relative, const std::wstring& code) {
        folder.Configure(L"Formwright",
                         {code.empty() ? L"" : L"update-result:" + Lower(folder.Path(relative)) + L"=" + code});
    }

    // What the manager was asked: target and pairs of each rewrite.
    std::vector<Texts> Rewrites() const {
        std::vector<Texts> rewrites;
        for (const auto& entry : folder.Journal(L"Formwright")) {
            if (entry[0] == L"UpdateReferencePaths") rewrites.push_back(entry);
        }
        return rewrites;
    }

    // An assembly document that references two moved parts in every way the
    // format allows, and lines that must stay as they are.
    std::string Assembly(const std::wstring& bolt, const std::wstring& nut) const {
        return "FWTEXT 1\r\ntitle Top assembly \xC3\xA4\r\nREF " + Utf8(bolt) + "\r\nREF " + Utf8(nut) + "\nREF " +
               Utf8(folder.Path(L"Other\\washer.prt")) + "\r\nNOTE " + Utf8(OldPart(L"bolt.prt")) + "\r\n\r\nREF " +
               Utf8(bolt);
    }
    std::string OldAssembly() const {
        std::wstring nut = OldPart(L"nut.prt");
        for (wchar_t& c : nut) c = towupper(c);  // stored in another case
        return Assembly(OldPart(L"bolt.prt"), nut);
    }
    std::string NewAssembly() const { return Assembly(NewPart(L"bolt.prt"), NewPart(L"nut.prt")); }

    TestFolder folder;
    LoadedModule module;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    std::vector<Listed> listing;
    ComPtr<IUnknown> vault;
};

TEST_F(ReferenceRewriteTest, ADocumentThatStaysIsRewrittenUnderItsOwnPathInLowerCase) {
    folder.WriteFile(L"Assy\\Top.asm", OldAssembly());
    List(L"Assy\\Top.asm");
    EXPECT_EQ(Move(), S_OK);
    EXPECT_EQ(folder.ReadFile(L"Assy\\Top.asm"), NewAssembly());
    const auto rewrites = Rewrites();
    ASSERT_EQ(rewrites.size(), 1u);
    EXPECT_EQ(rewrites[0][1], Lower(folder.Path(L"Assy\\Top.asm")));
    EXPECT_EQ(rewrites[0][2], OldPart(L"bolt.prt") + L">" + NewPart(L"bolt.prt") + L";" + OldPart(L"nut.prt") + L">" +
                                  NewPart(L"nut.prt"));
    EXPECT_EQ(rewrites[0][3], L"0,0,0,0");
    EXPECT_EQ(request->refErrors.count, 0);
}

TEST_F(ReferenceRewriteTest, ADocumentThatMovedItselfIsNamedByItsOldAndNewPath) {
    folder.WriteFile(L"Moved\\Top.asm", OldAssembly());
    List(L"Assy\\Top.asm", L"Moved\\Top.asm");
    EXPECT_EQ(Move(), S_OK);
    EXPECT_EQ(folder.ReadFile(L"Moved\\Top.asm"), NewAssembly());
    const auto rewrites = Rewrites();
    ASSERT_EQ(rewrites.size(), 1u);
    EXPECT_EQ(rewrites[0][1], L"\"" + folder.Path(L"Assy\\Top.asm") + L"\">\"" + Lower(folder.Path(L"Moved\\Top.asm")) +
                                  L"\"");
}

TEST_F(ReferenceRewriteTest, ACompoundDocumentKeepsEveryOtherStream) {
    const Streams others = {{L"Geometry", std::string("\x00\x01\xFF solid\r\n", 10)}, {L"Empty", ""}};
    folder.MakeFolder(L"Assy");
    WriteCompoundDocument(folder.Path(L"Assy\\Sub.asm"), {OldPart(L"nut.prt"), folder.Path(L"Other\\washer.prt")},
                          others);
    List(L"Assy\\Sub.asm");
    EXPECT_EQ(Move(), S_OK);
    EXPECT_EQ(CompoundReferences(folder.Path(L"Assy\\Sub.asm")), (Texts{NewPart(L"nut.prt"), folder.Path(L"Other\\washer.prt")}));
    Streams after = ReadCompoundStreams(folder.Path(L"Assy\\Sub.asm"));
    after.erase(L"References");
    EXPECT_EQ(after, others);
}

TEST_F(ReferenceRewriteTest, AFormatNoPlugInHandlesRecordsNothing) {
    folder.WriteFile(L"Docs\\notes.txt", Utf8(OldPart(L"bolt.prt")));
    folder.WriteFile(L"Docs\\foreign.prt", "PK\x03\x04");
    List(L"Docs\\notes.txt");
    List(L"Docs\\foreign.prt");
    EXPECT_EQ(Move(), S_OK);
    EXPECT_EQ(Rewrites().size(), 2u);
    EXPECT_EQ(request->refErrors.count, 0);
    EXPECT_EQ(folder.ReadFile(L"Docs\\notes.txt"), Utf8(OldPart(L"bolt.prt")));
}

TEST_F(ReferenceRewriteTest, AFailedRewriteIsRecordedAndThePassGoesOn) {
    folder.WriteFile(L"Assy\\Failing.asm", OldAssembly());
    folder.WriteFile(L"Assy\\Top.asm", OldAssembly());
    folder.Configure(L"Formwright", {L"update-result:" + Lower(folder.Path(L"Assy\\Failing.asm")) + L"=0x80030021"});
    const DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesW(folder.Path(L"Assy\\Failing.asm").c_str(), attributes));
    SetLocalWriteTime(folder.Path(L"Assy\\Failing.asm"), LocalTime(10, 15, 33, 750));
    List(L"Assy\\Failing.asm");
    List(L"Assy\\Top.asm");
    EXPECT_EQ(Move(), S_OK);

    ASSERT_EQ(request->refErrors.count, 1);
    const MoveErrorEntry* failed = request->refErrors.head->value;
    ASSERT_NE(failed->refFile, nullptr);
    EXPECT_EQ(failed->refFile, request->refFiles.head->value);
    EXPECT_EQ(failed->code, static_cast<HRESULT>(0x80030021));
    EXPECT_TRUE(failed->path.empty() && failed->newPath.empty() && failed->detail.empty());
    // The failed file keeps its attributes and still gets its time; the next one is rewritten.
    EXPECT_EQ(GetFileAttributesW(folder.Path(L"Assy\\Failing.asm").c_str()), attributes);
    EXPECT_EQ(LocalWriteTime(folder.Path(L"Assy\\Failing.asm")), "2021-06-01 10:15:34.000");
    EXPECT_EQ(folder.ReadFile(L"Assy\\Top.asm"), NewAssembly());
}

TEST_F(ReferenceRewriteTest, ARewrittenReadOnlyDocumentKeepsItsAttributeAndEndsTwoSecondsOnRoundedDown) {
    folder.WriteFile(L"Assy\\Top.asm", OldAssembly());
    const DWORD readOnly = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;  // Wine shows every file as archive
    ASSERT_TRUE(SetFileAttributesW(folder.Path(L"Assy\\Top.asm").c_str(), readOnly));
    SetLocalWriteTime(folder.Path(L"Assy\\Top.asm"), LocalTime(10, 15, 33, 750));
    folder.WriteFile(L"Assy\\Even.asm", OldAssembly());
    SetLocalWriteTime(folder.Path(L"Assy\\Even.asm"), LocalTime(23, 59, 58, 999));
    List(L"Assy\\Top.asm");
    List(L"Assy\\Even.asm");
    EXPECT_EQ(Move(), S_OK);
    EXPECT_EQ(folder.ReadFile(L"Assy\\Top.asm"), NewAssembly());
    EXPECT_EQ(GetFileAttributesW(folder.Path(L"Assy\\Top.asm").c_str()), readOnly);
    EXPECT_EQ(LocalWriteTime(folder.Path(L"Assy\\Top.asm")), "2021-06-01 10:15:34.000");
    EXPECT_EQ(LocalWriteTime(folder.Path(L"Assy\\Even.asm")), "2021-06-02 00:00:00.000");
}

TEST_F(ReferenceRewriteTest, ADocumentListedTwiceGetsBothRewritesAndTheTimeItHadBeforeTheFirst) {
    folder.WriteFile(L"Assy\\Top.asm", OldAssembly());
    SetLocalWriteTime(folder.Path(L"Assy\\Top.asm"), LocalTime(8, 0, 1, 0));
    List(L"Assy\\Top.asm", L"", {L"bolt.prt"});
    List(L"Assy\\TOP.asm", L"", {L"nut.prt"});
    EXPECT_EQ(Move(), S_OK);
    EXPECT_EQ(folder.ReadFile(L"Assy\\Top.asm"), NewAssembly());
    EXPECT_EQ(LocalWriteTime(folder.Path(L"Assy\\Top.asm")), "2021-06-01 08:00:02.000");
}

TEST_F(ReferenceRewriteTest, AFileThatNoLongerExistsIsSkipped) {
    folder.WriteFile(L"Assy\\Top.asm", OldAssembly());
    List(L"Assy\\Gone.asm");
    List(L"Assy\\Top.asm");
    EXPECT_EQ(Move(), S_OK);
    const auto rewrites = Rewrites();
    ASSERT_EQ(rewrites.size(), 1u);
    EXPECT_EQ(rewrites[0][1], Lower(folder.Path(L"Assy\\Top.asm")));
    EXPECT_EQ(request->refErrors.count, 0);
    EXPECT_FALSE(folder.Exists(L"Assy\\Gone.asm"));
}

class PlainCadDocumentTest : public ReferenceRewriteTest {
protected:
    void LendVault(const Texts& extraConfiguration = {}) {
        Texts configuration = {VaultDocument(folder.Path(L"Assy\\Top.asm"), {NewPart(L"bolt.prt"), NewPart(L"nut.prt")}),
                               VaultDocument(NewPart(L"bolt.prt")), VaultDocument(NewPart(L"nut.prt"))};
        configuration.insert(configuration.end(), extraConfiguration.begin(), extraConfiguration.end());
        folder.Configure(L"Vault", configuration);
        vault = CreateVaultObject();
        request->vault = vault.Get();
    }
    Texts Handled() const {
        Texts paths;
        for (const auto& entry : folder.Journal(L"Vault")) {
            if (entry[0] == L"HandleReferencedFile") paths.push_back(entry[1]);
        }
        return paths;
    }
};

TEST_F(PlainCadDocumentTest, TheDocumentsAPlainCadDocumentReferencesAreHandedToTheVault) {
    folder.WriteFile(L"Assy\\Top.asm", OldAssembly());
    WriteCompoundDocument(folder.Path(L"Assy\\Sub.asm"), {OldPart(L"nut.prt")});
    folder.WriteFile(L"Moved\\Side.asm", OldAssembly());
    List(L"Assy\\Top.asm");
    List(L"Assy\\Sub.asm");            // compound: not plain
    List(L"Assy\\Side.asm", L"Moved\\Side.asm");  // the pair form: not plain
    LendVault();
    EXPECT_EQ(Move(), S_OK);
    EXPECT_EQ(Handled(), (Texts{NewPart(L"bolt.prt"), NewPart(L"nut.prt")}));
    Texts asked;
    for (const auto& entry : folder.Journal(L"Vault")) {
        if (entry[0] == L"GetObjectsByPath") asked.push_back(entry[1]);
    }
    EXPECT_EQ(asked.front(), Lower(folder.Path(L"Assy\\Top.asm")));
    EXPECT_EQ(asked.size(), 4u);  // the document, then each of the three entries of its list
    EXPECT_EQ(folder.ReadFile(L"Assy\\Top.asm"), NewAssembly());
    request->vault = nullptr;
    vault.Reset();
    EXPECT_EQ(folder.JournalCalls(L"Vault").back(), L"Destroy");
}

TEST_F(PlainCadDocumentTest, AFailureTheVaultRaisesLeavesGhMoveAfterTheRunWasTornDown) {
    folder.WriteFile(L"Assy\\Top.asm", OldAssembly());
    List(L"Assy\\Top.asm");
    LendVault({L"fail:HandleReferencedFile=0x80040111"});
    HRESULT raised = S_OK;
    try {
        Move();
    } catch (const ComError& error) {
        raised = error.Code();
    }
    EXPECT_EQ(raised, static_cast<HRESULT>(0x80040111));
    EXPECT_EQ(host.calls.back(), "MoveInDatabase");
    EXPECT_EQ(folder.JournalCalls(L"Formwright").back(), L"Unload");
    EXPECT_EQ(folder.ReadFile(L"Assy\\Top.asm"), OldAssembly());  // raised before the manager was asked
    request->vault = nullptr;
    vault.Reset();
    EXPECT_EQ(folder.JournalCalls(L"Vault").back(), L"Destroy");
}

// The user may ask to try a failed rewrite again, once the cause is gone.
TEST_F(ReferenceRewriteTest, TryingAgainRewritesTheDocumentOnceTheManagerCan) {
    folder.WriteFile(L"Assy\\Top.asm", OldAssembly());
    FailRewriting(L"Assy\\Top.asm", L"0x80030021");
    List(L"Assy\\Top.asm");
    MessageBoxWatcher questions(
        [&](const SeenBox&, size_t) {
            FailRewriting(L"Assy\\Top.asm", L"");
            return kPlinthTryAgain;
        },
        kPlinthBoxClass);
    EXPECT_EQ(Move(false), S_OK);
    const auto seen = questions.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    const std::wstring lead =
        L"Failed to update file reference include paths in '" + Lower(folder.Path(L"Assy\\Top.asm")) + L"'.\nCause: ";
    EXPECT_EQ(seen[0].text.substr(0, lead.size()), lead);
    EXPECT_EQ(Rewrites().size(), 2u);
    EXPECT_EQ(request->refErrors.count, 0);
    EXPECT_EQ(folder.ReadFile(L"Assy\\Top.asm"), NewAssembly());
}

TEST_F(ReferenceRewriteTest, StopAskingRecordsEveryLaterFailureWithoutAQuestion) {
    folder.WriteFile(L"Assy\\A.asm", OldAssembly());
    folder.WriteFile(L"Assy\\B.asm", OldAssembly());
    folder.Configure(L"Formwright", {L"update-result=0x80030021"});
    List(L"Assy\\A.asm");
    List(L"Assy\\B.asm");
    MessageBoxWatcher questions(kPlinthStopAsking, kPlinthBoxClass);
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(false), S_OK);  // a move reports its local failures and succeeds
    EXPECT_EQ(questions.Boxes().size(), 1u);
    EXPECT_EQ(request->refErrors.count, 2);
    EXPECT_EQ(reports.Boxes().size(), 1u);
}

}  // namespace
