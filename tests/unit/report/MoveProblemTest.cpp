// The explanation of a refused move from the rights on the item's folders.
#include "report/MoveProblem.h"

#include "environment/FolderRights.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

constexpr uint32_t kAllSource = kRightMoveFiles | kRightReadContents | kRightMoveFolders;
const std::wstring kSource = L"C:\\Vault\\Parts", kTarget = L"C:\\Vault\\Archive";

// Rights per folder, and the folders asked, in order.
struct Rights {
    std::map<std::wstring, uint32_t> known;
    std::vector<std::wstring> asked;
    Msg For(bool isFolder) {
        asked.clear();
        return MoveProblem(isFolder, kSource, kTarget, [this](const std::wstring& folder) -> std::optional<uint32_t> {
            asked.push_back(folder);
            const auto found = known.find(folder);
            if (found == known.end()) return std::nullopt;
            return found->second;
        });
    }
};

TEST(MoveProblem, ATargetWithoutAddPermissionIsTheAnswerWhateverTheSource) {
    Rights rights{{{kTarget, ~kRightAddFile}, {kSource, kAllSource}}, {}};
    EXPECT_EQ(rights.For(false), Msg::NoAddPermission);
    EXPECT_EQ(rights.asked, std::vector<std::wstring>{kTarget});
    // A folder needs its own add permission: the file's is not enough, and the file does not need the folder's.
    rights.known[kTarget] = kRightAddFile;
    EXPECT_EQ(rights.For(true), Msg::NoAddPermission);
    EXPECT_NE(rights.For(false), Msg::NoAddPermission);
    rights.known[kTarget] = kRightAddFolder;
    EXPECT_EQ(rights.For(false), Msg::NoAddPermission);
    EXPECT_NE(rights.For(true), Msg::NoAddPermission);
}

TEST(MoveProblem, TheFirstRightMissingOnTheSourceNamesTheMessage) {
    const struct {
        bool isFolder;
        uint32_t source;
        Msg expected;
    } cases[] = {
        {false, kAllSource & ~kRightMoveFiles, Msg::NoMoveFilePermission},
        {false, kRightMoveFiles | kRightMoveFolders, Msg::NoReadFilePermission},
        {false, kRightMoveFiles | kRightReadContents, Msg::NoMoveParentFolderPermission},
        {false, kAllSource, Msg::LacksAMovePermission},
        {true, kAllSource & ~kRightMoveFolders, Msg::NoMoveFolderPermission},
        {true, kRightMoveFolders | kRightReadContents, Msg::NoMoveSubfolderFilePermission},
        {true, kRightMoveFolders | kRightMoveFiles, Msg::NoReadFilePermission},
        {true, kAllSource, Msg::LacksAMovePermission},
    };
    for (const auto& c : cases) {
        Rights rights{{{kTarget, kRightAddFile | kRightAddFolder}, {kSource, c.source}}, {}};
        EXPECT_EQ(rights.For(c.isFolder), c.expected) << c.isFolder << " " << std::hex << c.source;
        EXPECT_EQ(rights.asked, (std::vector<std::wstring>{kTarget, kSource}));
    }
}

TEST(MoveProblem, RightsThatCannotBeReadExplainNothing) {
    Rights none;
    EXPECT_EQ(none.For(false), Msg::LacksAMovePermission);
    EXPECT_EQ(none.asked, std::vector<std::wstring>{kTarget});  // the source is not asked
    Rights targetOnly{{{kTarget, kRightAddFile | kRightAddFolder}}, {}};
    EXPECT_EQ(targetOnly.For(true), Msg::LacksAMovePermission);
    EXPECT_EQ(targetOnly.For(false), Msg::LacksAMovePermission);
}

}  // namespace
