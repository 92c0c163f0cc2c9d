// Random trees and faults, planned and executed: no content is lost, and every failure and success is reported.
#include "common/Handles.h"
#include "common/StringUtil.h"
#include "move/Mover.h"

#include "ComThread.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <tuple>

namespace {

constexpr int32_t kP = 2, kQ = 3, kA = 4;

// HeldForReading: readers share it, so the copy is made and the delete refused. Vanished: deleted between planning and
// execution.
enum Fault { None, ReadOnly, HiddenSystem, HeldForReading, HeldExclusively, Vanished };
const DWORD kAttributes[] = {0, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 0, 0, 0};

struct TreeFile { std::wstring relative; std::string content; Fault fault; };  // relative below A

std::wstring Join(const std::wstring& base, const std::wstring& relative) {
    return StripTrailingBackslashes(relative.empty() ? base : base + L"\\" + relative);
}

class LocalMovePropertyTest : public ::testing::TestWithParam<unsigned> {
protected:
    int Pick(size_t n) { return static_cast<int>(random() % n); }
    std::wstring AnyFolder() { return folders[static_cast<size_t>(Pick(folders.size()))]; }

    ComThread com;
    TestFolder folder;
    std::mt19937 random{GetParam()};
    std::vector<std::wstring> folders = {L""};  // below A; "" is A itself
    std::vector<TreeFile> files;
};

TEST_P(LocalMovePropertyTest, NothingIsLostAndEveryOutcomeIsAccountedFor) {
    // Each folder inside a random earlier one, each file in a random folder.
    for (int i = Pick(12); i > 0; --i) folders.push_back(AnyFolder() + L"s" + std::to_wstring(folders.size()) + L"\\");
    const Fault faults[] = {None, None, None, ReadOnly, HiddenSystem, HeldForReading, HeldExclusively, Vanished};
    for (int i = Pick(30); i > 0; --i) {
        const std::string content = std::string(static_cast<size_t>(Pick(3000)), 'c') + std::to_string(random());
        files.push_back({AnyFolder() + L"f" + std::to_wstring(files.size()) + L".txt", content, faults[Pick(8)]});
    }
    const bool rename = Pick(2) == 0;
    const std::wstring source = L"P\\A", target = rename ? L"P\\B" : L"Q\\A";
    auto from = [&](const std::wstring& relative) { return folder.Path(Join(source, relative)); };
    auto to = [&](const std::wstring& relative) { return folder.Path(Join(target, relative)); };
    folder.MakeFolder(L"Q");
    for (const std::wstring& sub : folders) folder.MakeFolder(Join(source, sub));
    for (const TreeFile& file : files) {
        folder.WriteFile(Join(source, file.relative), file.content);
        if (kAttributes[file.fault]) SetFileAttributesW(from(file.relative).c_str(), kAttributes[file.fault]);
    }

    RecordingHost host;
    OwnedRequest request(folder.LocalRoot());
    request.AddFolder(kA, rename ? kP : kQ, rename ? L"B" : L"");
    Mover mover(nullptr, &host, request.get(), true);
    mover.PlanLocalMoves({}, {{kP, L"\\P\\"}, {kQ, L"\\Q\\"}, {kA, L"\\P\\A\\"}});
    ASSERT_EQ(request->errors.count, 0);
    std::map<std::wstring, int> appearances;
    for (const LocalMoveData* entry : mover.localMoves) ++appearances[entry->oldPath];

    // What must come out: every place on disk, one failure per planned appearance of a failed step, every step that
    // succeeded.
    std::vector<std::wstring> tree = {L"P\\", L"Q\\"};
    std::multiset<std::tuple<std::wstring, std::wstring, HRESULT>> failures, reported;
    MovedPaths succeeded, moved;
    auto fail = [&](const std::wstring& relative, HRESULT code) {
        for (int i = appearances[from(relative)]; i > 0; --i) failures.emplace(from(relative), to(relative), code);
    };
    // Target folders that appear between planning and execution are merged into.
    for (const std::wstring& sub : folders) {
        if (Pick(4) != 0) continue;
        tree.push_back(Join(Join(target, sub), L"stranger.txt"));
        folder.WriteFile(tree.back(), "theirs");
    }
    std::vector<UniqueFileHandle> holders;
    std::vector<std::wstring> stayed;
    for (const TreeFile& file : files) {
        if (file.fault == Vanished) {
            ASSERT_TRUE(DeleteFileW(from(file.relative).c_str()));
        } else if (file.fault != HeldForReading && file.fault != HeldExclusively) {
            tree.push_back(Join(target, file.relative));
            succeeded[LowerCase(from(file.relative))] = to(file.relative);
        } else {
            const bool readers = file.fault == HeldForReading;
            holders.emplace_back(CreateFileW(from(file.relative).c_str(), GENERIC_READ, readers ? FILE_SHARE_READ : 0,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(holders.back());
            stayed.push_back(file.relative);
            tree.push_back(Join(source, file.relative));
            if (readers) tree.push_back(Join(target, file.relative));
            fail(file.relative, HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
        }
    }
    for (const std::wstring& sub : folders) {
        tree.push_back(Join(target, sub) + L"\\");
        succeeded[LowerCase(from(sub))] = to(sub);
        const auto below = [&](const std::wstring& file) { return file.compare(0, sub.size(), sub) == 0; };
        if (std::none_of(stayed.begin(), stayed.end(), below)) continue;
        tree.push_back(Join(source, sub) + L"\\");
        fail(sub, HRESULT_FROM_WIN32(ERROR_DIR_NOT_EMPTY));
    }

    mover.ExecuteLocalMoves(moved);
    holders.clear();
    std::sort(tree.begin(), tree.end());
    EXPECT_EQ(folder.Tree(), tree);
    EXPECT_EQ(moved, succeeded);
    for (const MoveErrorEntry* error : request->errors) reported.emplace(error->path, error->newPath, error->code);
    EXPECT_EQ(reported, failures);
    for (const TreeFile& file : files) {
        for (const std::wstring& place : {Join(source, file.relative), Join(target, file.relative)}) {
            if (!folder.Exists(place)) continue;
            EXPECT_EQ(folder.ReadFile(place), file.content) << place;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(RandomTrees, LocalMovePropertyTest, ::testing::Range(1u, 21u));

}  // namespace
