// The report tree as the dialog walks it: groups and items built from the
// request's three failure lists, through the command object's interfaces.
#include "common/Bstr.h"
#include "common/ComPtr.h"
#include "move/Mover.h"
#include "report/FileRefCmdDbErrors.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Items = std::vector<ComPtr<IFileRefItem>>;
using Texts = std::vector<std::wstring>;
using Rows = std::vector<Texts>;

std::wstring Take(BSTR text) { return Bstr::Attach(text).Text(); }

// What the dialog shows of a group or item: display name, folder, target
// folder ("-" for a group, which has none), icon, then status code, type and text.
Texts Describe(IFileRefItem* item) {
    BSTR name = nullptr, folder = nullptr, target = nullptr, text = nullptr;
    LONG code = 0, type = 0;
    EXPECT_EQ(item->GetDisplayName(0, &name), S_OK);
    EXPECT_EQ(item->GetFolder(0, &folder), S_OK);
    EXPECT_EQ(item->GetStatus(0, &code, &type, &text), S_OK);
    if (const auto editable = ComPtr<IEditableFileRefItem>::Query(item, IID_IEditableFileRefItem)) {
        EXPECT_EQ(editable->GetTargetFolder(0, &target), S_OK);
    }
    VARIANT icon;
    VariantInit(&icon);
    const HRESULT hr = ComPtr<IFileRefItemIcon>::Query(item, IID_IFileRefItemIcon)->GetIcon(&icon);
    EXPECT_TRUE(hr == S_OK ? icon.vt == VT_UI2 : hr == S_FALSE && icon.vt == VT_EMPTY);  // S_FALSE: no icon
    const std::wstring iconText = hr == S_OK ? std::to_wstring(icon.uiVal) : L"none";
    return {Take(name), Take(folder), target ? Take(target) : std::wstring(L"-"), iconText,
            std::to_wstring(code), std::to_wstring(type), Take(text)};
}

// A group is a list, not a failure.
Texts Group(const std::wstring& name, const wchar_t* icon = L"16") { return {name, L"", L"-", icon, L"36", L"4", L""}; }

// The move problem's code, type and text, which start as -5, -5 and "before".
Texts Problem(IFileRefItem* item) {
    LONG code = -5, type = -5;
    BSTR text = SysAllocString(L"before");
    const auto editable = ComPtr<IEditableFileRefItem>::Query(item, IID_IEditableFileRefItem);
    EXPECT_EQ(editable->GetMoveProblem(0, &code, &type, &text), S_OK);
    return {std::to_wstring(code), std::to_wstring(type), Take(text)};
}

class ReportTreeTest : public ::testing::Test {
protected:
    ReportTreeTest() { CoInitialize(nullptr); }
    ~ReportTreeTest() override { CoUninitialize(); }

    ComPtr<IFileRefCmd> Command(bool cannotMode) {
        return ComPtr<IFileRefCmd>::Borrow(new FileRefCmdDbErrors(&mover, L"Some items were refused.", cannotMode));
    }

    DbMoveError* Refused(int32_t kind, int32_t fileId = 7, std::wstring name = L"a.prt",
                         std::wstring oldFolder = L"\\Projects\\", std::wstring newFolder = L"\\Archive\\") {
        auto* failure = new DbMoveError{fileId, 0, 0, L"", kind, std::move(name), L"", std::move(oldFolder),
                                        std::move(newFolder)};
        request->dbErrors.Append(failure);
        return failure;
    }

    // Every item of a position, read through the command object up to its S_FALSE.
    static Items Read(IFileRefCmd* command, IUnknown* position) {
        Items items;
        IFileRefItem* item = nullptr;
        HRESULT hr = S_OK;
        while ((hr = command->GetNext(0, position, &item)) == S_OK) items.push_back(ComPtr<IFileRefItem>::Attach(item));
        EXPECT_EQ(hr, S_FALSE);
        EXPECT_EQ(item, nullptr);
        return items;
    }

    static Items TopLevel(IFileRefCmd* command) {
        ComPtr<IUnknown> position;
        EXPECT_EQ(command->GetTopLevel(0, position.Put()), S_OK);
        return Read(command, position.Get());
    }

    static Items Children(IFileRefCmd* command, IFileRefItem* group) {
        ComPtr<IUnknown> position;
        if (group->GetChildList(0, 0, position.Put()) != S_OK) return {};
        return Read(command, position.Get());
    }

    // Each group followed by its items.
    static Rows Walk(IFileRefCmd* command) {
        Rows rows;
        for (const auto& group : TopLevel(command)) {
            rows.push_back(Describe(group.Get()));
            for (const auto& item : Children(command, group.Get())) rows.push_back(Describe(item.Get()));
        }
        return rows;
    }

    TestFolder folder;
    RecordingHost host;
    OwnedRequest request{L"C:\\Vault"};
    Mover mover{nullptr, &host, request.get(), false};
};

TEST_F(ReportTreeTest, DatabaseFailuresFormOneCountedGroupPerKindInFirstSeenOrder) {
    Refused(2, 7, L"shaft.prt", L"\\Projects\\Gear\\", L"\\Archive\\\\");
    Refused(4);
    Refused(2, 0, L"ignored", L"\\Projects\\A\\", L"\\Archive\\");  // a folder
    Refused(13);
    Refused(3, 8, L"b.prt", L"\\Parts\\", L"\\PARTS\\");  // stays in its folder: a rename
    Refused(7);
    Refused(3, 9, L"c.prt", L"\\Parts\\", L"\\Archive\\");
    Refused(20);
    Refused(2);
    const std::wstring from = L"C:\\Vault\\Projects", to = L"C:\\Vault\\Archive", parts = L"C:\\Vault\\Parts";
    const std::wstring checkedOut = L"The file is checked out on another computer";
    const std::wstring unknown = L"An unspecified error occurred.";
    const auto command = Command(true);
    EXPECT_EQ(Walk(command.Get()),
              (Rows{Group(L"3 files are checked out"),
                    {L"shaft.prt", from + L"\\Gear", to, L"none", L"36", L"3", checkedOut},
                    {L"A", from, to, L"3", L"36", L"3", checkedOut},
                    {L"a.prt", from, to, L"none", L"36", L"3", checkedOut},
                    Group(L"One name is already used"),
                    {L"a.prt", from, to, L"none", L"36", L"3", L"An item with the same name already exists"},
                    Group(L"There is one unknown error"),
                    {L"a.prt", from, to, L"none", L"36", L"3", unknown},
                    Group(L"You lack permission to process 2 files"),
                    {L"b.prt", parts, L"C:\\Vault\\PARTS", L"none", L"36", L"3",
                     L"You lack permission to rename this item"},
                    {L"c.prt", parts, to, L"none", L"36", L"3", L"You lack permission to move this item"},
                    Group(L"The path is too long."),
                    {L"a.prt", from, to, L"none", L"36", L"3", L"The path is too long."},
                    Group(L"There is one unknown error"),
                    {L"a.prt", from, to, L"none", L"36", L"3", unknown}}));
    // Every call for the top level builds a new tree of the lists as they stand.
    Refused(4);
    EXPECT_EQ(Walk(command.Get())[4], Group(L"2 item names are already used"));
}

TEST_F(ReportTreeTest, LocalThenReferenceFailuresFollowTheDatabaseGroups) {
    folder.MakeFolder(L"Sub");
    request->errors.Append(new MoveErrorEntry(L"C:\\Vault\\a.prt", L"C:\\Vault\\B\\a:b", E_QOR_INVALID_NAME, L"a:b"));
    request->errors.Append(
        new MoveErrorEntry(folder.Path(L"Sub"), folder.Path(L"New\\Sub"), E_QOR_FILE_SHARE_ERROR, L""));
    request->errors.Append(new MoveErrorEntry(L"noslash", L"plain.prt", E_FAIL, L""));  // nothing to cut
    auto* refFile = new RefFile;
    refFile->oldPath = L"C:\\Vault\\Asm\\top.asm";
    request->refFiles.Append(refFile);
    request->refErrors.Append(new MoveErrorEntry(refFile, E_QOR_IO_ERROR));
    request->refErrors.Append(new MoveErrorEntry(refFile, E_QOR_IO_ERROR));
    Refused(1);

    // Named by the detail, else by the target; a source that is a folder on disk shows as one.
    const Texts reference{L"top.asm", refFile->oldPath, L"", L"none", L"36", L"3", L"Error accessing the file."};
    EXPECT_EQ(Walk(Command(true).Get()),
              (Rows{Group(L"One item does not exist"),
                    {L"a.prt", L"C:\\Vault\\Projects", L"C:\\Vault\\Archive", L"none", L"36", L"3",
                     L"The item does not exist"},
                    Group(L"3 items can not be moved on the local disk"),
                    {L"a:b", L"C:\\Vault", L"C:\\Vault\\B", L"none", L"36", L"3", L"The file/key name was invalid."},
                    {L"Sub", folder.LocalRoot(), folder.Path(L"New"), L"3", L"36", L"3",
                     L"An attempt was made to access a file that is exclusively opened by another application."},
                    {L"plain.prt", L"", L"", L"none", L"36", L"3", L"An unspecified error occurred."},
                    Group(L"Could not update file reference paths in 2 files on the local disk"), reference,
                    reference}));

    const auto failed = Command(false);
    const Rows rows = Walk(failed.Get());
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[2], Group(L"3 items could not be moved on the local disk", L"2"));
    EXPECT_EQ(rows[3][5], L"2");
    // Reference items explain nothing; the others ask their command object,
    // which without a connection says the user lacks "one of" the permissions.
    const Items groups = TopLevel(failed.Get());
    EXPECT_EQ(Problem(Children(failed.Get(), groups[2].Get())[0].Get()), (Texts{L"-5", L"-5", L"before"}));
    for (const size_t group : {0, 1}) {
        EXPECT_EQ(Problem(Children(failed.Get(), groups[group].Get())[0].Get()),
                  (Texts{L"36", L"-5", L"Lack one of permission to move this item"}));
    }
}

TEST_F(ReportTreeTest, ANameNotUniqueInTheVaultOffersTheFilesSharingIt) {
    const auto command = Command(true);
    EXPECT_TRUE(TopLevel(command.Get()).empty());
    Refused(6, 7, L"bolt.prt")->conflictName = L"bolt-2.prt";
    Refused(6, 8, L"nut.prt");
    const Items groups = TopLevel(command.Get());
    const std::wstring sentence = L"The file name, which needs to be unique in the file vault, has been used before.";
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(Describe(groups[0].Get())[0], sentence);  // no number in it: the same whatever the count
    const Items items = Children(command.Get(), groups[0].Get());
    ASSERT_EQ(items.size(), 2u);

    const auto commands = ComPtr<IFileRefItem3>::Query(items[0].Get(), IID_IFileRefItem3);
    VARIANT state;
    VariantInit(&state);
    EXPECT_EQ(commands->GetCommandState(11, 0, &state), S_OK);
    EXPECT_EQ(state.vt, VT_BOOL);
    EXPECT_EQ(state.boolVal, VARIANT_TRUE);
    EXPECT_EQ(Problem(items[0].Get()), (Texts{L"37", L"3", sentence}));
}

TEST_F(ReportTreeTest, GroupsAndItemsAsTheDialogWalksThem) {
    Refused(1);
    Refused(1, 0, L"", L"\\Projects\\A\\");
    const auto command = Command(true);
    const Items groups = TopLevel(command.Get());
    IFileRefItem* group = groups[0].Get();
    ComPtr<IUnknown> first, again;
    ASSERT_EQ(group->GetChildList(0, 0, first.Put()), S_OK);
    const Items items = Read(command.Get(), first.Get());
    ASSERT_EQ(items.size(), 2u);
    ASSERT_EQ(group->GetChildListAgain(0, 0, again.Put()), S_OK);
    EXPECT_EQ(again.Get(), first.Get());  // the same position, rewound
    EXPECT_EQ(Read(command.Get(), again.Get()).size(), 2u);

    // The group reads its children itself too; other kinds of children are the dialog's.
    ASSERT_EQ(group->GetChildList(0, 0, again.Put()), S_OK);
    const LONG itemKind = 1, otherKind = 2;
    ComPtr<IFileRefItem> child;
    EXPECT_EQ(group->GetNextChild(0, 0, 0, child.Put()), S_OK);
    EXPECT_EQ(child.Get(), items[0].Get());
    EXPECT_EQ(group->GetNextChildOfKind(0, 0, 0, &itemKind, child.Put()), S_OK);
    EXPECT_EQ(child.Get(), items[1].Get());
    EXPECT_EQ(group->GetNextChild(0, 0, 0, child.Put()), S_FALSE);
    EXPECT_EQ(child.Get(), nullptr);
    IFileRefItem* untouched = reinterpret_cast<IFileRefItem*>(0x1234);
    EXPECT_EQ(group->GetNextChildOfKind(0, 0, 0, &otherKind, &untouched), S_FALSE);
    EXPECT_EQ(untouched, reinterpret_cast<IFileRefItem*>(0x1234));
    EXPECT_EQ(items[0]->GetChildList(0, 0, again.Put()), S_FALSE);  // an item has no children
    EXPECT_EQ(again.Get(), nullptr);
    IFileRefItem* next = group;
    EXPECT_EQ(command->GetNext(0, items[0].Get(), &next), E_NOINTERFACE);  // nor is it a position
    EXPECT_EQ(next, nullptr);

    // An item answers the whole family, a group only as a list with an icon.
    for (const IID& iid : {IID_IFileRefItem2, IID_IFileRefItem3, IID_IFileRefItemIcon, IID_IEditableFileRefItem}) {
        EXPECT_TRUE(ComPtr<IUnknown>::Query(items[0].Get(), iid));
        HRESULT hr = E_FAIL;
        ComPtr<IUnknown>::Query(group, iid, &hr);
        EXPECT_EQ(hr, iid == IID_IFileRefItemIcon ? S_OK : E_NOINTERFACE);
    }
    std::set<std::wstring> keys;
    for (IFileRefItem* live : {group, items[0].Get(), items[1].Get()}) {
        EXPECT_EQ(ComPtr<IUnknown>::Query(live, IID_IUnknown).Get(), static_cast<IUnknown*>(live));
        BSTR key = nullptr;
        ASSERT_EQ(live->GetItemKey(&key), S_OK);
        keys.insert(Take(key));
    }
    EXPECT_EQ(keys.size(), 3u);  // every live item has its own key
}

TEST_F(ReportTreeTest, EveryObjectIsFreedWhenTheLastReferenceGoes) {
    const LONG before = RefObj::LiveObjects();
    Refused(1);
    request->errors.Append(new MoveErrorEntry(L"C:\\Vault\\a.prt", L"C:\\Vault\\B\\a.prt", E_FAIL, L""));
    ComPtr<IFileRefItem> kept;
    {
        const auto command = Command(false);
        const Items groups = TopLevel(command.Get());
        ASSERT_EQ(groups.size(), 2u);
        kept = Children(command.Get(), groups[1].Get())[0];
        EXPECT_GT(RefObj::LiveObjects(), before + 4);
    }
    // What the dialog still holds outlives the command object and the rest of the tree.
    EXPECT_EQ(RefObj::LiveObjects(), before + 1);
    EXPECT_EQ(Describe(kept.Get())[0], L"a.prt");
    kept.Reset();
    EXPECT_EQ(RefObj::LiveObjects(), before);
}

}  // namespace
