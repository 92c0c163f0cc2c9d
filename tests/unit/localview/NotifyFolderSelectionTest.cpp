// The notice selection against the rule applied literally (every entry
// compared with the whole selection), which the indexed one must match in
// content and order.
#include "localview/NotifyFolderSelection.h"

#include "RecordingHost.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <cwctype>
#include <deque>
#include <random>

namespace {

using Entries = std::vector<LocalMoveData*>;

Entries LiteralSelection(const Entries& working, const FailedMoves& failed) {
    Entries selected, setAside;
    for (LocalMoveData* entry : working) {
        if (failed.Contains(*entry)) {
            setAside.push_back(entry);
            continue;
        }
        const std::wstring& path = entry->newPath;
        bool covered = false, replaced = false;
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

TEST(NotifyFolderSelection, MatchesTheLiteralRuleOnRandomLists) {
    std::mt19937 random(1234);
    const wchar_t* names[] = {L"a", L"A", L"ab", L"aB", L"b", L"abc"};
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 400; ++round) {
        std::deque<LocalMoveData> owned;
        Lst<LocalMoveData*> working, selection;
        Lst<MoveErrorEntry*> errors;
        for (int i = 1 + pick(40); i > 0; --i) {
            std::wstring path = L"C:\\r";
            for (int depth = pick(5); depth >= 0; --depth) path += std::wstring(L"\\") + names[pick(6)];
            std::wstring oldPath = L"C:\\old" + std::to_wstring(pick(4));
            owned.push_back({nullptr, oldPath, path, true});
            working.Append(&owned.back());
            // Some fail; the error may name them in another case.
            if (pick(6) != 0) continue;
            if (pick(2)) {
                for (wchar_t& c : oldPath) c = static_cast<wchar_t>(towupper(c));
            }
            errors.Append(new MoveErrorEntry(oldPath, path, E_FAIL, L""));
        }
        const FailedMoves failed(errors);
        SelectNotifyFolders(working, failed, selection);
        ASSERT_EQ(Elements(selection), LiteralSelection(Elements(working), failed)) << "round " << round;
        errors.DeleteAll();
    }
}

}  // namespace
