// The notice selection against the rule applied literally (every entry
// compared with the whole selection), which the indexed one must match in
// content and order.
#include "localview/NotifyFolderSelection.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <cwctype>
#include <memory>
#include <random>

namespace {

using Entries = std::vector<LocalMoveData*>;

Entries LiteralSelection(const Entries& working, const FailedMoves& failed) {
    Entries selected;
    Entries setAside;
    for (LocalMoveData* entry : working) {
        if (failed.Contains(*entry)) {
            setAside.push_back(entry);
            continue;
        }
        const std::wstring& path = entry->newPath;
        bool covered = false;
        bool replaced = false;
        for (size_t i = 0; i < selected.size() && !replaced; ++i) {
            const std::wstring& other = selected[i]->newPath;
            if (path.size() < other.size() && _wcsnicmp(path.c_str(), other.c_str(), path.size()) == 0) {
                selected.erase(selected.begin() + static_cast<std::ptrdiff_t>(i));
                selected.push_back(entry);
                replaced = true;
            } else if (path.size() >= other.size() && _wcsnicmp(path.c_str(), other.c_str(), other.size()) == 0) {
                covered = true;
            }
        }
        if (!replaced && !covered) selected.push_back(entry);
    }
    selected.insert(selected.end(), setAside.begin(), setAside.end());
    return selected;
}

Entries Indexed(const Entries& working, const FailedMoves& failed) {
    Lst<LocalMoveData*> list;
    for (LocalMoveData* entry : working) list.Append(entry);
    Lst<LocalMoveData*> selection;
    SelectNotifyFolders(list, failed, selection);
    Entries out;
    for (LocalMoveData* entry : selection) out.push_back(entry);
    return out;
}

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towupper(c));
    return text;
}

class Working {
public:
    LocalMoveData* Add(const std::wstring& oldPath, const std::wstring& newPath) {
        owned_.push_back(std::make_unique<LocalMoveData>(LocalMoveData{nullptr, oldPath, newPath, true}));
        entries.push_back(owned_.back().get());
        return entries.back();
    }
    Entries entries;

private:
    std::vector<std::unique_ptr<LocalMoveData>> owned_;
};

TEST(NotifyFolderSelection, AFolderRenameLeavesOnlyTheRenamedFolder) {
    // The execution order of renaming A (holding S\T\z.txt) to B.
    Working working;
    for (int i = 0; i < 4; ++i) working.Add(L"C:\\r\\A\\S\\T\\z.txt", L"C:\\r\\B\\S\\T\\z.txt");
    for (int i = 0; i < 3; ++i) working.Add(L"C:\\r\\A\\S\\T", L"C:\\r\\B\\S\\T");
    for (int i = 0; i < 2; ++i) working.Add(L"C:\\r\\A\\S", L"C:\\r\\B\\S");
    LocalMoveData* top = working.Add(L"C:\\r\\A", L"C:\\r\\B");
    Lst<MoveErrorEntry*> noErrors;
    EXPECT_EQ(Indexed(working.entries, FailedMoves(noErrors)), Entries{top});
}

TEST(NotifyFolderSelection, AShorterPrefixReplacesOnlyTheEarliestItCovers) {
    Working working;
    LocalMoveData* failedOne = working.Add(L"o1", L"C:\\r\\A\\x");
    working.Add(L"o2", L"C:\\r\\A\\y");
    LocalMoveData* later = working.Add(L"o3", L"C:\\r\\A\\z");
    LocalMoveData* folder = working.Add(L"o4", L"C:\\R\\a");
    working.Add(L"o5", L"C:\\r\\AB");  // covered by C:\r\A as plain text, not as a path
    Lst<MoveErrorEntry*> errors;
    errors.Append(new MoveErrorEntry(L"O1", L"c:\\R\\a\\X", E_FAIL, L""));
    const FailedMoves failed(errors);
    EXPECT_EQ(Indexed(working.entries, failed), (Entries{later, folder, failedOne}));
    errors.DeleteAll();
}

TEST(NotifyFolderSelection, MatchesTheLiteralRuleOnRandomLists) {
    std::mt19937 random(1234);
    const wchar_t* names[] = {L"a", L"A", L"ab", L"aB", L"b", L"abc"};
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 400; ++round) {
        Working working;
        Lst<MoveErrorEntry*> errors;
        const int count = 1 + pick(40);
        for (int i = 0; i < count; ++i) {
            std::wstring path = L"C:\\r";
            for (int depth = pick(5); depth >= 0; --depth) path += std::wstring(L"\\") + names[pick(6)];
            const std::wstring oldPath = L"C:\\old" + std::to_wstring(pick(4));
            working.Add(oldPath, path);
            // Some fail; the error may name them in another case.
            if (pick(6) == 0) errors.Append(new MoveErrorEntry(pick(2) ? Upper(oldPath) : oldPath, path, E_FAIL, L""));
        }
        const FailedMoves failed(errors);
        ASSERT_EQ(Indexed(working.entries, failed), LiteralSelection(working.entries, failed)) << "round " << round;
        errors.DeleteAll();
    }
}

}  // namespace
