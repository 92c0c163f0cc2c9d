#include "localview/NotifyFolderSelection.h"

#include "common/StringUtil.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

// Comparing every entry with the whole selection would be quadratic: a folder
// move leaves most files of the tree selected. Here each entry costs a
// logarithmic search plus a walk along its chain of prefix keys, and the
// selection and its order are the same as that comparison gives.
//
// All new paths are lower-cased (the comparison ignores case character by
// character); the distinct ones (a path stands in the list once for every
// folder above it) are sorted and ranked once. The keys that start with a key K then
// stand in one run of ranks from K on, so
//  - the selected entries that an entry's path is a shorter prefix of are the
//    selected ones in the run after its own rank, of which the earliest
//    selected counts: a tree of minimum selection times answers that;
//  - the selected entries whose path is a prefix of the entry's (its own key
//    included) lie on the chain of keys that are prefixes of its key.

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The distinct keys in sorted order, with for each one the end of its run
// and the longest other key that is a prefix of it. A key is named by the
// order in which it was first added; ranks are its place in sorted order.
class PrefixIndex {
public:
    explicit PrefixIndex(size_t expected) { ids_.reserve(expected); }

    // The key's id; one id for every copy of the same key.
    size_t Add(std::wstring key) {
        const auto [found, added] = ids_.try_emplace(std::move(key), byId_.size());
        if (added) byId_.push_back(&found->first);
        return found->second;
    }

    // Called once, after the last Add.
    void Rank() {
        std::vector<size_t> sorted(byId_.size());
        for (size_t id = 0; id < sorted.size(); ++id) sorted[id] = id;
        std::sort(sorted.begin(), sorted.end(), [this](size_t a, size_t b) { return *byId_[a] < *byId_[b]; });
        rankOf_.resize(sorted.size());
        for (size_t rank = 0; rank < sorted.size(); ++rank) rankOf_[sorted[rank]] = rank;

        runEnd_.assign(sorted.size(), sorted.size());
        parent_.assign(sorted.size(), kNone);
        std::vector<size_t> chain;  // the keys that are prefixes of the current one
        for (size_t rank = 0; rank < sorted.size(); ++rank) {
            const std::wstring& key = *byId_[sorted[rank]];
            while (!chain.empty() && !StartsWith(key, *byId_[sorted[chain.back()]])) {
                runEnd_[chain.back()] = rank;
                chain.pop_back();
            }
            if (!chain.empty()) parent_[rank] = chain.back();
            chain.push_back(rank);
        }
    }

    size_t Size() const { return byId_.size(); }
    size_t RankOf(size_t id) const { return rankOf_[id]; }
    size_t RunEnd(size_t rank) const { return runEnd_[rank]; }
    size_t Parent(size_t rank) const { return parent_[rank]; }

private:
    std::unordered_map<std::wstring, size_t> ids_;
    std::vector<const std::wstring*> byId_;  // into ids_, whose keys stay in place
    std::vector<size_t> rankOf_;
    std::vector<size_t> runEnd_;
    std::vector<size_t> parent_;
};

// The earliest selection time at each rank, and over a range of ranks.
class EarliestTree {
public:
    explicit EarliestTree(size_t ranks) {
        while (leaves_ < ranks) leaves_ *= 2;
        times_.assign(2 * leaves_, kNone);
    }

    void Set(size_t rank, size_t time) {
        size_t node = rank + leaves_;
        times_[node] = time;
        for (node /= 2; node > 0; node /= 2) times_[node] = std::min(times_[2 * node], times_[2 * node + 1]);
    }

    // Over the ranks [first, end); kNone when nothing there is selected.
    size_t Earliest(size_t first, size_t end) const {
        size_t earliest = kNone;
        for (size_t low = first + leaves_, high = end + leaves_; low < high; low /= 2, high /= 2) {
            if (low & 1) earliest = std::min(earliest, times_[low++]);
            if (high & 1) earliest = std::min(earliest, times_[--high]);
        }
        return earliest;
    }

private:
    size_t leaves_ = 1;
    std::vector<size_t> times_;
};

// The entries selected so far, by the time they were appended.
class Selection {
public:
    explicit Selection(size_t ranks) : atRank_(ranks), earliest_(ranks) {}

    void Append(LocalMoveData* entry, size_t rank) {
        const size_t time = entries_.size();
        entries_.push_back({entry, rank, false});
        RankQueue& queue = atRank_[rank];
        if (queue.Empty()) earliest_.Set(rank, time);
        queue.times.push_back(time);
    }

    // The earliest selected entry of a run of ranks, which is the earliest of
    // its own rank too.
    size_t EarliestIn(size_t first, size_t end) const { return earliest_.Earliest(first, end); }
    void Remove(size_t time) {
        Selected& selected = entries_[time];
        selected.removed = true;
        RankQueue& queue = atRank_[selected.rank];
        ++queue.head;
        earliest_.Set(selected.rank, queue.Empty() ? kNone : queue.times[queue.head]);
    }

    bool HasRank(size_t rank) const { return !atRank_[rank].Empty(); }

    void AppendTo(Lst<LocalMoveData*>& list) const {
        for (const Selected& selected : entries_) {
            if (!selected.removed) list.Append(selected.entry);
        }
    }

private:
    struct Selected {
        LocalMoveData* entry;
        size_t rank;
        bool removed;
    };
    // Selection times of one key, earliest first; removals take the earliest.
    struct RankQueue {
        std::vector<size_t> times;
        size_t head = 0;
        bool Empty() const { return head == times.size(); }
    };

    std::vector<Selected> entries_;
    std::vector<RankQueue> atRank_;
    EarliestTree earliest_;
};

}  // namespace

void SelectNotifyFolders(const Lst<LocalMoveData*>& working, const FailedMoves& failed,
                         Lst<LocalMoveData*>& selection) {
    std::vector<LocalMoveData*> walked;
    std::vector<LocalMoveData*> setAside;
    std::vector<size_t> keyIds;
    PrefixIndex index(static_cast<size_t>(working.count));
    for (LocalMoveData* entry : working) {
        if (failed.Contains(*entry)) {
            setAside.push_back(entry);
            continue;
        }
        walked.push_back(entry);
        keyIds.push_back(index.Add(LowerCase(entry->newPath)));
    }
    index.Rank();

    Selection selected(index.Size());
    for (size_t i = 0; i < walked.size(); ++i) {
        const size_t rank = index.RankOf(keyIds[i]);
        const size_t longer = selected.EarliestIn(rank + 1, index.RunEnd(rank));
        if (longer != kNone) {
            selected.Remove(longer);
            selected.Append(walked[i], rank);
            continue;
        }
        bool covered = false;
        for (size_t prefix = rank; prefix != kNone && !covered; prefix = index.Parent(prefix)) {
            covered = selected.HasRank(prefix);
        }
        if (!covered) selected.Append(walked[i], rank);
    }

    selected.AppendTo(selection);
    for (LocalMoveData* entry : setAside) selection.Append(entry);
}
