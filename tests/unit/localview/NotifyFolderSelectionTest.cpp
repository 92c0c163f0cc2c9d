// Which moved folders the shell hears of, against a plain comparison with the whole selection so far.
#include "localview/NotifyFolderSelection.h"

#include "RecordingHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <deque>
#include <random>
#include <set>

namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

bool IsPrefix(const std::wstring& prefix, const std::wstring& text) {
    return Lower(text).compare(0, prefix.size(), Lower(prefix)) == 0;
}

// The selection by comparing each entry with the whole selection so far; an entry failed when an error names its paths,
// ignoring case.
std::vector<LocalMoveData*> PlainSelection(std::deque<LocalMoveData>& entries,
                                           const std::set<std::wstring>& failedPaths) {
    std::vector<LocalMoveData*> kept, failed;
    for (LocalMoveData& owned : entries) {
        LocalMoveData* entry = &owned;
        if (failedPaths.count(Lower(entry->newPath))) {
            failed.push_back(entry);
            continue;
        }
        const auto longer = std::find_if(kept.begin(), kept.end(), [&](LocalMoveData* k) {
            return k->newPath.size() > entry->newPath.size() && IsPrefix(entry->newPath, k->newPath);
        });
        if (longer != kept.end()) {
            kept.erase(longer);
            kept.push_back(entry);
        } else if (std::none_of(kept.begin(), kept.end(),
                                [&](LocalMoveData* k) { return IsPrefix(k->newPath, entry->newPath); })) {
            kept.push_back(entry);
        }
    }
    kept.insert(kept.end(), failed.begin(), failed.end());
    return kept;
}

class Moves {
public:
    void Add(const std::wstring& path, bool failed = false) {
        owned_.push_back({nullptr, L"C:\\old", path, true});
        working_.Append(&owned_.back());
        if (!failed) return;
        errors_.push_back(MoveErrorEntry(L"C:\\OLD", Lower(path), E_FAIL, L""));
        failedPaths_.insert(Lower(path));
    }
    std::vector<LocalMoveData*> Selected() {
        Lst<MoveErrorEntry*> errors;
        for (MoveErrorEntry& error : errors_) errors.Append(&error);
        Lst<LocalMoveData*> selection;
        SelectNotifyFolders(working_, FailedMoves(errors), selection);
        return Elements(selection);
    }
    LocalMoveData* At(size_t i) { return &owned_[i]; }
    std::vector<LocalMoveData*> Plain() { return PlainSelection(owned_, failedPaths_); }

private:
    std::deque<LocalMoveData> owned_;
    std::deque<MoveErrorEntry> errors_;
    Lst<LocalMoveData*> working_;
    std::set<std::wstring> failedPaths_;
};

TEST(NotifyFolderSelection, TheTopMostPlacesInOrderThenTheFailedOnes) {
    Moves moves;
    for (const wchar_t* path : {L"C:\\r\\ab\\x", L"C:\\r\\ab\\y", L"C:\\r\\AB", L"C:\\r\\abc", L"C:\\r\\ab\\y"}) {
        moves.Add(path);
    }
    moves.Add(L"C:\\r\\b", true);
    moves.Add(L"C:\\r\\b\\z");
    EXPECT_EQ(moves.Selected(), (std::vector<LocalMoveData*>{moves.At(1), moves.At(2), moves.At(6), moves.At(5)}));
    EXPECT_EQ(moves.Selected(), moves.Plain());
}

// Short paths of few letters, so that prefixes, copies and case differences meet often.
TEST(NotifyFolderSelection, RandomListsSelectAsTheComparisonWithTheWholeSelection) {
    const wchar_t letters[] = L"aAb\\";
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::mt19937 random(seed);
        Moves moves;
        const int count = std::uniform_int_distribution<int>(0, 24)(random);
        for (int i = 0; i < count; ++i) {
            std::wstring path = L"C:\\";
            for (int n = std::uniform_int_distribution<int>(0, 5)(random); n > 0; --n) path += letters[random() % 4];
            moves.Add(path, random() % 8 == 0);
        }
        ASSERT_EQ(moves.Selected(), moves.Plain()) << "seed " << seed;
    }
}

}  // namespace
