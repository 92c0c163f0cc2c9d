// The report dialog for refused items and the error box of a failed move, in the words of the client's catalogue.
#include "installation/standin/StandinWindows.h"
#include "ComThread.h"
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
    // Loads the module on first use, when it takes the catalogue as it then stands.
    HRESULT Move(bool silent) {
        if (!module) module = std::make_unique<LoadedModule>();
        return module->Move(parent.Get(), &host, request.get(), silent);
    }

    TestFolder folder;
    std::unique_ptr<LoadedModule> module;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    ComThread com;
};

// Refused items are reported with the "can not" wording, a failed move in an error box, silent runs show nothing;
// all in the user's language, from a catalogue service the module holds until unloaded.
TEST_F(ReportTest, RefusalsAndFailuresReachTheUserInTheirLanguageUnlessTheRunIsSilent) {
    folder.WriteCatalog({L"Move\t\t0x10\tElemente verschieben",
                         L"Move\t\t0x15\tEinige Elemente konnten nicht verschoben werden.",
                         L"QorInterface\tErrorCodes\t0xDB\tOrdner in Unterordner verschoben"});
    MessageBoxWatcher reports(IDOK, kReportDialogClass), boxes;
    host.onMoveInDatabase = [](MoveRequest* r) {
        r->dbErrors.Append(new DbMoveError{7, 0, 0, L"", 2, L"gear.prt", L"", L"\\Parts\\", L"\\Archive\\"});
    };
    for (const wchar_t* name : {L"a:b", L""}) {  // a rename to an invalid name, then a move
        request->items.DeleteAll();
        request.AddFile(7, 2, *name ? 2 : 3, name);
        EXPECT_EQ(Move(true), S_FALSE);
        EXPECT_EQ(Move(false), S_FALSE);
    }
    host.onMoveInDatabase = nullptr;
    host.moveResult = static_cast<HRESULT>(0x8004029C);
    EXPECT_EQ(Move(false), static_cast<HRESULT>(0x8004029C));

    const std::wstring some = L"Einige Elemente konnten nicht verschoben werden.";
    const auto seen = reports.Boxes(), errors = boxes.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ((Fields{seen[0].caption, seen[0].text, seen[1].caption, seen[1].text, errors[0].caption, errors[0].text}),
              (Fields{L"Rename Item", L"The new file name is not valid.", L"Elemente verschieben", some,
                      L"Elemente verschieben", some + L"\nOrdner in Unterordner verschoben"}));
    EXPECT_EQ(folder.JournalField(L"ReportDialog", L"Group"),
              (Fields{L"One item can not be moved on the local disk", L"One file is checked out on another computer"}));
    const auto alive = [&] {
        const auto calls = folder.JournalCalls(L"TextCatalog");
        return std::count(calls.begin(), calls.end(), L"Create") - std::count(calls.begin(), calls.end(), L"Destroy");
    };
    EXPECT_EQ(alive(), 1);  // the module's own instance
    module.reset();
    EXPECT_EQ(alive(), 0);
}

// A name that is not unique in the vault: the report item opens the view of the vault files that share it.
TEST_F(ReportTest, ANameNotUniqueInTheVaultOpensTheFilesThatShareIt) {
    folder.Configure(L"ReportDialog", {L"invoke=11"});
    MessageBoxWatcher reports(IDOK, kReportDialogClass), views(IDOK, kNonUniqueDialogClass), boxes;
    host.onMoveInDatabase = [](MoveRequest* r) {
        r->dbErrors.Append(new DbMoveError{7, 0, 0, L"", 6, L"gear.prt", L"Gear.prt", L"\\Parts\\", L"\\Archive\\"});
    };
    request.AddFile(7, 2, 3);

    EXPECT_EQ(Move(false), S_FALSE);
    const std::wstring path = folder.Path(L"Parts\\gear.prt"), other = folder.Path(L"Parts\\Gear.prt");
    ASSERT_EQ(host.finds.size(), 1u);
    EXPECT_EQ(host.finds[0].names, Fields{path});
    EXPECT_EQ(folder.Journal(L"NonUniqueFilesDialog"),
              (std::vector<Fields>{{L"Names", path},
                                   {L"OtherNames", other},
                                   {L"Records", L"0"},
                                   {L"Show", L"0", L"4", L"0", L"localview"},
                                   {L"Closed", L"0x00000000"}}));
    EXPECT_EQ(folder.JournalField(L"ReportDialog", L"Invoked", 2), Fields{L"0x00000000"});
    EXPECT_TRUE(boxes.Boxes().empty());  // the journals above show each dialog once
}

}  // namespace
