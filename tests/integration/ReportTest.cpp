// What reaches the user through ghMove: the report dialog for refused items,
// the real error texts in the driver's message boxes.
#include "installation/standin/StandinWindows.h"
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "UnregisteredServer.h"

#include <gtest/gtest.h>

namespace {

using Fields = std::vector<std::wstring>;

class ReportTest : public ::testing::Test {
protected:
    ReportTest() { CoInitialize(nullptr); }
    ~ReportTest() override { CoUninitialize(); }

    HRESULT Move(bool silent) { return module.Move(parent.get(), &host, request.get(), silent); }

    // The journal lines of one kind, without their first field.
    std::vector<Fields> Lines(const wchar_t* kind) const {
        std::vector<Fields> lines;
        for (const auto& entry : folder.Journal(L"ReportDialog")) {
            if (!entry.empty() && entry[0] == kind) lines.emplace_back(entry.begin() + 1, entry.end());
        }
        return lines;
    }

    void RefuseInDatabase(std::vector<int32_t> kinds) {
        host.onMoveInDatabase = [kinds](MoveRequest* r) {
            for (int32_t kind : kinds) {
                auto* refused = new DbMoveError;
                refused->kind = kind;
                refused->fileId = 7;
                refused->itemName = L"gear.prt";
                refused->oldFolder = L"\\Parts\\";
                refused->newFolder = L"\\Archive\\";
                r->dbErrors.Append(refused);
            }
        };
    }

    TestFolder folder;
    LoadedModule module;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
};

TEST_F(ReportTest, InvalidNewNamesAreReportedInTheDialogBeforeAnythingChanges) {
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    MessageBoxWatcher boxes;
    host.folderPaths = {{2, L"\\Parts\\"}};
    host.fileNames = {{7, L"a.prt"}, {8, L"b.prt"}};
    request.AddFile(7, 2, 2, L"a:b");
    request.AddFile(8, 2, 2, L"desktop.ini");

    EXPECT_EQ(Move(false), S_FALSE);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ResolveNames"}));
    const auto seen = reports.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Rename Item");
    EXPECT_EQ(seen[0].text, L"The new file name is not valid.");
    EXPECT_EQ(seen[0].owner, parent.get());
    EXPECT_TRUE(boxes.Boxes().empty());

    const auto groups = Lines(L"Group");
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0][0], L"2 items can not be moved on the local disk");
    EXPECT_EQ(groups[0][2], L"16");  // the icon of items refused before anything was done
    const auto items = Lines(L"Item");
    ASSERT_EQ(items.size(), 2u);
    const std::wstring parts = folder.LocalRoot() + L"\\Parts";
    // name, display name, folder, target folder, icon, code, type, status text
    EXPECT_EQ(Fields(items[0].begin(), items[0].begin() + 8),
              (Fields{L"a:b", L"a:b", parts, parts, L"empty", L"36", L"3", L"The file/key name was invalid."}));
    EXPECT_EQ(items[1][0], L"desktop.ini");
    // Without the module's own database connection the explanation is the general one.
    EXPECT_EQ(Fields(items[0].begin() + 8, items[0].begin() + 12),
              (Fields{L"36", L"-1", L"Lack one of permission to move this item", L"empty"}));
}

TEST_F(ReportTest, ItemsTheDatabaseRefusedAreReportedByKind) {
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    RefuseInDatabase({2, 2, 5});
    request.AddFile(7, 2, 3);

    EXPECT_EQ(Move(false), S_FALSE);
    const auto seen = reports.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Move Items");
    EXPECT_EQ(seen[0].text, L"Some items could not be moved.");
    const auto groups = Lines(L"Group");
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0][0], L"2 files are checked out");
    EXPECT_EQ(groups[1][0], L"An attempt was made to move a folder to one of its sub-folders.");
    const auto items = Lines(L"Item");
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0][2], folder.LocalRoot() + L"\\Parts");
    EXPECT_EQ(items[0][3], folder.LocalRoot() + L"\\Archive");
    EXPECT_EQ(items[0][7], L"The file is checked out on another computer");
}

TEST_F(ReportTest, SilentRunsReportNothing) {
    RefuseInDatabase({1});
    request.AddFile(7, 2, 2, L"bad?");
    EXPECT_EQ(Move(true), S_FALSE);
    request->items.DeleteAll();
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(true), S_FALSE);
    EXPECT_EQ(request->dbErrors.count, 1);
    EXPECT_TRUE(folder.Journal(L"ReportDialog").empty());
}

TEST_F(ReportTest, WithoutTheReportDialogAMessageBoxSaysWhy) {
    const UnregisteredServer dialog(L"ReportDialog.dll");
    ASSERT_TRUE(dialog.Unregistered());
    MessageBoxWatcher boxes;
    RefuseInDatabase({1});
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(false), S_FALSE);
    const auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Move Items");
    const std::wstring lead = L"Could not display dialog box with error messages:\n";
    EXPECT_EQ(seen[0].text.substr(0, lead.size()), lead);
    EXPECT_GT(seen[0].text.size(), lead.size());
    EXPECT_TRUE(seen[0].errorIcon);
}

TEST_F(ReportTest, TheDatabaseFailureBoxGivesTheVaultsSentenceForTheCode) {
    MessageBoxWatcher boxes;
    host.moveResult = static_cast<HRESULT>(0x8004029C);
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(false), static_cast<HRESULT>(0x8004029C));
    folder.WriteCatalog({L"QorInterface\tErrorCodes\t0xDB\tOrdner in Unterordner verschoben"});
    EXPECT_EQ(Move(false), static_cast<HRESULT>(0x8004029C));
    const auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text,
              L"Some items could not be moved.\nAn attempt was made to move a folder to one of its sub-folders.");
    EXPECT_EQ(seen[1].text, L"Some items could not be moved.\nOrdner in Unterordner verschoben");
}

}  // namespace
