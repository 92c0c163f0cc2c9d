// The report of refused and failed items as the dialog stand-in walks it; the message box when it cannot show.
#include "common/Bstr.h"
#include "common/ComPtr.h"
#include "installation/standin/Journal.h"
#include "installation/standin/StandinWindows.h"
#include "move/Mover.h"
#include "report/ErrorText.h"
#include "report/FileRefCmdDbErrors.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <set>

namespace {

using Texts = std::vector<std::wstring>;
using Rows = std::vector<Texts>;

// Display name, (folder, target folder,) icon, status code, type and text; for an item then the move problem's code,
// type and text, which start as -1, -1 and none, and the state of the command that shows the files sharing a name.
Texts Group(const std::wstring& name, const wchar_t* icon = L"16") { return {L"Group", name, icon, L"36", L"4", L""}; }
const Texts kAsksOwner{L"36", L"-1", L"Lack one of permission to move this item", L"empty"};
Texts Item(const std::wstring& name, const std::wstring& folder, const std::wstring& target, const std::wstring& text,
           const wchar_t* icon = L"empty", const wchar_t* type = L"3", const Texts& problem = kAsksOwner) {
    Texts row{L"Item", name, folder, target, icon, L"36", type, text};
    row.insert(row.end(), problem.begin(), problem.end());
    return row;
}

class ShowMoveErrorsTest : public ::testing::Test {
protected:
    // The groups and items the dialog walked, which all have keys of their own; every report object is freed once the
    // dialog lets go.
    Rows Show(bool cannotMode) {
        DeleteFileW((folder.StandinDir() + L"\\ReportDialog.journal").c_str());
        const LONG before = RefObj::LiveObjects();
        MessageBoxWatcher reports(IDOK, kReportDialogClass);
        mover.ShowMoveErrors(L"Some items could not be moved.", cannotMode);
        EXPECT_EQ(RefObj::LiveObjects(), before);
        journal = folder.Journal(L"ReportDialog");
        Rows rows;
        std::set<std::wstring> keys;
        for (Texts entry : journal) {
            if (entry[0] != L"Group" && entry[0] != L"Item") continue;
            keys.insert(entry.back());
            entry.pop_back();
            entry.erase(entry.begin() + 2);  // a group's name is its format; an item's, its display name
            rows.push_back(entry);
        }
        EXPECT_EQ(keys.size(), rows.size());
        return rows;
    }

    DbMoveError* Refused(int32_t kind, int32_t id = 7, std::wstring name = L"a.prt",
                         std::wstring from = L"\\Projects\\", std::wstring to = L"\\Archive\\") {
        auto* failure = new DbMoveError{id, 0, 0, L"", kind, std::move(name), L"", std::move(from), std::move(to)};
        request->dbErrors.Append(failure);
        return failure;
    }

    TestFolder folder;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{L"C:\\Vault"};
    Mover mover{parent.Get(), &host, request.get(), false};
    std::vector<Texts> journal;
};

// One group per kind of database failure, counted, in the order in which each kind first occurs; then the local
// failures, then the references not updated.
TEST_F(ShowMoveErrorsTest, FailuresFormCountedGroupsOfDatabaseThenLocalThenReferenceFailures) {
    request.AddFile(7, 2, 3);
    Refused(2, 7, L"shaft.prt", L"\\Projects\\Gear\\", L"\\Archive\\\\");
    Refused(4);
    Refused(2, 0, L"ignored", L"\\Projects\\A\\", L"\\Archive\\");  // a folder
    Refused(13);
    Refused(3, 8, L"b.prt", L"\\Parts\\", L"\\PARTS\\");  // stays in its folder: a rename
    Refused(6, 7, L"bolt.prt")->conflictName = L"bolt-2.prt";
    Refused(3, 9, L"c.prt", L"\\Parts\\", L"\\Archive\\");
    Refused(6, 8, L"nut.prt");
    Refused(2);
    folder.MakeFolder(L"Sub");
    request->errors.Append(new MoveErrorEntry(L"C:\\Vault\\a.prt", L"C:\\Vault\\B\\a:b", E_QOR_INVALID_NAME, L"a:b"));
    request->errors.Append(
        new MoveErrorEntry(folder.Path(L"Sub"), folder.Path(L"New\\Sub"), E_QOR_FILE_SHARE_ERROR, L""));
    request->errors.Append(new MoveErrorEntry(L"noslash", L"plain.prt", E_FAIL, L""));  // nothing to cut
    auto* refFile = new RefFile;
    refFile->oldPath = L"C:\\Vault\\Asm\\top.asm";
    request->refFiles.Append(refFile);
    for (int i = 0; i < 2; ++i) request->refErrors.Append(new MoveErrorEntry(refFile, E_QOR_IO_ERROR));

    const std::wstring from = L"C:\\Vault\\Projects", to = L"C:\\Vault\\Archive", parts = L"C:\\Vault\\Parts";
    const std::wstring checkedOut = L"The file is checked out on another computer";
    const std::wstring unique = L"The file name, which needs to be unique in the file vault, has been used before.";
    const Texts explained{L"37", L"3", unique, L"true"};  // and offers the files sharing the name
    // Reference items explain nothing.
    const Texts reference = Item(L"top.asm", refFile->oldPath, L"", L"Error accessing the file.", L"empty", L"3",
                                 {L"-1", L"-1", L"(null)", L"empty"});
    EXPECT_EQ(Show(true),
              (Rows{Group(L"3 files are checked out"), Item(L"shaft.prt", from + L"\\Gear", to, checkedOut),
                    Item(L"A", from, to, checkedOut, L"3"), Item(L"a.prt", from, to, checkedOut),
                    Group(L"One name is already used"),
                    Item(L"a.prt", from, to, L"An item with the same name already exists"),
                    Group(L"There is one unknown error"), Item(L"a.prt", from, to, L"An unspecified error occurred."),
                    Group(L"You lack permission to process 2 files"),
                    Item(L"b.prt", parts, L"C:\\Vault\\PARTS", L"You lack permission to rename this item"),
                    Item(L"c.prt", parts, to, L"You lack permission to move this item"),
                    Group(unique),  // no number in it: the same whatever the count
                    Item(L"bolt.prt", from, to, unique, L"empty", L"3", explained),
                    Item(L"nut.prt", from, to, unique, L"empty", L"3", explained),
                    // Named by the detail, else by the target; a source that is a folder on disk shows as one.
                    Group(L"3 items can not be moved on the local disk"),
                    Item(L"a:b", L"C:\\Vault", L"C:\\Vault\\B", L"The file/key name was invalid."),
                    Item(L"Sub", folder.LocalRoot(), folder.Path(L"New"),
                         L"An attempt was made to access a file that is exclusively opened by another application.",
                         L"3"),
                    Item(L"plain.prt", L"", L"", L"An unspecified error occurred."),
                    Group(L"Could not update file reference paths in 2 files on the local disk"), reference,
                    reference}));
    EXPECT_EQ(journal[0], (Texts{L"Show", L"MoveError", standin::Hex(parent.Get()), L"0,0"}));
    EXPECT_EQ(journal[1], (Texts{L"Columns", L"0,1,2,4,25", L"0,1,2,4,25", L"0x00018C00"}));
    EXPECT_EQ((Texts{journal[2][2], journal[4][2]}), (Texts{L"Move Items", L"Some items could not be moved."}));

    // After a failure, not a refusal, only the module's own groups and items say so.
    const Rows failed = Show(false);
    ASSERT_EQ(failed.size(), 21u);
    EXPECT_EQ(failed[14], Group(L"3 items could not be moved on the local disk", L"2"));
    EXPECT_EQ((Texts{failed[1][6], failed[15][6], failed[20][6]}), (Texts{L"3", L"2", L"2"}));  // the item types
}

// Positions, children and interfaces as a dialog may use them; what it still holds outlives the command object and the
// rest of the tree.
TEST_F(ShowMoveErrorsTest, TheTreeAnswersEveryWayOfWalkingItAndEachObjectLivesWhileHeld) {
    const LONG before = RefObj::LiveObjects();
    Refused(1);
    Refused(1);
    ComPtr<IFileRefItem> item;
    {
        const auto command = ComPtr<IFileRefCmd>::Borrow(new FileRefCmdDbErrors(request.get(), &mover, L"", true));
        ComPtr<IUnknown> top, children, again;
        ComPtr<IFileRefItem> group, other;
        ASSERT_EQ(command->GetTopLevel(0, top.Put()), S_OK);
        ASSERT_EQ(command->GetNext(0, top.Get(), group.Put()), S_OK);
        EXPECT_EQ(command->GetNext(0, top.Get(), other.Put()), S_FALSE);
        EXPECT_EQ(other.Get(), nullptr);
        ASSERT_EQ(group->GetChildList(0, 0, children.Put()), S_OK);
        ASSERT_EQ(command->GetNext(0, children.Get(), item.Put()), S_OK);
        ASSERT_EQ(group->GetChildListAgain(0, 0, again.Put()), S_OK);  // the same position, rewound
        const LONG itemKind = 1;  // the group reads its children itself too
        EXPECT_EQ(group->GetNextChildOfKind(0, 0, 0, &itemKind, other.Put()), S_OK);
        EXPECT_EQ(other.Get(), item.Get());
        EXPECT_EQ(group->GetNextChild(0, 0, 0, other.Put()), S_OK);
        EXPECT_EQ(group->GetNextChild(0, 0, 0, other.Put()), S_FALSE);
        EXPECT_EQ(item->GetChildList(0, 0, again.Put()), S_FALSE);  // an item has no children
        EXPECT_EQ(again.Get(), nullptr);
        IFileRefItem* next = item.Get();
        EXPECT_EQ(command->GetNext(0, item.Get(), &next), E_NOINTERFACE);  // nor is it a position
        EXPECT_EQ(next, nullptr);
        // An item answers the whole family, a group only as a list with an icon.
        for (const IID& iid : {IID_IFileRefItem2, IID_IFileRefItem3, IID_IFileRefItemIcon, IID_IEditableFileRefItem}) {
            EXPECT_TRUE(ComPtr<IUnknown>::Query(item.Get(), iid));
            HRESULT hr = E_FAIL;
            ComPtr<IUnknown>::Query(group.Get(), iid, &hr);
            EXPECT_EQ(hr, iid == IID_IFileRefItemIcon ? S_OK : E_NOINTERFACE);
        }
        EXPECT_EQ(ComPtr<IUnknown>::Query(item.Get(), IID_IUnknown).Get(), static_cast<IUnknown*>(item.Get()));
    }
    EXPECT_EQ(RefObj::LiveObjects(), before + 1);
    BSTR name = nullptr;
    ASSERT_EQ(item->GetName(0, &name), S_OK);
    EXPECT_EQ(Bstr::Attach(name).Text(), L"a.prt");
    item.Reset();
    EXPECT_EQ(RefObj::LiveObjects(), before);
}

// The report sets COM up for itself and undoes only that, in either apartment.
TEST_F(ShowMoveErrorsTest, TheThreadKeepsItsCom) {
    Refused(4);
    for (const DWORD apartment : {COINIT_APARTMENTTHREADED, COINIT_MULTITHREADED}) {
        ASSERT_EQ(CoInitializeEx(nullptr, apartment), S_OK);
        EXPECT_EQ(Show(true).size(), 2u);
        EXPECT_EQ(CoInitializeEx(nullptr, apartment), S_FALSE);  // still initialised
        CoUninitialize();
        CoUninitialize();
    }
}

// When the dialog cannot be had, or fails once the user closed it, a plain error box says why.
TEST_F(ShowMoveErrorsTest, ADialogThatIsMissingOrFailsIsExplainedInAMessageBox) {
    request.AddFile(7, 2, 2, L"a:b");
    MessageBoxWatcher boxes;
    folder.Configure(L"ReportDialog", {L"no-interface=1"});
    Show(true);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(CoInitialize(nullptr), S_OK);  // the first again: the report undid its COM
    CoUninitialize();
    folder.Configure(L"ReportDialog", {L"show-result=0x80004005"});
    Show(true);
    EXPECT_EQ(journal.back(), (Texts{L"Closed", L"0x80004005"}));  // the failure comes after the user closed it

    const std::wstring lead = L"Could not display dialog box with error messages:\n";
    const auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ((Texts{seen[0].caption, seen[0].text, seen[1].text}),
              (Texts{L"Rename Item", lead + ErrorText(E_NOINTERFACE).Text(), lead + ErrorText(E_FAIL).Text()}));
    EXPECT_TRUE(seen[0].errorIcon && seen[0].owner == parent.Get());
}

}  // namespace
