#include "move/Mover.h"
#include "localview/TargetNames.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

namespace {

TEST(IsValidFileName, RefusesTheTwelveCharactersAndPeriodsOnly) {
    for (const wchar_t* name : {L"a/b", L"a\\b", L"a:b", L"a*", L"what?", L"say \"hi\"", L"x<y", L"x>y", L"a|b",
                                L"line\rbreak", L"line\nfeed", L"vertical\vtab", L".", L"..", L"..."}) {
        EXPECT_FALSE(IsValidFileName(name)) << name;
    }
    for (const wchar_t* name : {L"", L".hidden", L"trailing.", L"a..b", L"tab\there", L" spaces ", L"CON"}) {
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

// At the edge of each rule: the neighbours of the refused control characters pass; a name the file system would store
// as the reserved name or as nothing (it drops trailing periods and spaces), or that a zero character would cut short,
// is refused.
TEST_F(MoverTest, NamesAtTheEdgeOfEachRule) {
    const std::wstring cut(L"ok\0:", 4);
    for (const std::wstring& name : {std::wstring(L"desktop.ini."), std::wstring(L"DESKTOP.INI . "),
                                     std::wstring(L"   "), std::wstring(L". ."), cut}) {
        EXPECT_FALSE(mover.ValidateTargetName(name, L"C:\\old", L"C:\\new")) << name;
    }
    for (const wchar_t* name :
         {L"form\ffeed", L"shift\x0E" L"out", L"desktop.in", L"desktop.ini.bak", L" desktop.ini", L"a.", L" a"}) {
        EXPECT_TRUE(mover.ValidateTargetName(name, L"C:\\old", L"C:\\new")) << name;
    }
    ASSERT_EQ(Errors().size(), 5u);
    EXPECT_EQ(Errors()[4]->detail, cut);  // the whole name, as given
}

TEST_F(MoverTest, NewNamesOfItemsAreCheckedWithTheirFullPaths) {
    request.AddFile(7, 2, 2, L"a:b");     // renamed in place
    request.AddFile(8, 2, 3, L"ok.prt");  // valid
    request.AddFile(9, 2, 0, L"x|y");     // destination 0 stays in the folder
    request.AddFile(10, 2, 3, L"c*");     // moved to folder 3
    request.AddFolder(4, 4, L"...");      // a folder has no old name
    request.AddFile(11, 2, 3);            // not renamed: not checked
    request.AddFile(12, 5, 6, L"e?");     // folders the host did not resolve: empty parts
    const FolderPathMap folders{{2, L"\\Parts\\"}, {3, L"\\Archive\\"}, {4, L"\\Old\\"}};
    const FileNameMap files{{7, L"a.prt"}, {9, L"c.prt"}, {10, L"d.prt"}, {12, L"e.prt"}};

    EXPECT_FALSE(mover.ValidateNames(folders, files));

    std::vector<std::wstring> paths;
    for (const MoveErrorEntry* e : Errors()) paths.push_back(e->path + L" > " + e->newPath);
    EXPECT_EQ(paths, (std::vector<std::wstring>{
                         L"C:\\Vault\\Parts\\a.prt > C:\\Vault\\Parts\\a:b",
                         L"C:\\Vault\\Parts\\c.prt > C:\\Vault\\Parts\\x|y",
                         L"C:\\Vault\\Parts\\d.prt > C:\\Vault\\Archive\\c*",
                         L"C:\\Vault\\Old\\ > C:\\Vault\\Old\\...",
                         L"e.prt > e?",
                     }));
}

TEST_F(MoverTest, LocalItemsAreCheckedOnlyWhenTheirNameChangesBeyondCase) {
    request.AddLocal(false, L"C:\\Vault\\a.prt", L"C:\\Vault\\A.PRT");  // case only: not checked
    request.AddLocal(false, L"C:\\Vault\\b.prt", L"C:\\Other\\b.prt");  // same name elsewhere
    request.AddLocal(false, L"C:\\Vault\\c.prt", L"C:\\Vault\\desktop.ini");
    EXPECT_FALSE(mover.ValidateNames({}, {}));
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors()[0]->detail, L"desktop.ini");
    EXPECT_EQ(Errors()[0]->path, L"C:\\Vault\\c.prt");
}

TEST_F(MoverTest, ARenameNeedsANewNameOnEveryItemAndAChangedNameOnEveryLocalItem) {
    EXPECT_EQ(mover.Caption(), L"Rename Item");  // an empty request counts as a rename
    request.AddFile(7, 2, 2, L"new.prt");
    request.AddLocal(false, L"C:\\Vault\\a.prt", L"C:\\Vault\\A.prt");  // case counts
    EXPECT_TRUE(mover.IsRename());
    request.AddLocal(false, L"C:\\Vault\\b.prt", L"C:\\Other\\b.prt");
    EXPECT_FALSE(mover.IsRename());
    EXPECT_EQ(mover.Caption(), L"Move Items");
    request->localItems.DeleteAll();
    request.AddFile(8, 2, 3);
    EXPECT_FALSE(mover.IsRename());
}

}  // namespace
