// What reaches the user through ghMove: the report dialog for refused items,
// the error box of a failed move, in the words of the vault client's catalogue.
#include "installation/standin/StandinWindows.h"
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

using Fields = std::vector<std::wstring>;

class ReportTest : public ::testing::Test {
protected:
    ReportTest() { CoInitialize(nullptr); }
    ~ReportTest() override { CoUninitialize(); }

    // Loads the module on first use, when it takes the catalogue as it then stands.
    HRESULT Move(bool silent) {
        if (!module) module = std::make_unique<LoadedModule>();
        return module->Move(parent.get(), &host, request.get(), silent);
    }

    TestFolder folder;
    std::unique_ptr<LoadedModule> module;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
};

// Items refused before anything changed, for an invalid name or by the
// database, are reported with the "can not" wording; silent runs report nothing.
TEST_F(ReportTest, RefusedItemsAreReportedInTheDialogUnlessTheRunIsSilent) {
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    host.folderPaths = {{2, L"\\Parts\\"}};
    host.fileNames = {{7, L"a.prt"}};
    host.onMoveInDatabase = [](MoveRequest* r) {
        for (const int32_t kind : {2, 2, 5}) {
            r->dbErrors.Append(new DbMoveError{7, 0, 0, L"", kind, L"gear.prt", L"", L"\\Parts\\", L"\\Archive\\"});
        }
    };
    request.AddFile(7, 2, 2, L"a:b");
    EXPECT_EQ(Move(true), S_FALSE);
    EXPECT_EQ(Move(false), S_FALSE);
    request->items.DeleteAll();
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(true), S_FALSE);
    EXPECT_EQ(Move(false), S_FALSE);

    const auto seen = reports.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ((Fields{seen[0].caption, seen[0].text, seen[1].caption, seen[1].text}),
              (Fields{L"Rename Item", L"The new file name is not valid.", L"Move Items",
                      L"Some items could not be moved."}));
    EXPECT_EQ(seen[0].owner, parent.get());
    Fields groups;  // display name | icon
    size_t items = 0;
    for (const auto& entry : folder.Journal(L"ReportDialog")) {
        if (entry.empty()) continue;
        if (entry[0] == L"Group") groups.push_back(entry[1] + L" | " + entry[3]);
        items += entry[0] == L"Item";
    }
    EXPECT_EQ(groups, (Fields{L"One item can not be moved on the local disk | 16", L"2 files are checked out | 16",
                              L"An attempt was made to move a folder to one of its sub-folders. | 16"}));
    EXPECT_EQ(items, 4u);
}

// The module's texts and the vault's sentence for the code, in the user's
// language; the module holds its catalogue service until it is unloaded.
TEST_F(ReportTest, TheDatabaseFailureBoxSpeaksTheUsersLanguage) {
    folder.WriteCatalog({L"Move\t\t0x10\tElemente verschieben",
                         L"Move\t\t0x15\tEinige Elemente konnten nicht verschoben werden.",
                         L"QorInterface\tErrorCodes\t0xDB\tOrdner in Unterordner verschoben"});
    MessageBoxWatcher boxes;
    host.moveResult = static_cast<HRESULT>(0x8004029C);
    request.AddFile(7, 2, 3);
    EXPECT_EQ(Move(false), static_cast<HRESULT>(0x8004029C));
    const auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Elemente verschieben");
    EXPECT_EQ(seen[0].text, L"Einige Elemente konnten nicht verschoben werden.\nOrdner in Unterordner verschoben");

    const auto journal = folder.Journal(L"TextCatalog");
    ASSERT_GE(journal.size(), 2u);
    EXPECT_EQ(journal[1], (Fields{L"Init", L"Brimwork PDM", L"Move"}));
    const auto count = [&](const wchar_t* call) {
        const auto calls = folder.JournalCalls(L"TextCatalog");
        return std::count(calls.begin(), calls.end(), call);
    };
    EXPECT_EQ(count(L"Create"), count(L"Destroy") + 1);  // the module's own instance is still alive
    module.reset();
    EXPECT_EQ(count(L"Create"), count(L"Destroy"));
}

}  // namespace
