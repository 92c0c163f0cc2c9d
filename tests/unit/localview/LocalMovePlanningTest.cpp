// Planning: which items stand in the list, and which targets are refused.
#include "move/Mover.h"

#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr int32_t kP = 2, kQ = 3, kA = 4;

// Old and new path below the local root, whether a folder, whether a request item.
using Planned = std::tuple<std::wstring, std::wstring, bool, bool>;
using Error = std::tuple<std::wstring, std::wstring, HRESULT>;

// Refused: a taken target, even a local item's own place. Not refused: a case-only rename, an item that stays, a folder
// into its own parent; a refused new name is not also tested for existence. Items the host left unresolved are dropped
// silently; a local item without a new path gets one from its destination folder.
TEST(LocalMovePlanning, OnlyTakenTargetsOfResolvedItemsWithValidNamesAreRefused) {
    TestFolder folder;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    Mover mover{nullptr, &host, request.get(), true};
    auto relative = [&](const std::wstring& path) { return path.substr(folder.LocalRoot().size() + 1); };
    for (const wchar_t* name : {L"P\\a.txt", L"P\\same.txt", L"P\\loose.txt", L"P\\stays.txt", L"Q\\desktop.ini"}) {
        folder.WriteFile(name);
    }
    folder.MakeFolder(L"P\\A");
    request.AddFile(7, kP, kP, L"A.TXT");
    request.AddFile(8, kP, kP);
    request.AddFolder(kA, kP);
    request.AddFile(7, kP, kQ, L"Desktop.INI");
    request.AddFile(7, kP, 99);  // destination unknown
    request.AddFile(7, 98, kQ);  // source folder unknown
    request.AddFile(6, kP, kQ);  // file name unknown
    request.AddFolder(97, kQ);   // folder unknown
    LocalItem* filled = request.AddLocal(false, folder.Path(L"P\\loose.txt"), L"", kQ);
    LocalItem* unknown = request.AddLocal(false, folder.Path(L"P\\lost.txt"), L"", 99);
    request.AddLocal(false, folder.Path(L"P\\stays.txt"), folder.Path(L"P\\stays.txt"));
    mover.PlanLocalMoves({{7, L"a.txt"}, {8, L"same.txt"}}, {{kP, L"\\P\\"}, {kQ, L"\\Q\\"}, {kA, L"\\P\\A\\"}});
    std::vector<Planned> planned;
    std::vector<Error> errors;
    for (const LocalMoveData* d : mover.localMoves) {
        planned.emplace_back(relative(d->oldPath), relative(d->newPath), d->isFolder, d->item != nullptr);
    }
    for (const auto* e : request->errors) errors.emplace_back(relative(e->path), relative(e->newPath), e->code);
    EXPECT_EQ(planned, (std::vector<Planned>{{L"P\\a.txt", L"P\\A.TXT", false, true},
                                             {L"P\\same.txt", L"P\\same.txt", false, true},
                                             {L"P\\A", L"P\\A", true, true},
                                             {L"P\\a.txt", L"Q\\Desktop.INI", false, true},
                                             {L"P\\loose.txt", L"Q\\loose.txt", false, false},
                                             {L"P\\stays.txt", L"P\\stays.txt", false, false}}));
    EXPECT_EQ(filled->newPath, folder.Path(L"Q\\loose.txt"));
    EXPECT_TRUE(unknown->newPath.empty());
    EXPECT_EQ(errors, (std::vector<Error>{{L"P\\a.txt", L"Q\\Desktop.INI", E_QOR_INVALID_NAME},
                                          {L"P\\stays.txt", L"P\\stays.txt", E_QOR_NAME_ALREADY_EXISTS}}));
}

}  // namespace
