#include "move/Mover.h"
#include "move/NameValidation.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

namespace {

TEST(IsValidFileName, RefusesEachOfTheTwelveCharacters) {
    for (const wchar_t* name : {L"a/b", L"a\\b", L"a:b", L"a*", L"what?", L"say \"hi\"", L"x<y", L"x>y", L"a|b",
                                L"line\rbreak", L"line\nfeed", L"vertical\vtab"}) {
        EXPECT_FALSE(IsValidFileName(name)) << name;
    }
}

TEST(IsValidFileName, RefusesPeriodsOnlyButAcceptsPeriodsWithText) {
    EXPECT_FALSE(IsValidFileName(L"."));
    EXPECT_FALSE(IsValidFileName(L".."));
    EXPECT_FALSE(IsValidFileName(L"..."));
    for (const wchar_t* name : {L".hidden", L"trailing.", L"a..b", L"a.b.c"}) EXPECT_TRUE(IsValidFileName(name)) << name;
}

TEST(IsValidFileName, AcceptsWhatTheRulesDoNotName) {
    for (const wchar_t* name : {L"", L"tab\there", L"bell\a", L" spaces ", L"CON", L"nul.txt", L"\x00e9t\x00e9.prt"}) {
        EXPECT_TRUE(IsValidFileName(name)) << name;
    }
}

class MoverTest : public ::testing::Test {
protected:
    RecordingHost host;
    OwnedRequest request{L"C:\\Vault"};
    Mover mover{nullptr, &host, request.get(), true};

    std::vector<MoveErrorEntry*> Errors() { return Elements(request->errors); }
};

TEST_F(MoverTest, DesktopIniIsReservedInAnyCase) {
    EXPECT_FALSE(mover.ValidateTargetName(L"Desktop.INI", L"C:\\old", L"C:\\new"));
    EXPECT_TRUE(mover.ValidateTargetName(L"desktop.ini.bak", L"C:\\old", L"C:\\new"));
    ASSERT_EQ(Errors().size(), 1u);
    const MoveErrorEntry& entry = *Errors()[0];
    EXPECT_EQ(entry.code, E_QOR_INVALID_NAME);
    EXPECT_EQ(entry.path, L"C:\\old");
    EXPECT_EQ(entry.newPath, L"C:\\new");
    EXPECT_EQ(entry.detail, L"Desktop.INI");
    EXPECT_EQ(entry.refFile, nullptr);
}

TEST_F(MoverTest, NewNamesOfItemsAreCheckedWithTheirFullPaths) {
    request.AddFile(7, 2, 2, L"a:b");      // renamed in place
    request.AddFile(8, 2, 3, L"ok.prt");   // moved and renamed, valid
    request.AddFile(9, 2, 0, L"x|y");      // destination 0 stays in the folder
    request.AddFile(10, 2, 3, L"c*");      // moved to folder 3
    request.AddFolder(4, 4, L"...");       // a folder has no old name
    request.AddFile(11, 2, 3);             // not renamed: not checked
    const FolderPathMap folders{{2, L"\\Parts\\"}, {3, L"\\Archive\\"}, {4, L"\\Old\\"}};
    const FileNameMap files{{7, L"a.prt"}, {9, L"c.prt"}, {10, L"d.prt"}};

    EXPECT_FALSE(mover.ValidateNames(folders, files));

    const auto errors = Errors();
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[0]->path, L"C:\\Vault\\Parts\\a.prt");
    EXPECT_EQ(errors[0]->newPath, L"C:\\Vault\\Parts\\a:b");
    EXPECT_EQ(errors[1]->newPath, L"C:\\Vault\\Parts\\x|y");
    EXPECT_EQ(errors[2]->path, L"C:\\Vault\\Parts\\d.prt");
    EXPECT_EQ(errors[2]->newPath, L"C:\\Vault\\Archive\\c*");
    EXPECT_EQ(errors[3]->path, L"C:\\Vault\\Old\\");
    EXPECT_EQ(errors[3]->newPath, L"C:\\Vault\\Old\\...");
    EXPECT_EQ(errors[3]->detail, L"...");
}

TEST_F(MoverTest, IdentifiersMissingFromTheMapsGiveEmptyPathParts) {
    request.AddFile(7, 2, 2, L"bad?");
    request.AddFile(8, 5, 6, L"bad*");
    EXPECT_FALSE(mover.ValidateNames({}, {}));
    const auto errors = Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0]->path, L"");
    EXPECT_EQ(errors[0]->newPath, L"bad?");
    EXPECT_EQ(errors[1]->newPath, L"bad*");
}

TEST_F(MoverTest, LocalItemsAreCheckedOnlyWhenTheirNameChangesBeyondCase) {
    request.AddLocal(false, L"C:\\Vault\\a.prt", L"C:\\Vault\\A.PRT");      // case only: not checked
    request.AddLocal(false, L"C:\\Vault\\b.prt", L"C:\\Other\\b.prt");      // same name elsewhere
    request.AddLocal(false, L"C:\\Vault\\c.prt", L"C:\\Vault\\desktop.ini");
    EXPECT_FALSE(mover.ValidateNames({}, {}));
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors()[0]->detail, L"desktop.ini");
    EXPECT_EQ(Errors()[0]->path, L"C:\\Vault\\c.prt");
}

TEST_F(MoverTest, ValidNamesRecordNothing) {
    request.AddFile(7, 2, 2, L".hidden");
    request.AddLocal(true, L"C:\\Vault\\F", L"C:\\Vault\\G");
    EXPECT_TRUE(mover.ValidateNames({{2, L"\\"}}, {{7, L"a"}}));
    EXPECT_TRUE(Errors().empty());
}

TEST_F(MoverTest, AnEmptyRequestIsPresentedAsARename) {
    EXPECT_TRUE(mover.IsRename());
    EXPECT_EQ(mover.Caption(), L"Rename Item");
}

TEST_F(MoverTest, OneItemWithoutNewNameMakesItAMove) {
    request.AddFile(7, 2, 2, L"new.prt");
    EXPECT_TRUE(mover.IsRename());
    request.AddFile(8, 2, 3);
    EXPECT_FALSE(mover.IsRename());
    EXPECT_EQ(mover.Caption(), L"Move Items");
}

TEST_F(MoverTest, ALocalItemThatChangesOnlyCaseIsARename) {
    request.AddLocal(false, L"C:\\Vault\\a.prt", L"C:\\Vault\\A.prt");
    EXPECT_TRUE(mover.IsRename());
    request.AddLocal(false, L"C:\\Vault\\b.prt", L"C:\\Other\\b.prt");
    EXPECT_FALSE(mover.IsRename());
}

}  // namespace
