// The report shown in the report dialog stand-in, which a watcher closes like
// a user; the message box when the dialog cannot be shown.
#include "common/RefObj.h"
#include "installation/standin/Journal.h"
#include "installation/standin/StandinWindows.h"
#include "move/Mover.h"
#include "report/ErrorText.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "UnregisteredServer.h"

#include <gtest/gtest.h>
#include <objbase.h>

namespace {

using Journal = std::vector<std::vector<std::wstring>>;
using Fields = std::vector<std::wstring>;

// True when this thread had no COM left: a new initialisation is the first.
bool ComIsUninitialised() {
    const HRESULT hr = CoInitialize(nullptr);
    if (SUCCEEDED(hr)) CoUninitialize();
    return hr == S_OK;
}

class ShowMoveErrorsTest : public ::testing::Test {
protected:
    void Show(const std::wstring& description, bool cannotMode) {
        const LONG before = RefObj::LiveObjects();
        mover.ShowMoveErrors(description, cannotMode);
        EXPECT_EQ(RefObj::LiveObjects(), before) << "every report object is freed when the dialog lets go";
    }

    std::vector<std::wstring> Lines(const wchar_t* kind) const {
        std::vector<std::wstring> lines;
        for (const auto& entry : folder.Journal(L"ReportDialog")) {
            if (!entry.empty() && entry[0] == kind) lines.push_back(entry.size() > 1 ? entry[1] : L"");
        }
        return lines;
    }

    TestFolder folder;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    Mover mover{parent.get(), &host, request.get(), false};
};

TEST_F(ShowMoveErrorsTest, TheDialogWalksTheWholeReportUntilTheUserClosesIt) {
    auto* refused = new DbMoveError;
    refused->kind = 4;
    refused->fileId = 7;
    refused->itemName = L"gear.prt";
    refused->oldFolder = L"\\Parts\\";
    refused->newFolder = L"\\Archive\\";
    request->dbErrors.Append(refused);
    request->errors.Append(new MoveErrorEntry(folder.Path(L"a.prt"), folder.Path(L"B\\a.prt"), E_QOR_FILE_SHARE_ERROR, L""));
    request.AddFile(7, 2, 3);
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    MessageBoxWatcher boxes;

    Show(L"Some items could not be moved.", true);

    const Journal journal = folder.Journal(L"ReportDialog");
    ASSERT_GE(journal.size(), 5u);
    EXPECT_EQ(journal[0], (Fields{L"Show", L"MoveError", standin::Hex(parent.get()), L"0,0"}));
    EXPECT_EQ(journal[1], (Fields{L"Columns", L"0,1,2,4,25", L"0,1,2,4,25", L"0x00018C00"}));
    EXPECT_EQ(journal[2], (Fields{L"Text", L"0", L"Move Items"}));
    EXPECT_EQ(journal[3], (Fields{L"Text", L"1"}));  // an empty last field reads as none
    EXPECT_EQ(journal[4], (Fields{L"Text", L"2", L"Some items could not be moved."}));
    EXPECT_EQ(Lines(L"Group"), (Fields{L"One name is already used", L"One item can not be moved on the local disk"}));
    EXPECT_EQ(Lines(L"Item"), (Fields{L"gear.prt", L"a.prt"}));
    EXPECT_EQ(journal.back(), (Fields{L"Closed", L"0x00000000"}));

    const auto seen = reports.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Move Items");
    EXPECT_EQ(seen[0].text, L"Some items could not be moved.");
    EXPECT_EQ(seen[0].owner, parent.get());
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(ComIsUninitialised());
}

TEST_F(ShowMoveErrorsTest, WithoutTheDialogClassAMessageBoxSaysWhyAndNothingIsBuilt) {
    const UnregisteredServer dialog(L"ReportDialog.dll");
    ASSERT_TRUE(dialog.Unregistered());
    request.AddFile(7, 2, 2, L"a:b");
    MessageBoxWatcher boxes;
    CoInitialize(nullptr);
    const std::wstring reason = ErrorText(REGDB_E_CLASSNOTREG).Text();
    CoUninitialize();

    Show(L"The new file name is not valid.", true);

    const auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Rename Item");
    EXPECT_EQ(seen[0].text, L"Could not display dialog box with error messages:\n" + reason);
    EXPECT_TRUE(seen[0].errorIcon);
    EXPECT_EQ(seen[0].owner, parent.get());
    EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDOK}));
    EXPECT_TRUE(folder.Journal(L"ReportDialog").empty());
    EXPECT_TRUE(ComIsUninitialised());
}

TEST_F(ShowMoveErrorsTest, ADialogThatFailsIsExplainedInAMessageBox) {
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    MessageBoxWatcher boxes;
    folder.Configure(L"ReportDialog", {L"show-result=0x80004005"});
    Show(L"Some items could not be moved.", false);
    EXPECT_EQ(reports.Boxes().size(), 1u);  // the failure comes after the user closed it

    folder.Configure(L"ReportDialog", {L"no-interface=1"});
    Show(L"Some items could not be moved.", false);
    EXPECT_EQ(reports.Boxes().size(), 1u);

    CoInitialize(nullptr);
    const std::wstring noInterface = ErrorText(E_NOINTERFACE).Text();
    CoUninitialize();
    const auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, L"Could not display dialog box with error messages:\nAn unspecified error occurred.");
    EXPECT_EQ(seen[1].text, L"Could not display dialog box with error messages:\n" + noInterface);
}

TEST_F(ShowMoveErrorsTest, AThreadKeepsTheComItHadBefore) {
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    Show(L"Some items could not be moved.", false);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);  // still initialised
    CoUninitialize();
    CoUninitialize();

    // A thread of the other apartment keeps its apartment too.
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    Show(L"Some items could not be moved.", false);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(reports.Boxes().size(), 2u);
}

}  // namespace
