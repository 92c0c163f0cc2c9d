// What each add-in command tells about one item: identifiers, paths and names.
#include "filerefs/AddInRecords.h"
#include "interfaces/AddInHooks.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::pair<std::optional<std::wstring>, std::optional<std::wstring>>;
constexpr std::nullopt_t kNull = std::nullopt;

MoveItem Folder(int32_t folderId, int32_t destFolderId, std::wstring newName = L"") {
    return {0, folderId, destFolderId, std::move(newName)};
}
MoveItem File(int32_t fileId, int32_t folderId, int32_t destFolderId, std::wstring newName = L"") {
    return {fileId, folderId, destFolderId, std::move(newName)};
}

class AddInRecordsTest : public ::testing::Test {
protected:
    AddInItemRecord Describe(int32_t cmd, const MoveItem& item) const {
        return DescribeAddInItem(cmd, item, root, folderPaths, fileNames);
    }
    Texts TextsOf(int32_t cmd, const MoveItem& item) const {
        const AddInItemRecord record = Describe(cmd, item);
        return {record.text1, record.text2};
    }
    static std::tuple<int32_t, int32_t, int32_t> Ids(const AddInItemRecord& record) {
        return {record.id1, record.id2, record.id3};
    }

    std::wstring root = L"C:\\Vault";
    FolderPathMap folderPaths = {{4, L"\\Projects\\Old\\"}, {9, L"\\Archive\\"}, {12, L"\\Deep\\Run\\\\\\"},
                                 {1, L"\\"}};
    FileNameMap fileNames = {{70, L"bracket.prt"}};
};

TEST_F(AddInRecordsTest, AMovedFolderKeepsItsLastComponentBelowTheDestination) {
    for (const int32_t cmd : {kAddInFolderMoveBefore, kAddInFolderMoveAfter}) {
        const AddInItemRecord record = Describe(cmd, Folder(4, 9));
        EXPECT_EQ(Ids(record), std::make_tuple(4, 0, 9));
        EXPECT_EQ(record.text1, L"C:\\Vault\\Projects\\Old");
        EXPECT_EQ(record.text2, L"C:\\Vault\\Archive\\Old");
    }
    // A whole run of trailing backslashes goes, and starts no empty component.
    EXPECT_EQ(TextsOf(kAddInFolderMoveBefore, Folder(12, 9)), Texts(L"C:\\Vault\\Deep\\Run", L"C:\\Vault\\Archive\\Run"));
    // Into the vault's root folder.
    EXPECT_EQ(TextsOf(kAddInFolderMoveBefore, Folder(4, 1)), Texts(L"C:\\Vault\\Projects\\Old", L"C:\\Vault\\Old"));
}

TEST_F(AddInRecordsTest, AFolderMoveThatTheHostDidNotResolveCarriesOnlyItsIds) {
    const AddInItemRecord unresolved = Describe(kAddInFolderMoveBefore, Folder(44, 9));
    EXPECT_EQ(Ids(unresolved), std::make_tuple(44, 0, 9));
    EXPECT_EQ(Texts(unresolved.text1, unresolved.text2), Texts(kNull, kNull));
    // An unknown destination leaves only the new path out.
    EXPECT_EQ(TextsOf(kAddInFolderMoveAfter, Folder(4, 99)), Texts(L"C:\\Vault\\Projects\\Old", kNull));
}

TEST_F(AddInRecordsTest, ARenamedFolderGivesItsOldLastComponentAndTheNewName) {
    for (const int32_t cmd : {kAddInFolderRenameBefore, kAddInFolderRenameAfter}) {
        const AddInItemRecord record = Describe(cmd, Folder(4, 9, L"New"));
        EXPECT_EQ(Ids(record), std::make_tuple(4, 9, 0));
        EXPECT_EQ(Texts(record.text1, record.text2), Texts(L"Old", L"New"));
    }
    EXPECT_EQ(TextsOf(kAddInFolderRenameBefore, Folder(12, 0, L"Walk")), Texts(L"Run", L"Walk"));
    // Unresolved folders still say both texts: empty, not null.
    EXPECT_EQ(TextsOf(kAddInFolderRenameBefore, Folder(44, 0, L"X")), Texts(L"", L"X"));
}

TEST_F(AddInRecordsTest, AMovedFileGivesBothFullPathsOnlyWhenEverythingResolved) {
    for (const int32_t cmd : {kAddInFileMoveBefore, kAddInFileMoveAfter}) {
        const AddInItemRecord record = Describe(cmd, File(70, 4, 9));
        EXPECT_EQ(Ids(record), std::make_tuple(70, 4, 9));
        EXPECT_EQ(Texts(record.text1, record.text2),
                  Texts(L"C:\\Vault\\Projects\\Old\\bracket.prt", L"C:\\Vault\\Archive\\bracket.prt"));
    }
    for (const MoveItem& partly : {File(71, 4, 9), File(70, 44, 9), File(70, 4, 99)}) {
        const AddInItemRecord record = Describe(kAddInFileMoveBefore, partly);
        EXPECT_EQ(Ids(record), std::make_tuple(partly.fileId, partly.folderId, partly.destFolderId));
        EXPECT_EQ(Texts(record.text1, record.text2), Texts(kNull, kNull));
    }
}

TEST_F(AddInRecordsTest, ARenamedFileGivesItsOldAndNewName) {
    for (const int32_t cmd : {kAddInFileRenameBefore, kAddInFileRenameAfter}) {
        const AddInItemRecord record = Describe(cmd, File(70, 4, 9, L"plate.prt"));
        EXPECT_EQ(Ids(record), std::make_tuple(70, 4, 0));
        EXPECT_EQ(Texts(record.text1, record.text2), Texts(L"bracket.prt", L"plate.prt"));
    }
    EXPECT_EQ(TextsOf(kAddInFileRenameBefore, File(71, 4, 4, L"y.prt")), Texts(L"", L"y.prt"));
}

}  // namespace
