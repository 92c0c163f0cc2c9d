// Random trees and random faults, planned and carried out like the driver
// does: whatever fails, no file's content is lost or truncated, `errors` names
// exactly the failed steps with their codes, and `movedPaths` exactly the
// steps that succeeded.
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

// HeldForReading: readers share it, so the copy is made and the delete
// refused. Vanished: deleted between planning and execution.
enum class Fault { None, ReadOnly, HiddenSystem, HeldForReading, HeldExclusively, Vanished };

struct TreeFile {
    std::wstring relative;  // below A
    std::string content;
    Fault fault;
};

// Each folder inside a random earlier one, each file in a random folder.
struct Scenario {
    explicit Scenario(unsigned seed) : random(seed) {
        for (int i = Pick(12); i > 0; --i) folders.push_back(Folder() + L"s" + std::to_wstring(folders.size()) + L"\\");
        const Fault faults[] = {Fault::None, Fault::None, Fault::None, Fault::ReadOnly, Fault::HiddenSystem,
                                Fault::HeldForReading, Fault::HeldExclusively, Fault::Vanished};
        for (int i = Pick(30); i > 0; --i) {
            std::string content(static_cast<size_t>(Pick(3000)), 'c');
            content += std::to_string(random());
            files.push_back({Folder() + L"f" + std::to_wstring(files.size()) + L".txt", content, faults[Pick(8)]});
        }
        rename = Pick(2) == 0;
    }
    int Pick(size_t n) { return static_cast<int>(random() % n); }
    std::wstring Folder() { return folders[static_cast<size_t>(Pick(folders.size()))]; }

    std::mt19937 random;
    std::vector<std::wstring> folders = {L""};  // below A; "" is A itself
    std::vector<TreeFile> files;
    bool rename = false;
};

std::wstring Join(const std::wstring& base, const std::wstring& relative) {
    return StripTrailingBackslashes(relative.empty() ? base : base + L"\\" + relative);
}

class LocalMovePropertyTest : public ::testing::TestWithParam<unsigned> {
protected:
    ComThread com;
};

TEST_P(LocalMovePropertyTest, NothingIsLostAndEveryOutcomeIsAccountedFor) {
    Scenario scenario(GetParam());
    const std::wstring source = L"P\\A", target = scenario.rename ? L"P\\B" : L"Q\\A";
    TestFolder folder;
    auto from = [&](const std::wstring& relative) { return folder.Path(Join(source, relative)); };
    auto to = [&](const std::wstring& relative) { return folder.Path(Join(target, relative)); };
    folder.MakeFolder(L"Q");
    for (const std::wstring& sub : scenario.folders) folder.MakeFolder(Join(source, sub));
    std::map<std::wstring, DWORD> attributes;
    for (const TreeFile& file : scenario.files) {
        folder.WriteFile(Join(source, file.relative), file.content);
        if (file.fault == Fault::ReadOnly) SetFileAttributesW(from(file.relative).c_str(), FILE_ATTRIBUTE_READONLY);
        if (file.fault == Fault::HiddenSystem) {
            SetFileAttributesW(from(file.relative).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        }
        attributes[file.relative] = GetFileAttributesW(from(file.relative).c_str());
    }

    RecordingHost host;
    OwnedRequest request(folder.LocalRoot());
    request.AddFolder(kA, scenario.rename ? kP : kQ, scenario.rename ? L"B" : L"");
    Mover mover(nullptr, &host, request.get(), true);
    mover.PlanLocalMoves({}, {{kP, L"\\P\\"}, {kQ, L"\\Q\\"}, {kA, L"\\P\\A\\"}});
    ASSERT_EQ(request->errors.count, 0);
    std::map<std::wstring, int> appearances;
    for (const LocalMoveData* entry : mover.localMoves) ++appearances[entry->oldPath];

    // What must come out: every place on disk, one failure per planned
    // appearance of a failed step, every step that succeeded.
    std::vector<std::wstring> tree = {L"P\\", L"Q\\"};
    std::multiset<std::tuple<std::wstring, std::wstring, HRESULT>> failures;
    MovedPaths succeeded;
    auto fail = [&](const std::wstring& relative, HRESULT code) {
        for (int i = appearances[from(relative)]; i > 0; --i) failures.emplace(from(relative), to(relative), code);
    };

    // Target folders that appear between planning and execution are merged into.
    std::vector<std::wstring> strangers;
    for (const std::wstring& sub : scenario.folders) {
        if (scenario.Pick(4) != 0) continue;
        strangers.push_back(Join(Join(target, sub), L"stranger.txt"));
        folder.WriteFile(strangers.back(), "theirs");
        tree.push_back(strangers.back());
    }
    std::vector<UniqueFileHandle> holders;
    std::vector<std::wstring> stayed;
    for (const TreeFile& file : scenario.files) {
        if (file.fault == Fault::Vanished) {
            ASSERT_TRUE(DeleteFileW(from(file.relative).c_str()));
        } else if (file.fault != Fault::HeldForReading && file.fault != Fault::HeldExclusively) {
            tree.push_back(Join(target, file.relative));
            succeeded[LowerCase(from(file.relative))] = to(file.relative);
        } else {
            const bool readers = file.fault == Fault::HeldForReading;
            holders.emplace_back(CreateFileW(from(file.relative).c_str(), GENERIC_READ, readers ? FILE_SHARE_READ : 0,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(holders.back());
            stayed.push_back(file.relative);
            tree.push_back(Join(source, file.relative));
            if (readers) tree.push_back(Join(target, file.relative));  // a copy is whole or absent
            fail(file.relative, HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
        }
    }
    for (const std::wstring& sub : scenario.folders) {
        tree.push_back(Join(target, sub) + L"\\");
        succeeded[LowerCase(from(sub))] = to(sub);
        const auto below = [&](const std::wstring& file) { return file.compare(0, sub.size(), sub) == 0; };
        if (std::none_of(stayed.begin(), stayed.end(), below)) continue;
        tree.push_back(Join(source, sub) + L"\\");
        fail(sub, HRESULT_FROM_WIN32(ERROR_DIR_NOT_EMPTY));
    }

    MovedPaths moved;
    mover.ExecuteLocalMoves(moved);
    holders.clear();

    std::sort(tree.begin(), tree.end());
    EXPECT_EQ(folder.Tree(), tree);
    EXPECT_EQ(moved, succeeded);
    std::multiset<std::tuple<std::wstring, std::wstring, HRESULT>> reported;
    for (const MoveErrorEntry* error : request->errors) reported.emplace(error->path, error->newPath, error->code);
    EXPECT_EQ(reported, failures);
    // No content is lost or truncated, and a moved file keeps its attributes.
    for (const TreeFile& file : scenario.files) {
        for (const std::wstring& place : {Join(source, file.relative), Join(target, file.relative)}) {
            if (folder.Exists(place)) {
                EXPECT_EQ(folder.ReadFile(place), file.content);
            }
        }
        if (succeeded.count(LowerCase(from(file.relative)))) {
            EXPECT_EQ(GetFileAttributesW(to(file.relative).c_str()), attributes[file.relative]);
        }
    }
    for (const std::wstring& stranger : strangers) EXPECT_EQ(folder.ReadFile(stranger), "theirs");
}

INSTANTIATE_TEST_SUITE_P(RandomTrees, LocalMovePropertyTest, ::testing::Range(1u, 21u));

}  // namespace
