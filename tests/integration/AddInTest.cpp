// The add-ins of the vault the host lends: what they are told around a move or rename, and what their refusals do.
#include "ComThread.h"
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "VaultObject.h"

#include "installation/standin/StandinWindows.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::vector<std::wstring>>;
using Paths = std::vector<std::wstring>;
using Calls = std::vector<std::string>;

constexpr const wchar_t* kAddIn = L"AddIn";
// "The file is not checked out by you.", as an add-in might answer.
constexpr HRESULT kNotCheckedOut = static_cast<HRESULT>(0x80040210);
// P and Q below the root, A inside P; one file in P.
constexpr int32_t kP = 2, kQ = 3, kA = 4, kPart = 7;

class AddInTest : public ::testing::Test {
protected:
    AddInTest() {
        host.folderPaths = {{kP, L"\\P\\"}, {kQ, L"\\Q\\"}, {kA, L"\\P\\A\\"}};
        host.fileNames = {{kPart, L"part.prt"}};
        folder.WriteFile(L"P\\A\\inner.txt", "inner");
        folder.WriteFile(L"P\\part.prt", "part");
        folder.MakeFolder(L"Q");
    }
    ~AddInTest() override { request->vault = nullptr; }

    void LendVault(const std::vector<std::wstring>& addInLines) {
        folder.Configure(kAddIn, addInLines);
        vault = CreateVaultObject();
        request->vault = vault.Get();
    }
    HRESULT Move(bool silent) { return module.Move(parent.Get(), &host, request.get(), silent); }
    // The message boxes a move showed.
    std::vector<SeenBox> BoxesOfMove(bool silent, HRESULT expected) {
        MessageBoxWatcher boxes;
        EXPECT_EQ(Move(silent), expected);
        return boxes.Boxes();
    }

    Paths Commands() const { return folder.JournalField(kAddIn, L"Command"); }
    // The add-in's lines with full paths made relative to the local view.
    Lines AddInJournal() const {
        Lines lines = folder.Journal(kAddIn);
        const std::wstring root = folder.LocalRoot();
        for (auto& line : lines) {
            for (auto& field : line) {
                if (field.compare(0, root.size(), root) == 0) field = L"~" + field.substr(root.size());
            }
        }
        return lines;
    }
    // What the add-in journals for each command, with the vault's default value.
    Lines Told(const std::vector<std::pair<const wchar_t*, const Lines*>>& commands) const {
        Lines lines;
        for (const auto& [cmd, records] : commands) {
            lines.push_back({L"Command", cmd, standin::Hex(parent.Get()), L"0", L"521", L"521", L"0,0,0", L"0", L"0"});
            lines.insert(lines.end(), records->begin(), records->end());
        }
        return lines;
    }

    TestFolder folder;
    ComThread com;
    LoadedModule module;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    ComPtr<IUnknown> vault;
};

TEST_F(AddInTest, AMoveIsToldBeforeTheDatabaseChangesAndAfterTheDiskFollowed) {
    LendVault({});
    request.AddFolder(kA, kQ);
    request.AddFile(kPart, kP, kQ);
    Paths toldBeforeDatabase;
    host.onMoveInDatabase = [&](MoveRequest*) { toldBeforeDatabase = Commands(); };
    const ULONG start = ReferenceCount(vault.Get());

    ASSERT_EQ(Move(false), S_OK);
    EXPECT_EQ(toldBeforeDatabase, (Paths{L"0x21", L"0x15"}));
    EXPECT_EQ(folder.Tree(), (Paths{L"P\\", L"Q\\", L"Q\\A\\", L"Q\\A\\inner.txt", L"Q\\part.prt"}));
    const Lines folderRecords = {{L"Records", L"1"},
                                 {L"Item", L"4", L"0", L"3", L"0", L"~\\P\\A", L"~\\Q\\A", L"0,0,0,0,0"}};
    const Lines fileRecords = {
        {L"Records", L"1"},
        {L"Item", L"7", L"2", L"3", L"0", L"~\\P\\part.prt", L"~\\Q\\part.prt", L"0,0,0,0,0"}};
    EXPECT_EQ(AddInJournal(), Told({{L"0x21", &folderRecords},
                                    {L"0x15", &fileRecords},
                                    {L"0x22", &folderRecords},
                                    {L"0x16", &fileRecords}}));
    // The hooks were prepared once, and every interface lent out came back.
    const Paths vaultCalls = folder.JournalCalls(kVaultComponent);
    EXPECT_EQ(std::count(vaultCalls.begin(), vaultCalls.end(), L"PrepareHooks"), 1);
    EXPECT_EQ(ReferenceCount(vault.Get()), start);
}

TEST_F(AddInTest, RenamesAreToldWithTheRenameCommands) {
    LendVault({});
    request.AddFolder(kA, kP, L"B");
    request.AddFile(kPart, kP, kP, L"plate.prt");
    ASSERT_EQ(Move(true), S_OK);
    EXPECT_EQ(folder.Tree(), (Paths{L"P\\", L"P\\B\\", L"P\\B\\inner.txt", L"P\\plate.prt", L"Q\\"}));
    EXPECT_EQ(Commands(), (Paths{L"0x1F", L"0xF", L"0x20", L"0x10"}));
}

// The refusal of the last block before the change, after the folder block was told.
TEST_F(AddInTest, AVetoBeforeTheOperationChangesNothingAndShowsNoMessage) {
    LendVault({L"veto=0x15"});
    request.AddFolder(kA, kQ);
    request.AddFile(kPart, kP, kQ);
    const Paths before = folder.Tree();
    MessageBoxWatcher boxes, reports(IDOK, kReportDialogClass);

    EXPECT_EQ(Move(false), E_QOR_OPERATION_REFUSED_BY_PLUGIN);
    EXPECT_EQ(host.calls, Calls{"ResolveNames"});
    EXPECT_EQ(folder.Tree(), before);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(reports.Boxes().empty());
    EXPECT_EQ(Commands(), (Paths{L"0x21", L"0x15"}));  // nothing was told after the refusal
}

TEST_F(AddInTest, AnAddInFailureBeforeTheOperationIsShownWithItsTextUnlessSilent) {
    LendVault({L"answer:0x15=0x80040210"});
    request.AddFile(kPart, kP, kQ);
    EXPECT_TRUE(BoxesOfMove(true, kNotCheckedOut).empty());
    const auto seen = BoxesOfMove(false, kNotCheckedOut);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Error running add-ins:\nThe file is not checked out by you.");
    EXPECT_EQ(seen[0].caption, L"Move Items");
    EXPECT_EQ(seen[0].owner, parent.Get());
    EXPECT_TRUE(seen[0].errorIcon);
}

// After the change a failure, even the refusal code, is shown; the move stays done.
TEST_F(AddInTest, AfterTheOperationAFailureIsShown) {
    LendVault({L"answer:0x22=0x8004021A"});
    request.AddFolder(kA, kQ);
    const auto seen = BoxesOfMove(false, E_QOR_OPERATION_REFUSED_BY_PLUGIN);
    EXPECT_TRUE(folder.Exists(L"Q\\A\\inner.txt"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text,
              L"Error running add-ins:\nThe operation was not permitted by one of the installed plugins.");
}

TEST_F(AddInTest, AVaultWithoutHooksHearsNothingAndGetsEveryReferenceBack) {
    folder.Configure(kVaultComponent, {L"without=hooks"});
    LendVault({});
    const ULONG start = ReferenceCount(vault.Get());
    request.AddFile(kPart, kP, kQ);
    ASSERT_EQ(Move(true), S_OK);
    EXPECT_TRUE(folder.Exists(L"Q\\part.prt"));
    EXPECT_TRUE(folder.Journal(kAddIn).empty());
    EXPECT_EQ(folder.JournalCalls(kVaultComponent), (Paths{L"Create"}));
    EXPECT_EQ(ReferenceCount(vault.Get()), start);
}

}  // namespace
