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

    TestFolder folder;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    Mover mover{parent.get(), &host, request.get(), false};
};

TEST_F(ShowMoveErrorsTest, TheDialogWalksTheReportUntilClosedAndTheThreadKeepsItsCom) {
    request->dbErrors.Append(new DbMoveError{7, 0, 0, L"", 4, L"gear.prt", L"", L"\\Parts\\", L"\\Archive\\"});
    request->errors.Append(
        new MoveErrorEntry(folder.Path(L"a.prt"), folder.Path(L"B\\a.prt"), E_QOR_FILE_SHARE_ERROR, L""));
    request.AddFile(7, 2, 3);
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    MessageBoxWatcher boxes;

    Show(L"Some items could not be moved.", true);

    const Journal journal = folder.Journal(L"ReportDialog");
    ASSERT_EQ(journal.size(), 5u + 2 + 2 + 1);  // then two groups with an item each, and the close
    EXPECT_EQ(journal[0], (Fields{L"Show", L"MoveError", standin::Hex(parent.get()), L"0,0"}));
    EXPECT_EQ(journal[1], (Fields{L"Columns", L"0,1,2,4,25", L"0,1,2,4,25", L"0x00018C00"}));
    EXPECT_EQ(journal[2], (Fields{L"Text", L"0", L"Move Items"}));
    EXPECT_EQ(journal[3], (Fields{L"Text", L"1"}));  // an empty last field reads as none
    EXPECT_EQ(journal[4], (Fields{L"Text", L"2", L"Some items could not be moved."}));
    EXPECT_EQ(journal.back(), (Fields{L"Closed", L"0x00000000"}));
    EXPECT_TRUE(ComIsUninitialised());

    // COM is undone only where the report set it up, in either apartment.
    for (const DWORD apartment : {COINIT_APARTMENTTHREADED, COINIT_MULTITHREADED}) {
        ASSERT_EQ(CoInitializeEx(nullptr, apartment), S_OK);
        Show(L"Some items could not be moved.", true);
        EXPECT_EQ(CoInitializeEx(nullptr, apartment), S_FALSE);  // still initialised
        CoUninitialize();
        CoUninitialize();
    }
    EXPECT_EQ(reports.Boxes().size(), 3u);
    EXPECT_TRUE(boxes.Boxes().empty());
}

// When the dialog cannot be had, or fails once the user closed it, a plain error box says why.
TEST_F(ShowMoveErrorsTest, ADialogThatIsMissingOrFailsIsExplainedInAMessageBox) {
    request.AddFile(7, 2, 2, L"a:b");
    MessageBoxWatcher reports(IDOK, kReportDialogClass);
    MessageBoxWatcher boxes;
    folder.Configure(L"ReportDialog", {L"no-interface=1"});
    Show(L"The new file name is not valid.", true);
    EXPECT_TRUE(folder.Journal(L"ReportDialog").empty());
    EXPECT_TRUE(ComIsUninitialised());
    folder.Configure(L"ReportDialog", {L"show-result=0x80004005"});
    Show(L"The new file name is not valid.", true);
    EXPECT_EQ(reports.Boxes().size(), 1u);  // the failure comes after the user closed it

    const std::wstring lead = L"Could not display dialog box with error messages:\n";
    const auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, L"Rename Item");
    EXPECT_EQ(seen[0].text, lead + ErrorText(E_NOINTERFACE).Text());
    EXPECT_TRUE(seen[0].errorIcon);
    EXPECT_EQ(seen[0].owner, parent.get());
    EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDOK}));
    EXPECT_EQ(seen[1].text, lead + L"An unspecified error occurred.");
}

}  // namespace
