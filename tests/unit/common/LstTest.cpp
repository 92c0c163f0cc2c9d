#include "GhMove.h"
#include "common/ComPtr.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The values from the head, the same reversed from the tail, and the count agreeing.
void ExpectHolds(const Lst<int>& list, const std::vector<int>& values) {
    std::vector<int> forward, backward;
    for (auto* n = list.head; n; n = n->next) forward.push_back(n->value);
    for (auto* n = list.tail; n; n = n->prev) backward.insert(backward.begin(), n->value);
    EXPECT_EQ(forward, values);
    EXPECT_EQ(backward, values);
    EXPECT_EQ(list.count, static_cast<int>(values.size()));
}

TEST(Lst, KeepsLinksHeadTailAndCountThroughEveryChange) {
    Lst<int> list;
    auto* two = list.Append(2);
    list.Append(3);
    list.InsertBefore(two, 1);  // before the head: becomes the head
    auto* four = list.Append(4);
    list.InsertBefore(four, 35);
    ExpectHolds(list, {1, 2, 3, 35, 4});
    list.Remove(list.head);
    list.Remove(list.tail);
    ExpectHolds(list, {2, 3, 35});
    list.Clear();
    ExpectHolds(list, {});
}

// What a host's list holds is what its nodes reach from the head: a count or a tail that says otherwise changes neither
// emptiness nor what is freed.
TEST(Lst, ItsNodesAloneSayWhatItHoldsWhateverItsCountAndTailSay) {
    Lst<int> list;
    list.Append(1);
    list.Append(2);
    list.count = 0;
    list.tail = nullptr;
    EXPECT_FALSE(list.Empty());
    list.Clear();
    ExpectHolds(list, {});

    list.count = 3;  // no node at all
    EXPECT_TRUE(list.Empty());
    Lst<std::string*> owned;
    owned.Append(new std::string(40, 'x'));
    owned.Append(nullptr);
    owned.count = -1;
    owned.DeleteAll();  // the string is deleted, the null passed over
    EXPECT_TRUE(owned.head == nullptr && owned.tail == nullptr && owned.count == 0);
}

TEST(Lst, NodesComeFromTheComTaskAllocator) {
    Lst<int> list;
    auto* node = list.Append(7);
    // The task allocator knows its own blocks, and no others.
    ComPtr<IMalloc> allocator;
    ASSERT_EQ(CoGetMalloc(1, allocator.Put()), S_OK);
    EXPECT_EQ(allocator->DidAlloc(node), 1);
    const auto elsewhere = std::make_unique<Lst<int>::Node>();
    EXPECT_NE(allocator->DidAlloc(elsewhere.get()), 1);
}

}  // namespace
