// The report tree as the dialog walks it: groups and items built from the
// request's three failure lists, through the command object's interfaces.
#include "common/Bstr.h"
#include "common/ComPtr.h"
#include "move/Mover.h"
#include "report/FileRefCmdDbErrors.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace {

using Items = std::vector<ComPtr<IFileRefItem>>;
using Texts = std::vector<std::wstring>;

std::wstring Take(BSTR text) { return Bstr::Attach(text).Text(); }

std::wstring DisplayName(IFileRefItem* item) {
    BSTR text = nullptr;
    EXPECT_EQ(item->GetDisplayName(0, &text), S_OK);
    return Take(text);
}

Texts DisplayNames(const Items& items) {
    Texts names;
    for (const auto& item : items) names.push_back(DisplayName(item.Get()));
    return names;
}

std::wstring Name(IFileRefItem* item) {
    BSTR text = nullptr;
    EXPECT_EQ(item->GetName(0, &text), S_OK);
    return Take(text);
}

std::wstring Folder(IFileRefItem* item) {
    BSTR text = nullptr;
    EXPECT_EQ(item->GetFolder(0, &text), S_OK);
    return Take(text);
}

std::wstring TargetFolder(IFileRefItem* item) {
    const auto editable = ComPtr<IEditableFileRefItem>::Query(item, IID_IEditableFileRefItem);
    BSTR text = nullptr;
    EXPECT_EQ(editable->GetTargetFolder(0, &text), S_OK);
    return Take(text);
}

struct Status {
    LONG code = 0;
    LONG type = 0;
    std::wstring text;
};

Status StatusOf(IFileRefItem* item) {
    Status status;
    BSTR text = nullptr;
    EXPECT_EQ(item->GetStatus(0, &status.code, &status.type, &text), S_OK);
    status.text = Take(text);
    return status;
}

// The icon value, or nothing when the item has none (S_FALSE, VT_EMPTY).
std::optional<USHORT> Icon(IFileRefItem* item) {
    const auto icon = ComPtr<IFileRefItemIcon>::Query(item, IID_IFileRefItemIcon);
    VARIANT value;
    VariantInit(&value);
    const HRESULT hr = icon->GetIcon(&value);
    if (hr == S_FALSE && value.vt == VT_EMPTY) return std::nullopt;
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(value.vt, VT_UI2);
    return value.uiVal;
}

class ReportTreeTest : public ::testing::Test {
protected:
    ReportTreeTest() { CoInitialize(nullptr); }
    ~ReportTreeTest() override { CoUninitialize(); }

    ComPtr<IFileRefCmd> Command(bool cannotMode, const std::wstring& description = L"Some items could not be moved.") {
        return ComPtr<IFileRefCmd>::Borrow(new FileRefCmdDbErrors(&mover, description, cannotMode));
    }

    DbMoveError* Refused(int32_t kind, int32_t fileId = 7, std::wstring itemName = L"a.prt",
                         std::wstring oldFolder = L"\\Projects\\", std::wstring newFolder = L"\\Archive\\") {
        auto* failure = new DbMoveError;
        failure->kind = kind;
        failure->fileId = fileId;
        failure->itemName = std::move(itemName);
        failure->oldFolder = std::move(oldFolder);
        failure->newFolder = std::move(newFolder);
        request->dbErrors.Append(failure);
        return failure;
    }

    // Every item of a position, read through the command object.
    static Items Read(IFileRefCmd* command, IUnknown* position) {
        Items items;
        for (;;) {
            IFileRefItem* item = nullptr;
            const HRESULT hr = command->GetNext(0, position, &item);
            if (hr == S_FALSE) {
                EXPECT_EQ(item, nullptr);
                return items;
            }
            EXPECT_EQ(hr, S_OK);
            items.push_back(ComPtr<IFileRefItem>::Attach(item));
        }
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

    TestFolder folder;
    RecordingHost host;
    OwnedRequest request{L"C:\\Vault"};
    Mover mover{nullptr, &host, request.get(), false};
};

TEST_F(ReportTreeTest, DatabaseFailuresFormOneCountedGroupPerKindInFirstSeenOrder) {
    for (int32_t kind : {1, 4, 1, 13, 1, 7, 20, 7}) Refused(kind);
    const auto command = Command(true);
    const Items groups = TopLevel(command.Get());
    EXPECT_EQ(DisplayNames(groups), (Texts{L"3 items do not exist", L"One name is already used",
                                           L"There is one unknown error", L"The path is too long.",
                                           L"There is one unknown error"}));
    // A group is a list, not a failure; its icon says that its items were refused.
    const Status status = StatusOf(groups[0].Get());
    EXPECT_EQ(status.code, 36);
    EXPECT_EQ(status.type, 4);
    EXPECT_EQ(status.text, L"");
    EXPECT_EQ(Icon(groups[0].Get()), 16);
    EXPECT_EQ(Name(groups[0].Get()), L"%d items do not exist");  // the counted format as stored

    EXPECT_EQ(Children(command.Get(), groups[0].Get()).size(), 3u);
    EXPECT_EQ(StatusOf(Children(command.Get(), groups[1].Get())[0].Get()).text,
              L"An item with the same name already exists");
    const Items unknown = Children(command.Get(), groups[4].Get());
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_EQ(StatusOf(unknown[0].Get()).text, L"An unspecified error occurred.");
    EXPECT_EQ(StatusOf(unknown[0].Get()).type, 3);
}

TEST_F(ReportTreeTest, DatabaseItemsArePlacedBelowTheLocalRoot) {
    Refused(2, 7, L"shaft.prt", L"\\Projects\\Gear\\", L"\\Archive\\\\");
    Refused(2, 0, L"ignored", L"\\Projects\\A\\", L"\\Archive\\");  // a folder
    Refused(3, 8, L"b.prt", L"\\Parts\\", L"\\PARTS\\");            // stays in its folder: a rename
    Refused(3, 9, L"c.prt", L"\\Parts\\", L"\\Archive\\");
    const auto command = Command(true);
    const Items groups = TopLevel(command.Get());
    ASSERT_EQ(DisplayNames(groups), (Texts{L"2 files are checked out", L"You lack permission to process 2 files"}));

    const Items checkedOut = Children(command.Get(), groups[0].Get());
    ASSERT_EQ(checkedOut.size(), 2u);
    EXPECT_EQ(Name(checkedOut[0].Get()), L"shaft.prt");
    EXPECT_EQ(Folder(checkedOut[0].Get()), L"C:\\Vault\\Projects\\Gear");
    EXPECT_EQ(TargetFolder(checkedOut[0].Get()), L"C:\\Vault\\Archive");
    EXPECT_EQ(Icon(checkedOut[0].Get()), std::nullopt);
    EXPECT_EQ(StatusOf(checkedOut[0].Get()).text, L"The file is checked out on another computer");
    EXPECT_EQ(Name(checkedOut[1].Get()), L"A");
    EXPECT_EQ(Folder(checkedOut[1].Get()), L"C:\\Vault\\Projects");
    EXPECT_EQ(Icon(checkedOut[1].Get()), 3);

    const Items noPermission = Children(command.Get(), groups[1].Get());
    ASSERT_EQ(noPermission.size(), 2u);
    EXPECT_EQ(StatusOf(noPermission[0].Get()).text, L"You lack permission to rename this item");
    EXPECT_EQ(StatusOf(noPermission[1].Get()).text, L"You lack permission to move this item");
}

TEST_F(ReportTreeTest, LocalFailuresAreWordedByWhetherAnythingWasAttempted) {
    request->errors.Append(new MoveErrorEntry(L"C:\\Vault\\a.prt", L"C:\\Vault\\B\\a.prt", E_QOR_NAME_ALREADY_EXISTS, L""));
    request->errors.Append(new MoveErrorEntry(L"C:\\Vault\\b.prt", L"C:\\Vault\\B\\b.prt", E_QOR_FILE_SHARE_ERROR, L""));
    const Items refused = TopLevel(Command(true).Get());
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(DisplayName(refused[0].Get()), L"2 items can not be moved on the local disk");
    EXPECT_EQ(Icon(refused[0].Get()), 16);

    request->errors.DeleteAll();
    request->errors.Append(new MoveErrorEntry(L"C:\\Vault\\a.prt", L"C:\\Vault\\B\\a.prt", E_QOR_FILE_SHARE_ERROR, L""));
    const auto command = Command(false);
    const Items failed = TopLevel(command.Get());
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(DisplayName(failed[0].Get()), L"One item could not be moved on the local disk");
    EXPECT_EQ(Icon(failed[0].Get()), 2);
    const Items items = Children(command.Get(), failed[0].Get());
    ASSERT_EQ(items.size(), 1u);
    const Status status = StatusOf(items[0].Get());
    EXPECT_EQ(status.type, 2);
    EXPECT_EQ(status.text,
              L"An attempt was made to access a file that is exclusively opened by another application.");
}

TEST_F(ReportTreeTest, ModuleEntriesNameTheirItemsByDetailOrTarget) {
    folder.MakeFolder(L"Sub");
    request->errors.Append(new MoveErrorEntry(L"C:\\Vault\\a.prt", L"C:\\Vault\\B\\a:b", E_QOR_INVALID_NAME, L"a:b"));
    request->errors.Append(new MoveErrorEntry(folder.Path(L"Sub"), folder.Path(L"New\\Sub"), E_FAIL, L""));
    request->errors.Append(new MoveErrorEntry(L"noslash", L"plain.prt", E_FAIL, L""));
    const auto command = Command(true);
    const Items items = Children(command.Get(), TopLevel(command.Get())[0].Get());
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(Name(items[0].Get()), L"a:b");
    EXPECT_EQ(Folder(items[0].Get()), L"C:\\Vault");
    EXPECT_EQ(TargetFolder(items[0].Get()), L"C:\\Vault\\B");
    EXPECT_EQ(StatusOf(items[0].Get()).text, L"The file/key name was invalid.");
    EXPECT_EQ(Icon(items[0].Get()), std::nullopt);
    // A source that exists as a folder on disk shows as a folder.
    EXPECT_EQ(Name(items[1].Get()), L"Sub");
    EXPECT_EQ(Folder(items[1].Get()), folder.LocalRoot());
    EXPECT_EQ(Icon(items[1].Get()), 3);
    // Paths without a backslash leave nothing to cut.
    EXPECT_EQ(Name(items[2].Get()), L"plain.prt");
    EXPECT_EQ(Folder(items[2].Get()), L"");
    EXPECT_EQ(TargetFolder(items[2].Get()), L"");
}

TEST_F(ReportTreeTest, ReferenceFailuresComeLastAndExplainNothing) {
    auto* refFile = new RefFile;
    refFile->oldPath = L"C:\\Vault\\Asm\\top.asm";
    request->refFiles.Append(refFile);
    request->refErrors.Append(new MoveErrorEntry(refFile, E_QOR_IO_ERROR));
    request->refErrors.Append(new MoveErrorEntry(refFile, E_QOR_IO_ERROR));
    request->errors.Append(new MoveErrorEntry(L"C:\\Vault\\a.prt", L"C:\\Vault\\B\\a.prt", E_QOR_FILE_SHARE_ERROR, L""));
    Refused(1);
    const auto command = Command(false);
    const Items groups = TopLevel(command.Get());
    EXPECT_EQ(DisplayNames(groups),
              (Texts{L"One item does not exist", L"One item could not be moved on the local disk",
                     L"Could not update file reference paths in 2 files on the local disk"}));

    const Items references = Children(command.Get(), groups[2].Get());
    ASSERT_EQ(references.size(), 2u);
    EXPECT_EQ(Name(references[0].Get()), L"top.asm");
    EXPECT_EQ(Folder(references[0].Get()), L"C:\\Vault\\Asm\\top.asm");
    EXPECT_EQ(StatusOf(references[0].Get()).text, L"Error accessing the file.");
    const auto editable = ComPtr<IEditableFileRefItem>::Query(references[0].Get(), IID_IEditableFileRefItem);
    LONG code = -5, type = -5;
    BSTR text = SysAllocString(L"kept");
    EXPECT_EQ(editable->GetMoveProblem(0, &code, &type, &text), S_OK);
    EXPECT_EQ(code, -5);
    EXPECT_EQ(type, -5);
    EXPECT_EQ(Take(text), L"kept");

    // Local and database items ask their command object; without a connection
    // every one of them lacks "one of" the permissions.
    for (const Items& items : {Children(command.Get(), groups[0].Get()), Children(command.Get(), groups[1].Get())}) {
        const auto owned = ComPtr<IEditableFileRefItem>::Query(items[0].Get(), IID_IEditableFileRefItem);
        code = type = -5;
        text = SysAllocString(L"replaced");
        EXPECT_EQ(owned->GetMoveProblem(0, &code, &type, &text), S_OK);
        EXPECT_EQ(code, 36);
        EXPECT_EQ(type, -5);
        EXPECT_EQ(Take(text), L"Lack one of permission to move this item");
    }
}

TEST_F(ReportTreeTest, ANameNotUniqueInTheVaultOffersTheFilesSharingIt) {
    Refused(6, 7, L"bolt.prt")->conflictName = L"bolt-2.prt";
    Refused(6, 8, L"nut.prt");
    const auto command = Command(true);
    const Items groups = TopLevel(command.Get());
    ASSERT_EQ(groups.size(), 1u);
    // The group's text has no number in it: the same whatever the count.
    EXPECT_EQ(DisplayName(groups[0].Get()),
              L"The file name, which needs to be unique in the file vault, has been used before.");
    const Items items = Children(command.Get(), groups[0].Get());
    ASSERT_EQ(items.size(), 2u);

    const auto commands = ComPtr<IFileRefItem3>::Query(items[0].Get(), IID_IFileRefItem3);
    VARIANT state;
    VariantInit(&state);
    EXPECT_EQ(commands->GetCommandState(11, 0, &state), S_OK);
    EXPECT_EQ(state.vt, VT_BOOL);
    EXPECT_EQ(state.boolVal, VARIANT_TRUE);
    EXPECT_EQ(commands->GetCommandState(12, 0, &state), S_OK);
    EXPECT_EQ(state.vt, VT_EMPTY);
    EXPECT_EQ(commands->InvokeCommand(11, 0, 0), S_OK);

    const auto editable = ComPtr<IEditableFileRefItem>::Query(items[0].Get(), IID_IEditableFileRefItem);
    LONG code = 0, type = 0;
    BSTR text = nullptr;
    EXPECT_EQ(editable->GetMoveProblem(0, &code, &type, &text), S_OK);
    EXPECT_EQ(code, 37);
    EXPECT_EQ(type, 3);
    EXPECT_EQ(Take(text), L"The file name, which needs to be unique in the file vault, has been used before.");
}

TEST_F(ReportTreeTest, EveryCallForTheTopLevelBuildsANewTree) {
    Refused(1);
    const auto command = Command(true);
    ComPtr<IUnknown> first, second;
    ASSERT_EQ(command->GetTopLevel(0, first.Put()), S_OK);
    Refused(1);  // the second tree sees the lists as they stand
    ASSERT_EQ(command->GetTopLevel(0, second.Put()), S_OK);
    EXPECT_NE(first.Get(), second.Get());
    const Items firstGroups = Read(command.Get(), first.Get());
    const Items secondGroups = Read(command.Get(), second.Get());
    ASSERT_EQ(firstGroups.size(), 1u);
    ASSERT_EQ(secondGroups.size(), 1u);
    EXPECT_NE(firstGroups[0].Get(), secondGroups[0].Get());
    EXPECT_EQ(DisplayName(firstGroups[0].Get()), L"One item does not exist");
    EXPECT_EQ(DisplayName(secondGroups[0].Get()), L"2 items do not exist");
}

TEST_F(ReportTreeTest, EmptyListsGiveAnEmptyTopLevel) {
    EXPECT_TRUE(TopLevel(Command(true).Get()).empty());
}

TEST_F(ReportTreeTest, ColumnsAndTextsForTheDialog) {
    const auto command = Command(true, L"The new file name is not valid.");
    SAFEARRAY* columns = nullptr;
    SAFEARRAY* shown = nullptr;
    LONG flags = 0;
    EXPECT_EQ(command->GetColumns(nullptr, &shown, &flags), E_POINTER);
    EXPECT_EQ(command->GetColumns(&columns, &shown, nullptr), E_POINTER);
    ASSERT_EQ(command->GetColumns(&columns, &shown, &flags), S_OK);
    EXPECT_EQ(flags, 0x18C00);
    EXPECT_NE(columns, shown);
    for (SAFEARRAY* array : {columns, shown}) {
        VARTYPE type = VT_EMPTY;
        SafeArrayGetVartype(array, &type);
        EXPECT_EQ(type, VT_I4);
        EXPECT_EQ(SafeArrayGetDim(array), 1u);
        std::vector<LONG> values;
        for (LONG i = 0; i < static_cast<LONG>(array->rgsabound[0].cElements); ++i) {
            LONG value = 0;
            SafeArrayGetElement(array, &i, &value);
            values.push_back(value);
        }
        EXPECT_EQ(values, (std::vector<LONG>{0, 1, 2, 4, 25}));
        SafeArrayDestroy(array);
    }

    auto text = [&](LONG number) {
        BSTR b = nullptr;
        EXPECT_EQ(command->GetText(number, &b), S_OK);
        EXPECT_NE(b, nullptr);
        return Take(b);
    };
    EXPECT_EQ(text(0), L"Rename Item");  // no item keeps its name
    EXPECT_EQ(text(1), L"");
    EXPECT_EQ(text(2), L"The new file name is not valid.");
    EXPECT_EQ(text(3), L"");
    request.AddFile(7, 2, 3);
    EXPECT_EQ(text(0), L"Move Items");
}

// Answers every query with a code of its own choosing.
class ForeignPosition : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_UNEXPECTED;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

TEST_F(ReportTreeTest, APositionFromElsewhereIsRefusedWithItsOwnAnswer) {
    Refused(1);
    const auto command = Command(true);
    ForeignPosition foreign;
    IFileRefItem* item = reinterpret_cast<IFileRefItem*>(&foreign);
    EXPECT_EQ(command->GetNext(0, &foreign, &item), E_UNEXPECTED);
    EXPECT_EQ(item, nullptr);
    // An item of the tree is no position either.
    const Items groups = TopLevel(command.Get());
    EXPECT_EQ(command->GetNext(0, groups[0].Get(), &item), E_NOINTERFACE);
}

class ReportItemTest : public ReportTreeTest {
protected:
    ReportItemTest() {
        Refused(1);
        Refused(1, 0, L"", L"\\Projects\\A\\");
        command = Command(true);
        groups = TopLevel(command.Get());
    }
    ComPtr<IFileRefCmd> command;
    Items groups;
};

TEST_F(ReportItemTest, AGroupHandsOutItsChildrenFromTheStartEveryTime) {
    IFileRefItem* group = groups[0].Get();
    ComPtr<IUnknown> first, again;
    ASSERT_EQ(group->GetChildList(0, 0, first.Put()), S_OK);
    EXPECT_EQ(Read(command.Get(), first.Get()).size(), 2u);
    ASSERT_EQ(group->GetChildListAgain(0, 0, again.Put()), S_OK);
    EXPECT_EQ(again.Get(), first.Get());  // the same position, rewound
    EXPECT_EQ(Read(command.Get(), again.Get()).size(), 2u);

    // The group reads its children itself too, and ends with S_FALSE and null.
    ASSERT_EQ(group->GetChildList(0, 0, again.Put()), S_OK);
    const LONG itemKind = 1, otherKind = 2;
    ComPtr<IFileRefItem> child;
    EXPECT_EQ(group->GetNextChild(0, 0, 0, child.Put()), S_OK);
    EXPECT_EQ(Name(child.Get()), L"a.prt");
    EXPECT_EQ(group->GetNextChildOfKind(0, 0, 0, &itemKind, child.Put()), S_OK);
    EXPECT_EQ(Name(child.Get()), L"A");
    EXPECT_EQ(group->GetNextChild(0, 0, 0, child.Put()), S_FALSE);
    EXPECT_EQ(child.Get(), nullptr);
    IFileRefItem* untouched = reinterpret_cast<IFileRefItem*>(0x1234);
    EXPECT_EQ(group->GetNextChildOfKind(0, 0, 0, &otherKind, &untouched), S_FALSE);
    EXPECT_EQ(untouched, reinterpret_cast<IFileRefItem*>(0x1234));
}

TEST_F(ReportItemTest, AnErrorItemHasNoChildren) {
    const Items items = Children(command.Get(), groups[0].Get());
    ComPtr<IUnknown> position;
    EXPECT_EQ(items[0]->GetChildList(0, 0, position.Put()), S_FALSE);
    EXPECT_EQ(items[0]->GetChildListAgain(0, 0, position.Put()), S_FALSE);
    EXPECT_EQ(position.Get(), nullptr);
    ComPtr<IFileRefItem> child;
    EXPECT_EQ(items[0]->GetNextChild(0, 0, 0, child.Put()), S_FALSE);
    const LONG itemKind = 1;
    EXPECT_EQ(items[0]->GetNextChildOfKind(0, 0, 0, &itemKind, child.Put()), S_FALSE);
}

TEST_F(ReportItemTest, AnErrorItemAnswersEveryInterfaceOfTheFamilyAGroupOnlyTwo) {
    const Items items = Children(command.Get(), groups[0].Get());
    IFileRefItem* item = items[0].Get();
    const IID all[] = {IID_IUnknown, IID_IFileRefItem, IID_IFileRefItem2, IID_IFileRefItem3, IID_IFileRefItemIcon,
                       IID_IEditableFileRefItem};
    for (const IID& iid : all) EXPECT_TRUE(ComPtr<IUnknown>::Query(item, iid));
    EXPECT_EQ(ComPtr<IUnknown>::Query(item, IID_IUnknown).Get(), ComPtr<IUnknown>::Query(item, IID_IUnknown).Get());
    EXPECT_EQ(ComPtr<IUnknown>::Query(item, IID_IUnknown).Get(), static_cast<IUnknown*>(item));
    EXPECT_FALSE(ComPtr<IUnknown>::Query(item, IID_IFileRefCmd));

    IFileRefItem* group = groups[0].Get();
    EXPECT_EQ(ComPtr<IUnknown>::Query(group, IID_IUnknown).Get(), static_cast<IUnknown*>(group));
    EXPECT_TRUE(ComPtr<IUnknown>::Query(group, IID_IFileRefItemIcon));
    for (const IID& iid : {IID_IFileRefItem2, IID_IFileRefItem3, IID_IEditableFileRefItem}) {
        HRESULT hr = S_OK;
        EXPECT_FALSE(ComPtr<IUnknown>::Query(group, iid, &hr));
        EXPECT_EQ(hr, E_NOINTERFACE);
    }
}

TEST_F(ReportItemTest, EveryLiveItemHasItsOwnKey) {
    std::set<std::wstring> keys;
    size_t count = 0;
    for (const auto& group : groups) {
        Items all = Children(command.Get(), group.Get());
        all.push_back(group);
        for (const auto& item : all) {
            BSTR key = nullptr;
            ASSERT_EQ(item->GetItemKey(&key), S_OK);
            keys.insert(Take(key));
            ++count;
        }
    }
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(keys.size(), count);
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
    EXPECT_EQ(Name(kept.Get()), L"a.prt");
    kept.Reset();
    EXPECT_EQ(RefObj::LiveObjects(), before);
}

}  // namespace
