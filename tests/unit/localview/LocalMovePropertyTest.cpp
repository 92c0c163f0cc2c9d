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

#include <functional>
#include <map>
#include <set>
#include <random>

namespace {

constexpr int32_t kP = 2, kQ = 3, kA = 4;

enum class Fault {
    None,
    ReadOnly,
    HeldForReading,  // readers share it: the copy is made, the delete refused
    HeldExclusively, // nothing can read it
};

struct TreeFile {
    std::wstring relative;  // below A
    std::string content;
    Fault fault;
};

struct Tree {
    std::vector<std::wstring> folders = {L""};  // below A; "" is A itself
    std::vector<TreeFile> files;
};

class Scenario {
public:
    explicit Scenario(unsigned seed) : random_(seed) {
        Grow(L"", 0);
        rename_ = Pick(2) == 0;
    }

    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    const Tree& tree() const { return tree_; }
    std::wstring Target() const { return rename_ ? L"P\\B" : L"Q\\A"; }
    void AddTo(OwnedRequest& request) const { request.AddFolder(kA, rename_ ? kP : kQ, rename_ ? L"B" : L""); }

private:
    void Grow(const std::wstring& folder, int depth) {
        for (int i = Pick(5); i > 0; --i) {
            const std::wstring name = folder + L"f" + std::to_wstring(tree_.files.size()) + L".txt";
            std::string content(static_cast<size_t>(Pick(3000)), 'c');
            content += std::to_string(random_());
            const int roll = Pick(20);
            const Fault fault = roll < 12 ? Fault::None
                                : roll < 15 ? Fault::ReadOnly
                                : roll < 18 ? Fault::HeldForReading
                                            : Fault::HeldExclusively;
            tree_.files.push_back({name, content, fault});
        }
        if (depth == 3) return;
        for (int i = Pick(4); i > 0; --i) {
            const std::wstring sub = folder + L"s" + std::to_wstring(tree_.folders.size()) + L"\\";
            tree_.folders.push_back(sub);
            Grow(sub, depth + 1);
        }
    }

    std::mt19937 random_;
    Tree tree_;
    bool rename_ = false;
};

class LocalMovePropertyTest : public ::testing::TestWithParam<unsigned> {
protected:
    ComThread com;
};

std::wstring Join(const std::wstring& base, const std::wstring& relative) {
    return StripTrailingBackslashes(relative.empty() ? base : base + L"\\" + relative);
}

bool Below(const std::wstring& file, const std::wstring& folder) { return file.compare(0, folder.size(), folder) == 0; }

TEST_P(LocalMovePropertyTest, NothingIsLostAndEveryOutcomeIsAccountedFor) {
    Scenario scenario(GetParam());
    TestFolder folder;
    folder.MakeFolder(L"P\\A");
    folder.MakeFolder(L"Q");
    for (const std::wstring& sub : scenario.tree().folders) folder.MakeFolder(Join(L"P\\A", sub));
    for (const TreeFile& file : scenario.tree().files) {
        folder.WriteFile(Join(L"P\\A", file.relative), file.content);
        if (file.fault == Fault::ReadOnly) SetFileAttributesW(folder.Path(Join(L"P\\A", file.relative)).c_str(), FILE_ATTRIBUTE_READONLY);
    }

    RecordingHost host;
    OwnedRequest request(folder.LocalRoot());
    scenario.AddTo(request);
    Mover mover(nullptr, &host, request.get(), true);
    mover.PlanLocalMoves({}, {{kP, L"\\P\\"}, {kQ, L"\\Q\\"}, {kA, L"\\P\\A\\"}});
    ASSERT_EQ(request->errors.count, 0);
    std::map<std::wstring, int> appearances;
    for (const LocalMoveData* entry : mover.localMoves) ++appearances[entry->oldPath];

    // Target folders that appear between planning and execution are merged into.
    std::vector<std::wstring> strangers;
    for (const std::wstring& sub : scenario.tree().folders) {
        if (scenario.Pick(4) != 0) continue;
        const std::wstring stranger = Join(Join(scenario.Target(), sub), L"stranger.txt");
        folder.WriteFile(stranger, "theirs");
        strangers.push_back(stranger);
    }
    std::vector<UniqueFileHandle> holders;
    for (const TreeFile& file : scenario.tree().files) {
        if (file.fault != Fault::HeldForReading && file.fault != Fault::HeldExclusively) continue;
        const DWORD share = file.fault == Fault::HeldForReading ? FILE_SHARE_READ : 0;
        holders.emplace_back(CreateFileW(folder.Path(Join(L"P\\A", file.relative)).c_str(), GENERIC_READ, share, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holders.back());
    }

    MovedPaths moved;
    mover.ExecuteLocalMoves(moved);
    holders.clear();

    std::map<std::wstring, std::vector<MoveErrorEntry*>> errors;
    for (MoveErrorEntry* error : request->errors) errors[error->path].push_back(error);
    size_t accounted = 0;
    auto expectFailures = [&](const std::wstring& oldPath, const std::wstring& newPath, HRESULT code) {
        const auto& found = errors[oldPath];
        EXPECT_EQ(found.size(), static_cast<size_t>(appearances[oldPath])) << "one failure per appearance: " << testing::PrintToString(oldPath);
        for (const MoveErrorEntry* error : found) {
            EXPECT_EQ(error->code, code);
            EXPECT_EQ(error->newPath, newPath);
        }
        accounted += found.size();
    };

    std::vector<std::wstring> stayed;
    for (const TreeFile& file : scenario.tree().files) {
        const std::wstring from = Join(L"P\\A", file.relative);
        const std::wstring to = Join(scenario.Target(), file.relative);
        const bool held = file.fault == Fault::HeldForReading || file.fault == Fault::HeldExclusively;
        if (held) {
            stayed.push_back(file.relative);
            EXPECT_EQ(folder.ReadFile(from), file.content);
            // A copy is whole or absent.
            EXPECT_EQ(folder.Exists(to), file.fault == Fault::HeldForReading);
            if (folder.Exists(to)) {
                EXPECT_EQ(folder.ReadFile(to), file.content);
            }
            expectFailures(folder.Path(from), folder.Path(to), HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
            EXPECT_EQ(moved.count(LowerCase(folder.Path(from))), 0u);
            continue;
        }
        EXPECT_FALSE(folder.Exists(from));
        EXPECT_EQ(folder.ReadFile(to), file.content);
        EXPECT_EQ((GetFileAttributesW(folder.Path(to).c_str()) & FILE_ATTRIBUTE_READONLY) != 0, file.fault == Fault::ReadOnly);
        EXPECT_TRUE(errors[folder.Path(from)].empty());
        EXPECT_EQ(moved[LowerCase(folder.Path(from))], folder.Path(to));
    }
    for (const std::wstring& sub : scenario.tree().folders) {
        const std::wstring from = Join(L"P\\A", sub);
        const std::wstring to = Join(scenario.Target(), sub);
        bool blocked = false;
        for (const std::wstring& file : stayed) blocked = blocked || Below(file, sub);
        EXPECT_EQ(folder.Exists(from), blocked);
        EXPECT_TRUE(folder.Exists(to));
        EXPECT_EQ(moved[LowerCase(folder.Path(from))], folder.Path(to));
        if (blocked) {
            expectFailures(folder.Path(from), folder.Path(to), HRESULT_FROM_WIN32(ERROR_DIR_NOT_EMPTY));
        } else {
            EXPECT_TRUE(errors[folder.Path(from)].empty());
        }
    }
    EXPECT_EQ(accounted, static_cast<size_t>(request->errors.count)) << "no failure beyond those";
    for (const std::wstring& stranger : strangers) EXPECT_EQ(folder.ReadFile(stranger), "theirs");
}

INSTANTIATE_TEST_SUITE_P(RandomTrees, LocalMovePropertyTest, ::testing::Range(1u, 41u));

// Targets that are taken before planning refuse the move: each is reported
// once, nothing below a taken folder is, and nothing changes on disk.
TEST(LocalMoveConflictProperty, EveryTakenTargetIsReportedOnceAndNothingBelowIt) {
    for (unsigned seed = 100; seed < 120; ++seed) {
        Scenario scenario(seed);
        TestFolder folder;
        folder.MakeFolder(L"Q");
        for (const std::wstring& sub : scenario.tree().folders) folder.MakeFolder(Join(L"P\\A", sub));
        for (const TreeFile& file : scenario.tree().files) folder.WriteFile(Join(L"P\\A", file.relative), file.content);
        for (const TreeFile& file : scenario.tree().files) {
            if (scenario.Pick(3) == 0) folder.WriteFile(Join(scenario.Target(), file.relative), "taken");
        }
        const auto before = folder.Tree();

        // What the scan must find: a taken place is reported and not entered.
        std::multiset<std::wstring> expected;
        std::function<void(const std::wstring&)> walk = [&](const std::wstring& sub) {
            for (const std::wstring& f : scenario.tree().folders) {
                if (f.empty() || f.size() <= sub.size() || !Below(f, sub) || f.find(L'\\', sub.size()) != f.size() - 1) continue;
                if (folder.Exists(Join(scenario.Target(), f))) expected.insert(folder.Path(Join(L"P\\A", f)));
                else walk(f);
            }
            for (const TreeFile& file : scenario.tree().files) {
                if (!Below(file.relative, sub) || file.relative.find(L'\\', sub.size()) != std::wstring::npos) continue;
                if (folder.Exists(Join(scenario.Target(), file.relative))) expected.insert(folder.Path(Join(L"P\\A", file.relative)));
            }
        };
        walk(L"");
        if (folder.Exists(scenario.Target())) expected.insert(folder.Path(L"P\\A"));

        RecordingHost host;
        OwnedRequest request(folder.LocalRoot());
        scenario.AddTo(request);
        Mover mover(nullptr, &host, request.get(), true);
        mover.PlanLocalMoves({}, {{kP, L"\\P\\"}, {kQ, L"\\Q\\"}, {kA, L"\\P\\A\\"}});

        std::multiset<std::wstring> reported;
        for (const MoveErrorEntry* error : request->errors) {
            EXPECT_EQ(error->code, E_QOR_NAME_ALREADY_EXISTS);
            reported.insert(error->path);
        }
        EXPECT_EQ(reported, expected) << "seed " << seed;
        EXPECT_EQ(folder.Tree(), before);
    }
}

}  // namespace
