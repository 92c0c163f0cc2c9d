// What each add-in command tells about one item: identifiers, paths and names.
#include "filerefs/AddInRecords.h"
#include "interfaces/AddInHooks.h"

#include <gtest/gtest.h>

namespace {

using Ids = std::tuple<int32_t, int32_t, int32_t>;
using Texts = std::pair<std::optional<std::wstring>, std::optional<std::wstring>>;
using Commands = std::pair<int32_t, int32_t>;  // before and after the change, which describe an item alike
constexpr std::nullopt_t kNull = std::nullopt;
const Commands kFolderMove{kAddInFolderMoveBefore, kAddInFolderMoveAfter};
const Commands kFolderRename{kAddInFolderRenameBefore, kAddInFolderRenameAfter};
const Commands kFileMove{kAddInFileMoveBefore, kAddInFileMoveAfter};
const Commands kFileRename{kAddInFileRenameBefore, kAddInFileRenameAfter};

MoveItem Folder(int32_t folderId, int32_t destFolderId, std::wstring newName = L"") {
    return {0, folderId, destFolderId, std::move(newName)};
}
MoveItem File(int32_t fileId, int32_t folderId, int32_t destFolderId, std::wstring newName = L"") {
    return {fileId, folderId, destFolderId, std::move(newName)};
}

TEST(AddInRecords, EachCommandDescribesItsItemByIdsAndTheTextsThatResolved) {
    const FolderPathMap folderPaths = {
        {4, L"\\Projects\\Old\\"}, {9, L"\\Archive\\"}, {12, L"\\Deep\\Run\\\\\\"}, {1, L"\\"}};
    const FileNameMap fileNames = {{70, L"bracket.prt"}};
    const std::wstring old = L"C:\\Vault\\Projects\\Old";
    const struct {
        const char* what;
        Commands commands;
        MoveItem item;
        Ids ids;
        Texts texts;
    } rows[] = {
        {"a moved folder keeps its last component", kFolderMove, Folder(4, 9), {4, 0, 9},
         {old, L"C:\\Vault\\Archive\\Old"}},
        {"a run of trailing backslashes starts no empty component", kFolderMove, Folder(12, 9), {12, 0, 9},
         {L"C:\\Vault\\Deep\\Run", L"C:\\Vault\\Archive\\Run"}},
        {"into the vault's root folder", kFolderMove, Folder(4, 1), {4, 0, 1}, {old, L"C:\\Vault\\Old"}},
        {"an unresolved folder carries only its ids", kFolderMove, Folder(44, 9), {44, 0, 9}, {kNull, kNull}},
        {"an unknown destination leaves the new path out", kFolderMove, Folder(4, 99), {4, 0, 99}, {old, kNull}},
        {"a renamed folder", kFolderRename, Folder(4, 9, L"New"), {4, 9, 0}, {L"Old", L"New"}},
        {"a renamed folder with trailing backslashes", kFolderRename, Folder(12, 0, L"Walk"), {12, 0, 0},
         {L"Run", L"Walk"}},
        {"an unresolved renamed folder: empty, not null", kFolderRename, Folder(44, 0, L"X"), {44, 0, 0},
         {L"", L"X"}},
        {"a moved file", kFileMove, File(70, 4, 9), {70, 4, 9},
         {old + L"\\bracket.prt", L"C:\\Vault\\Archive\\bracket.prt"}},
        {"a moved file of unknown name", kFileMove, File(71, 4, 9), {71, 4, 9}, {kNull, kNull}},
        {"a moved file from an unknown folder", kFileMove, File(70, 44, 9), {70, 44, 9}, {kNull, kNull}},
        {"a moved file to an unknown folder", kFileMove, File(70, 4, 99), {70, 4, 99}, {kNull, kNull}},
        {"a renamed file", kFileRename, File(70, 4, 9, L"plate.prt"), {70, 4, 0}, {L"bracket.prt", L"plate.prt"}},
        {"a renamed file of unknown name", kFileRename, File(71, 4, 4, L"y.prt"), {71, 4, 0}, {L"", L"y.prt"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        for (const int32_t cmd : {row.commands.first, row.commands.second}) {
            const AddInItemRecord record = DescribeAddInItem(cmd, row.item, L"C:\\Vault", folderPaths, fileNames);
            EXPECT_EQ(Ids(record.id1, record.id2, record.id3), row.ids) << cmd;
            EXPECT_EQ(Texts(record.text1, record.text2), row.texts) << cmd;
        }
    }
}

}  // namespace
