// Planning: which entries stand in the list, in which order and how often,
// and which targets are refused. Execution relies on the order and on the
// repetitions.
#include "move/Mover.h"

#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr int32_t kP = 2, kQ = 3, kA = 4;

struct Planned {
    std::wstring oldPath;  // below the local root
    std::wstring newPath;
    bool isFolder;
    bool fromItem;
    bool operator==(const Planned& o) const {
        return std::tie(oldPath, newPath, isFolder, fromItem) == std::tie(o.oldPath, o.newPath, o.isFolder, o.fromItem);
    }
};

void PrintTo(const Planned& p, std::ostream* out) {
    *out << (p.fromItem ? "item " : "") << (p.isFolder ? "folder " : "file ") << testing::PrintToString(p.oldPath)
         << " -> " << testing::PrintToString(p.newPath);
}

class LocalMovePlanningTest : public ::testing::Test {
protected:
    LocalMovePlanningTest() { folder.MakeFolder(L"Q"); }

    std::vector<Planned> Plan() {
        mover.PlanLocalMoves(fileNames, folderPaths);
        std::vector<Planned> out;
        for (const LocalMoveData* d : mover.localMoves) out.push_back({Relative(d->oldPath), Relative(d->newPath), d->isFolder, d->item != nullptr});
        return out;
    }
    std::wstring Relative(const std::wstring& path) const {
        const std::wstring root = folder.LocalRoot() + L"\\";
        return path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : L"(outside) " + path;
    }
    std::vector<std::tuple<std::wstring, std::wstring, HRESULT>> Errors() {
        std::vector<std::tuple<std::wstring, std::wstring, HRESULT>> out;
        for (const MoveErrorEntry* e : request->errors) out.emplace_back(Relative(e->path), Relative(e->newPath), e->code);
        return out;
    }
    // The order in which the file system lists a folder.
    std::vector<std::wstring> Listed(const std::wstring& relative) const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(folder.Path(relative + L"\\*").c_str(), &found);
        do {
            if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L"..")) names.push_back(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    TestFolder folder;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    Mover mover{nullptr, &host, request.get(), true};
    FolderPathMap folderPaths{{kP, L"\\P\\"}, {kQ, L"\\Q\\"}, {kA, L"\\P\\A\\"}};
    FileNameMap fileNames;
};

TEST_F(LocalMovePlanningTest, ContentStandsBeforeItsFolderOncePerFolderAboveAndOnceFromTheScan) {
    folder.WriteFile(L"P\\A\\S\\f.txt");
    request.AddFolder(kA, kQ);
    EXPECT_EQ(Plan(), (std::vector<Planned>{
                          {L"P\\A\\S\\f.txt", L"Q\\A\\S\\f.txt", false, false},
                          {L"P\\A\\S", L"Q\\A\\S", true, false},
                          {L"P\\A", L"Q\\A", true, true},
                          {L"P\\A\\S\\f.txt", L"Q\\A\\S\\f.txt", false, false},
                          {L"P\\A\\S", L"Q\\A\\S", true, false},
                          {L"P\\A\\S\\f.txt", L"Q\\A\\S\\f.txt", false, false},
                      }));
    EXPECT_TRUE(Errors().empty());
}

TEST_F(LocalMovePlanningTest, EveryCopyOfAFolderKeepsTheOrderTheFileSystemListsItIn) {
    for (const wchar_t* name : {L"m.txt", L"b.txt", L"z.txt", L".hidden"}) folder.WriteFile(L"P\\A\\" + std::wstring(name));
    SetFileAttributesW(folder.Path(L"P\\A\\z.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    request.AddFolder(kA, kP, L"B");
    std::vector<Planned> expected;
    for (const std::wstring& name : Listed(L"P\\A")) expected.push_back({L"P\\A\\" + name, L"P\\B\\" + name, false, false});
    ASSERT_EQ(expected.size(), 4u);
    std::vector<Planned> twice = expected;
    twice.push_back({L"P\\A", L"P\\B", true, true});
    twice.insert(twice.end(), expected.begin(), expected.end());
    EXPECT_EQ(Plan(), twice);
}

TEST_F(LocalMovePlanningTest, AnItemThatFindsOnlyItselfIsNoConflict) {
    fileNames = {{7, L"a.txt"}, {8, L"same.txt"}};
    folder.WriteFile(L"P\\a.txt");
    folder.WriteFile(L"P\\same.txt");
    request.AddFile(7, kP, kP, L"A.TXT");  // a change of case
    request.AddFile(8, kP, kP);            // neither moved nor renamed
    request.AddFolder(kA, kP);             // a folder into the folder it is in
    folder.MakeFolder(L"P\\A");
    const auto planned = Plan();
    ASSERT_EQ(planned.size(), 3u);
    EXPECT_EQ(planned[0], (Planned{L"P\\a.txt", L"P\\A.TXT", false, true}));
    EXPECT_EQ(planned[2], (Planned{L"P\\A", L"P\\A", true, true}));
    EXPECT_TRUE(Errors().empty());
}

TEST_F(LocalMovePlanningTest, ARefusedNewNameIsNotAlsoTestedForExistence) {
    fileNames = {{7, L"a.txt"}};
    folder.WriteFile(L"P\\a.txt");
    folder.WriteFile(L"Q\\desktop.ini");
    request.AddFile(7, kP, kQ, L"Desktop.INI");
    EXPECT_EQ(Plan().size(), 1u);
    EXPECT_EQ(Errors(), (std::vector<std::tuple<std::wstring, std::wstring, HRESULT>>{
                            {L"P\\a.txt", L"Q\\Desktop.INI", E_QOR_INVALID_NAME}}));
    EXPECT_EQ(request->errors.head->value->detail, L"Desktop.INI");
}

TEST_F(LocalMovePlanningTest, ItemsTheHostLeftUnresolvedAreDroppedSilently) {
    fileNames = {{7, L"a.txt"}};
    request.AddFile(7, kP, 99);    // destination unknown
    request.AddFile(7, 98, kQ);    // source folder unknown
    request.AddFile(6, kP, kQ);    // file name unknown
    request.AddFolder(97, kQ);     // folder unknown
    EXPECT_TRUE(Plan().empty());
    EXPECT_TRUE(Errors().empty());
}

TEST_F(LocalMovePlanningTest, AnEmptyFolderIsOneEntry) {
    folder.MakeFolder(L"P\\A");
    request.AddFolder(kA, kQ);
    EXPECT_EQ(Plan(), (std::vector<Planned>{{L"P\\A", L"Q\\A", true, true}}));
}

TEST_F(LocalMovePlanningTest, LocalItemsGetTheirNewPathAndAreTestedEvenAgainstThemselves) {
    folder.WriteFile(L"P\\loose.txt");
    folder.WriteFile(L"P\\stays.txt");
    LocalItem* filled = request.AddLocal(false, folder.Path(L"P\\loose.txt"), L"", kQ);
    LocalItem* unknown = request.AddLocal(false, folder.Path(L"P\\lost.txt"), L"", 99);
    request.AddLocal(false, folder.Path(L"P\\stays.txt"), folder.Path(L"P\\stays.txt"));
    EXPECT_EQ(Plan(), (std::vector<Planned>{{L"P\\loose.txt", L"Q\\loose.txt", false, false},
                                            {L"P\\stays.txt", L"P\\stays.txt", false, false}}));
    EXPECT_EQ(filled->newPath, folder.Path(L"Q\\loose.txt"));
    EXPECT_TRUE(unknown->newPath.empty());
    EXPECT_EQ(Errors(), (std::vector<std::tuple<std::wstring, std::wstring, HRESULT>>{
                            {L"P\\stays.txt", L"P\\stays.txt", E_QOR_NAME_ALREADY_EXISTS}}));
}

}  // namespace
